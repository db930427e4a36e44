#include "ui/imgui/wind_dialog_ui.h"

#include <imgui.h>

namespace veltrane::ui {
namespace {

// A slider with the same value as a number beside it, for typing it exactly.
bool SliderWithNumber(const char* id, double& value, double max, const char* sliderFormat,
                      const char* numberFormat, const char* unit) {
  float f = static_cast<float>(value);
  ImGui::SetNextItemWidth(240);
  const std::string slider = std::string("##slider") + id;
  bool changed = false;
  if (ImGui::SliderFloat(slider.c_str(), &f, 0.0f, static_cast<float>(max), sliderFormat,
                         ImGuiSliderFlags_AlwaysClamp)) {
    value = f;
    changed = true;
  }
  MapLastItem(std::string(id) + "_slider", unit);
  ImGui::SameLine();
  ImGui::SetNextItemWidth(70);
  const std::string number = std::string(unit) + "##number" + id;
  changed |= ImGui::InputDouble(number.c_str(), &value, 0.0, 0.0, numberFormat,
                                ImGuiInputTextFlags_AutoSelectAll);
  MapLastItem(id, unit);
  return changed;
}

}  // namespace

void WindDialogUi::Draw() {
  const char* s = "WindForm";
  if (!Begin(T(s, "Caption") + "###wind")) return;
  double speed = wind_.speed;
  double direction = wind_.direction;
  ImGui::TextUnformatted(T(s, "Label1.Caption").c_str());
  if (SliderWithNumber("speed", speed, TWindForm::kMaxSpeed, "%.1f m/s", "%.1f", "m/s"))
    wind_.SetSpeed(speed);
  ImGui::TextUnformatted(T(s, "Label2.Caption").c_str());
  if (SliderWithNumber("direction", direction, TWindForm::kMaxDirection, "%.0f°", "%.0f", "°"))
    wind_.SetDirection(direction);
  ImGui::TextDisabled("%s", T(s, "Label3.Caption").c_str());
  const std::string& gustsLabel = T(s, "Label4.Caption");
  const std::string& turbulenceLabel = T(s, "Label5.Caption");
  const float column = LabelColumn({&gustsLabel, &turbulenceLabel});
  int gusts = wind_.gusts;
  int turbulence = wind_.turbulence;
  ImGui::TextUnformatted(gustsLabel.c_str());
  ImGui::SameLine(column);
  ImGui::SetNextItemWidth(200);
  if (ImGui::SliderInt("##gusts", &gusts, 0, TWindForm::kMaxPercent, "%d %%"))
    wind_.SetGusts(gusts);
  MapLastItem("##gusts");
  ImGui::TextUnformatted(turbulenceLabel.c_str());
  ImGui::SameLine(column);
  ImGui::SetNextItemWidth(200);
  if (ImGui::SliderInt("##turbulence", &turbulence, 0, TWindForm::kMaxPercent, "%d %%"))
    wind_.SetTurbulence(turbulence);
  MapLastItem("##turbulence");
  bool ok = false;
  if (OkCancel(s, ok)) {
    if (ok) wind_.Button1Click(form_.State().Air);
    Close();
    wind_.FormDeactivate();
  }
  ImGui::EndPopup();
}

}  // namespace veltrane::ui
