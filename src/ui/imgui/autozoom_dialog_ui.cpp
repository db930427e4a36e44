#include "ui/imgui/autozoom_dialog_ui.h"

#include <imgui.h>

#include <cstdio>
#include <optional>

namespace veltrane::ui {

void AutozoomDialogUi::Prepare() {
  const CameraSettings& z = form_.Zooms();
  autozoom_.FormActivate({z.fNoZoom, z.fFullZoom, z.fZoomSpeed});
  std::snprintf(noZoomBuf_, sizeof noZoomBuf_, "%s", autozoom_.noZoomText.c_str());
  std::snprintf(fullZoomBuf_, sizeof fullZoomBuf_, "%s", autozoom_.fullZoomText.c_str());
}

void AutozoomDialogUi::Draw() {
  bool ok = false;
  if (!Begin(T("AZoomForm", "Caption") + "###autozoom")) return;
  const std::string& noZoom = T("AZoomForm", "Label1.Caption");
  const std::string& fullZoom = T("AZoomForm", "Label3.Caption");
  const float column = LabelColumn({&noZoom, &fullZoom});
  const auto distance = [column](const std::string& label, const char* id, char* buf,
                                 std::size_t size) {
    ImGui::TextUnformatted(label.c_str());
    ImGui::SameLine(column);
    ImGui::SetNextItemWidth(80);
    // A click into a field selects its number, so typing replaces it.
    ImGui::InputText((std::string("m##") + id).c_str(), buf, size,
                     ImGuiInputTextFlags_AutoSelectAll);
    MapLastItem(id, label);
  };
  distance(noZoom, "nozoom", noZoomBuf_, sizeof noZoomBuf_);
  distance(fullZoom, "fullzoom", fullZoomBuf_, sizeof fullZoomBuf_);
  ImGui::TextUnformatted(T("AZoomForm", "Label6.Caption").c_str());
  ImGui::TextUnformatted(T("AZoomForm", "Label7.Caption").c_str());
  ImGui::SameLine();
  ImGui::SetNextItemWidth(200);
  int speed = autozoom_.speed;
  if (ImGui::SliderInt("##speed", &speed, TAZoomForm::kMinSpeed, TAZoomForm::kMaxSpeed))
    autozoom_.SetSpeed(speed);
  MapLastItem("zoom_speed", "");
  ImGui::SameLine();
  ImGui::TextUnformatted(T("AZoomForm", "Label5.Caption").c_str());
  if (OkCancel("AZoomForm", ok)) {
    std::optional<std::string> error;
    if (ok) error = Apply();
    Close();
    autozoom_.FormDeactivate();
    if (error) host_.ShowMessage(*error);
  }
  ImGui::EndPopup();
}

std::optional<std::string> AutozoomDialogUi::Apply() {
  autozoom_.noZoomText = noZoomBuf_;
  autozoom_.fullZoomText = fullZoomBuf_;
  CameraSettings& z = form_.Zooms();
  AutozoomSettings values{z.fNoZoom, z.fFullZoom, z.fZoomSpeed};
  const std::optional<std::string> error = autozoom_.Button1Click(values);
  z.fNoZoom = values.fNoZoom;
  z.fFullZoom = values.fFullZoom;
  z.fZoomSpeed = values.fZoomSpeed;
  return error;
}

}  // namespace veltrane::ui
