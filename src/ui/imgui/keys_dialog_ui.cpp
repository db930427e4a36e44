#include "ui/imgui/keys_dialog_ui.h"

#include <imgui.h>

#include <algorithm>
#include <string>
#include <vector>

namespace veltrane::ui {

void KeysDialogUi::Draw() {
  bool ok = false;
  if (!Begin(T("KeyForm", "Caption") + "###keys")) return;
  const bool waiting = keys_.Waiting();
  keys_.TimerTick();
  ImGui::TextUnformatted(T("KeyForm", "GroupBox4.Caption").c_str());
  // Two columns of slot buttons, each as wide as the longest caption, a key name beside each.
  std::vector<std::string> captions;
  float buttonW = 180;
  for (int i = 0; i < kKeySlots; ++i) {
    captions.push_back(
        host_.Texts().Text("KeyForm", "SpeedButton" + std::to_string(i + 1) + ".Caption"));
    buttonW = std::max(buttonW, ImGui::CalcTextSize(captions.back().c_str()).x + 12);
  }
  const float left = ImGui::GetCursorPosX();
  for (int i = 0; i < kKeySlots; ++i) {
    const float x = left + (i % 2 == 0 ? 0 : buttonW + 150);
    if (i % 2 == 1) ImGui::SameLine(x);
    const std::string button = captions[static_cast<std::size_t>(i)] + "##slot" + std::to_string(i);
    if (ImGui::Button(button.c_str(), ImVec2(buttonW, 0))) keys_.SlotClick(i);
    MapLastItem(button);
    ImGui::SameLine(x + buttonW + 10);
    ImGui::TextUnformatted(keys_.Label(i).c_str());
    MapLastItem("key" + std::to_string(i), keys_.Label(i));
  }
  // A slot waiting for its key takes Enter and Esc too.
  if (OkCancel("KeyForm", ok, !waiting)) {
    keys_.GroupExit();
    if (ok)
      keys_.Ok();
    else
      keys_.Cancel();
    Close();
    keys_.FormDeactivate();
  }
  ImGui::EndPopup();
}

}  // namespace veltrane::ui
