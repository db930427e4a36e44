// The list of recorded flights, for the replay and for the ghost.
#include "ui/imgui/flight_list_dialog_ui.h"

#include <imgui.h>

#include <string>
#include <vector>

namespace veltrane::ui {

void FlightListDialogUi::Prepare() {
  // The flight being flown is the one most often replayed, but it cannot be its own ghost.
  list_.Open(form_.FlightsFolder(), purpose_,
             purpose_ == FlightListDialog::Purpose::Ghost ? form_.RecordingPath() : std::string());
}

bool FlightListDialogUi::DrawTable() {
  const char* s = "FlightForm";
  bool chosen = false;
  ImGui::TextUnformatted(T(s, "Label1.Caption").c_str());
  const ImGuiTableFlags flags =
      ImGuiTableFlags_Borders | ImGuiTableFlags_RowBg | ImGuiTableFlags_ScrollY;
  if (!ImGui::BeginTable("##flights", 4, flags, ImVec2(560, 260))) return false;
  ImGui::TableSetupScrollFreeze(0, 1);
  for (const char* column : {"Column1", "Column2", "Column3", "Column4"})
    ImGui::TableSetupColumn(T(s, column).c_str());
  ImGui::TableHeadersRow();
  for (std::size_t i = 0; i < list_.flights.size(); ++i) {
    const std::vector<std::string> row = list_.Row(i);
    ImGui::TableNextRow();
    for (std::size_t c = 0; c < row.size(); ++c) {
      ImGui::TableSetColumnIndex(static_cast<int>(c));
      if (c == 0) {
        // The first cell's selectable spans the row, so a click anywhere picks it.
        const std::string id = row[0] + "##flight" + std::to_string(i);
        if (ImGui::Selectable(
                id.c_str(), list_.selected == static_cast<int>(i),
                ImGuiSelectableFlags_SpanAllColumns | ImGuiSelectableFlags_AllowDoubleClick)) {
          list_.selected = static_cast<int>(i);
          chosen = ImGui::IsMouseDoubleClicked(0);
        }
      } else {
        ImGui::TextUnformatted(row[c].c_str());
      }
    }
  }
  ImGui::EndTable();
  return chosen;
}

void FlightListDialogUi::Draw() {
  const char* s = "FlightForm";
  const bool ghost = purpose_ == FlightListDialog::Purpose::Ghost;
  if (!Begin(T(s, ghost ? "GhostCaption" : "Caption") + "###flights")) return;
  bool chosen = false;
  if (list_.flights.empty())
    ImGui::TextUnformatted(T(s, "Empty").c_str());
  else
    chosen = DrawTable();
  const std::string problem = list_.SelectedProblem();
  if (!problem.empty()) ImGui::TextWrapped("%s", problem.c_str());
  ImGui::TextUnformatted(T(s, "Keys").c_str());
  ImGui::Separator();
  const std::string path = list_.Button1Click();
  ImGui::BeginDisabled(path.empty());
  chosen = (DialogButton(T(s, ghost ? "Button3.Caption" : "Button1.Caption") + "##ok") ||
            EnterPressed() || chosen) &&
           !path.empty();
  ImGui::EndDisabled();
  ImGui::SameLine();
  bool cancel = DialogButton(T(s, "Button2.Caption") + "##cancel") || (!chosen && EscapePressed());
  if (chosen || cancel) Close();
  ImGui::EndPopup();
  if (!chosen) return;
  if (ghost)
    form_.ShowGhost(path);
  else
    form_.ReplayFlight(path);
}

}  // namespace veltrane::ui
