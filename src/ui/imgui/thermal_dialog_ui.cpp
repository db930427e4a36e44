#include "ui/imgui/thermal_dialog_ui.h"

#include <imgui.h>

#include "sim/thermals.h"

namespace veltrane::ui {

ThermalDialogUi::ThermalDialogUi(DialogHost& host, TMainForm& form, const Trace& trace)
    : DialogUi(host), form_(form), thermal_(host, [&form, &trace] {
        SimState& s = form.State();
        RandomizeThermal(s, s.ModelPosition.x, s.ModelPosition.y, trace);
        form.FlightStateChanged();
      }) {}

void ThermalDialogUi::Draw() {
  bool ok = false;
  if (!Begin(T("ThermalForm", "Caption") + "###thermal")) return;
  int strength = thermal_.strength;
  int count = thermal_.count;
  const std::string& weak = T("ThermalForm", "Label2.Caption");
  const std::string& few = T("ThermalForm", "Label5.Caption");
  const float column = LabelColumn({&weak, &few});
  ImGui::TextUnformatted(T("ThermalForm", "Label1.Caption").c_str());
  ImGui::TextUnformatted(weak.c_str());
  ImGui::SameLine(column);
  ImGui::SetNextItemWidth(240);
  if (ImGui::SliderInt("##strength", &strength, 0, TThermalForm::kMaxStrength, "%d / 10 m/s"))
    thermal_.SetStrength(strength);
  MapLastItem("##strength");
  ImGui::SameLine();
  ImGui::TextUnformatted(T("ThermalForm", "Label3.Caption").c_str());
  ImGui::TextUnformatted(T("ThermalForm", "Label4.Caption").c_str());
  ImGui::TextUnformatted(few.c_str());
  ImGui::SameLine(column);
  ImGui::SetNextItemWidth(240);
  if (ImGui::SliderInt("##count", &count, 0, TThermalForm::kMaxCount)) thermal_.SetCount(count);
  MapLastItem("##count");
  ImGui::SameLine();
  ImGui::TextUnformatted(T("ThermalForm", "Label6.Caption").c_str());
  if (OkCancel("ThermalForm", ok)) {
    if (ok) thermal_.Button1Click(form_.State().Thermals);
    Close();
    thermal_.FormDeactivate();
  }
  ImGui::EndPopup();
}

}  // namespace veltrane::ui
