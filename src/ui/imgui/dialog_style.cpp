#include "ui/imgui/dialog_style.h"

#include <imgui.h>

namespace veltrane::ui {
namespace {

bool KeyPressed(ImGuiKey key) { return ImGui::IsKeyPressed(ImGui::GetKeyIndex(key), false); }

}  // namespace

bool BeginDialog(const char* title, bool& opened) {
  if (!opened) {
    ImGui::OpenPopup(title);
    opened = true;
  }
  const ImGuiViewport* vp = ImGui::GetMainViewport();
  ImGui::SetNextWindowPos(ImVec2(vp->Pos.x + vp->Size.x * 0.5f, vp->Pos.y + vp->Size.y * 0.5f),
                          ImGuiCond_Appearing, ImVec2(0.5f, 0.5f));
  return ImGui::BeginPopupModal(title, nullptr,
                                ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoSavedSettings);
}

bool EscapePressed() { return KeyPressed(ImGuiKey_Escape); }
bool EnterPressed() { return KeyPressed(ImGuiKey_Enter) || KeyPressed(ImGuiKey_KeyPadEnter); }

}  // namespace veltrane::ui
