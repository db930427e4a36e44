#include "ui/imgui/message_dialog_ui.h"

#include <imgui.h>

namespace veltrane::ui {

void MessageDialogUi::Draw() {
  if (!Begin("Veltrane##message")) return;
  ImGui::TextUnformatted(text_.c_str());
  if (CloseButton()) Close();
  ImGui::EndPopup();
}

}  // namespace veltrane::ui
