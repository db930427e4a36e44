#include "ui/imgui/sound_dialog_ui.h"

#include <imgui.h>

namespace veltrane::ui {

void SoundDialogUi::Prepare() {
  sound_.FormActivate(soundHook_ ? soundHook_->SoundEin() : true, soundHook_ ? soundHook_->SoundVolume() : 70);
}

void SoundDialogUi::Draw() {
  bool ok = false;
  if (!Begin(T("SoundForm", "Caption") + "###sound")) return;
  ImGui::TextUnformatted(T("SoundForm", "GroupBox1.Caption").c_str());
  ImGui::Checkbox((T("SoundForm", "CheckBox1.Caption") + "##on").c_str(), &sound_.checkBox);
  MapLastItem("sound_on", T("SoundForm", "CheckBox1.Caption"));
  ImGui::TextUnformatted(T("SoundForm", "GroupBox2.Caption").c_str());
  ImGui::TextUnformatted(T("SoundForm", "Label1.Caption").c_str());
  ImGui::SameLine();
  int volume = sound_.volume;
  ImGui::SetNextItemWidth(200);
  if (ImGui::SliderInt("##volume", &volume, 0, 100)) sound_.SetVolume(volume);
  MapLastItem("##volume");
  ImGui::SameLine();
  ImGui::TextUnformatted(T("SoundForm", "Label2.Caption").c_str());
  if (OkCancel("SoundForm", ok)) {
    if (ok && apply_) apply_(sound_.checkBox, sound_.volume);
    Close();
    sound_.FormDeactivate();
  }
  ImGui::EndPopup();
}

}  // namespace veltrane::ui
