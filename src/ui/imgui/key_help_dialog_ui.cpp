#include "ui/imgui/key_help_dialog_ui.h"

#include <imgui.h>

#include <string>

namespace veltrane::ui {

void KeyHelpDialogUi::Prepare() {
  rows_ = KeyHelpRows(host_.Texts(), form_.KeyForm(), form_.State().iModelStyle);
}

void KeyHelpDialogUi::Draw() {
  const char* s = "HelpForm";
  if (!Begin(T(s, "Caption") + "###key_help")) return;
  const ImGuiTableFlags flags = ImGuiTableFlags_RowBg | ImGuiTableFlags_ScrollY;
  if (ImGui::BeginTable("##keys", 2, flags, ImVec2(560, 340))) {
    ImGui::TableSetupColumn("##key", ImGuiTableColumnFlags_WidthFixed, 150.0f);
    ImGui::TableSetupColumn("##action", ImGuiTableColumnFlags_WidthStretch);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      const KeyHelpRow& r = rows_[i];
      ImGui::TableNextRow();
      ImGui::TableSetColumnIndex(0);
      if (r.heading) {
        ImGui::TextDisabled("%s", r.action.c_str());
      } else {
        ImGui::TextUnformatted(r.keys.c_str());
        ImGui::TableSetColumnIndex(1);
        ImGui::TextWrapped("%s", r.action.c_str());
      }
      MapLastItem("key_help_row" + std::to_string(i), r.keys + "\t" + r.action);
    }
    ImGui::EndTable();
  }
  ImGui::Separator();
  if (CloseButton(host_.Texts().Text(s, "Button1.Caption").c_str())) Close();
  ImGui::EndPopup();
}

}  // namespace veltrane::ui
