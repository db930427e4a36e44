// The list of recorded flights, for the replay and for the ghost.
#include <imgui.h>

#include "ui/imgui/dialog_style.h"
#include "ui/imgui/main_window_ui.h"

namespace veltrane::ui {

void MainWindowUi::OpenFlightList(FlightListDialog::Purpose purpose) {
  // The flight being flown is the one most often replayed, but it cannot be its own ghost.
  flightList_.Open(form_.FlightsFolder(), purpose,
                   purpose == FlightListDialog::Purpose::Ghost ? form_.RecordingPath() : std::string());
  Open(purpose == FlightListDialog::Purpose::Ghost ? "ghost" : "replay");
}

void MainWindowUi::DrawFlightList() {
  const char* s = "FlightForm";
  const bool ghost = flightList_.purpose == FlightListDialog::Purpose::Ghost;
  const std::string title = T(s, ghost ? "GhostCaption" : "Caption") + "###flights";
  if (!BeginDialog(title.c_str(), popupOpened_)) return;
  bool chosen = false;
  if (flightList_.flights.empty()) {
    ImGui::TextUnformatted(T(s, "Empty").c_str());
  } else {
    ImGui::TextUnformatted(T(s, "Label1.Caption").c_str());
    const ImGuiTableFlags flags = ImGuiTableFlags_Borders | ImGuiTableFlags_RowBg | ImGuiTableFlags_ScrollY;
    if (ImGui::BeginTable("##flights", 4, flags, ImVec2(560, 260))) {
      ImGui::TableSetupScrollFreeze(0, 1);
      for (const char* column : {"Column1", "Column2", "Column3", "Column4"})
        ImGui::TableSetupColumn(T(s, column).c_str());
      ImGui::TableHeadersRow();
      for (std::size_t i = 0; i < flightList_.flights.size(); ++i) {
        const std::vector<std::string> row = flightList_.Row(i);
        ImGui::TableNextRow();
        for (std::size_t c = 0; c < row.size(); ++c) {
          ImGui::TableSetColumnIndex(static_cast<int>(c));
          if (c == 0) {
            // The first cell's selectable spans the row, so a click anywhere picks it.
            const std::string id = row[0] + "##flight" + std::to_string(i);
            if (ImGui::Selectable(id.c_str(), flightList_.selected == static_cast<int>(i),
                                  ImGuiSelectableFlags_SpanAllColumns | ImGuiSelectableFlags_AllowDoubleClick)) {
              flightList_.selected = static_cast<int>(i);
              chosen = ImGui::IsMouseDoubleClicked(0);
            }
          } else {
            ImGui::TextUnformatted(row[c].c_str());
          }
        }
      }
      ImGui::EndTable();
    }
  }
  const std::string problem = flightList_.SelectedProblem();
  if (!problem.empty()) ImGui::TextWrapped("%s", problem.c_str());
  ImGui::TextUnformatted(T(s, "Keys").c_str());
  ImGui::Separator();
  const std::string path = flightList_.Button1Click();
  ImGui::BeginDisabled(path.empty());
  chosen = (DialogButton(T(s, ghost ? "Button3.Caption" : "Button1.Caption") + "##ok") || EnterPressed() || chosen) &&
           !path.empty();
  ImGui::EndDisabled();
  ImGui::SameLine();
  bool cancel = DialogButton(T(s, "Button2.Caption") + "##cancel") || (!chosen && EscapePressed());
  if (chosen || cancel) CloseDialog();
  ImGui::EndPopup();
  if (!chosen) return;
  if (ghost)
    form_.ShowGhost(path);
  else
    form_.ReplayFlight(path);
}

}  // namespace veltrane::ui
