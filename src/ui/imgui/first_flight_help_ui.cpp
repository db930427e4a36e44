#include "ui/imgui/first_flight_help_ui.h"

#include <imgui.h>

#include "ui/imgui/dialog_style.h"

namespace veltrane::ui {

void DrawFirstFlightHelp(const std::vector<std::string>& lines, float top) {
  if (lines.empty()) return;
  const ImGuiIO& io = ImGui::GetIO();
  ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x * 0.5f, top + (io.DisplaySize.y - top) * 0.5f),
                          ImGuiCond_Always, ImVec2(0.5f, 0.5f));
  ImGui::SetNextWindowBgAlpha(0.65f);
  const ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_AlwaysAutoResize |
                                 ImGuiWindowFlags_NoInputs | ImGuiWindowFlags_NoSavedSettings |
                                 ImGuiWindowFlags_NoFocusOnAppearing | ImGuiWindowFlags_NoNav;
  if (ImGui::Begin("##first_flight", nullptr, flags)) {
    ImGui::PushTextWrapPos(io.DisplaySize.x * 0.8f);
    ImGui::TextColored(ImVec4(1.0f, 0.85f, 0.4f, 1.0f), "%s", lines[0].c_str());
    MapLastItem("first_flight_help", lines[0]);
    ImGui::Separator();
    for (std::size_t i = 1; i < lines.size(); ++i) ImGui::TextUnformatted(lines[i].c_str());
    ImGui::PopTextWrapPos();
  }
  ImGui::End();
}

}  // namespace veltrane::ui
