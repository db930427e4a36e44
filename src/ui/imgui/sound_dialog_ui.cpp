#include "ui/imgui/sound_dialog_ui.h"

#include <imgui.h>

#include <string>

namespace veltrane::ui {

void SoundDialogUi::Prepare() {
  sound_.FormActivate(soundHook_ ? soundHook_->SoundEin() : true,
                      soundHook_ ? soundHook_->SoundVolume() : 70,
                      soundHook_ ? soundHook_->VarioVolume() : 70);
}

namespace {
// "Leise [----] Laut" under its heading; true when the slider moved.
bool VolumeSlider(const std::string& heading, const std::string& quiet, const std::string& loud,
                  const char* id, int& value) {
  ImGui::TextUnformatted(heading.c_str());
  ImGui::TextUnformatted(quiet.c_str());
  ImGui::SameLine();
  ImGui::SetNextItemWidth(200);
  const bool moved = ImGui::SliderInt(id, &value, 0, 100);
  MapLastItem(id);
  ImGui::SameLine();
  ImGui::TextUnformatted(loud.c_str());
  return moved;
}
}  // namespace

void SoundDialogUi::Draw() {
  bool ok = false;
  if (!Begin(T("SoundForm", "Caption") + "###sound")) return;
  ImGui::TextUnformatted(T("SoundForm", "GroupBox1.Caption").c_str());
  ImGui::Checkbox((T("SoundForm", "CheckBox1.Caption") + "##on").c_str(), &sound_.checkBox);
  MapLastItem("sound_on", T("SoundForm", "CheckBox1.Caption"));
  const std::string quiet = T("SoundForm", "Label1.Caption"),
                    loud = T("SoundForm", "Label2.Caption");
  int volume = sound_.volume;
  if (VolumeSlider(T("SoundForm", "GroupBox2.Caption"), quiet, loud, "##volume", volume))
    sound_.SetVolume(volume);
  int vario = sound_.varioVolume;
  if (VolumeSlider(T("SoundForm", "GroupBox3.Caption"), quiet, loud, "##vario_volume", vario))
    sound_.SetVarioVolume(vario);
  if (OkCancel("SoundForm", ok)) {
    if (ok && soundHook_) soundHook_->SetVarioVolume(sound_.varioVolume);
    if (ok && apply_) apply_(sound_.checkBox, sound_.volume);
    Close();
    sound_.FormDeactivate();
  }
  ImGui::EndPopup();
}

}  // namespace veltrane::ui
