#include "ui/imgui/dialog_style.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>

namespace veltrane::ui {
namespace {

bool KeyPressed(ImGuiKey key) { return ImGui::IsKeyPressed(ImGui::GetKeyIndex(key), false); }

UiMap* uiMap = nullptr;

// The identifier after "##" or "###" of an ImGui label, or the whole label.
std::string LabelId(const std::string& imguiLabel) {
  const std::size_t hashes = imguiLabel.find("##");
  if (hashes == std::string::npos) return imguiLabel;
  const std::size_t id = imguiLabel.find_first_not_of('#', hashes);
  return id == std::string::npos ? "" : imguiLabel.substr(id);
}

// A window that ImGui still measures is drawn nowhere yet: its widgets have no place to click.
bool Settling() {
  const ImGuiWindow* w = ImGui::GetCurrentWindowRead();
  return w && w->Hidden;
}

}  // namespace

bool BeginDialog(const char* title, bool& opened) {
  if (!opened) {
    ImGui::OpenPopup(title);
    opened = true;
  }
  const ImGuiViewport* vp = ImGui::GetMainViewport();
  ImGui::SetNextWindowPos(ImVec2(vp->Pos.x + vp->Size.x * 0.5f, vp->Pos.y + vp->Size.y * 0.5f),
                          ImGuiCond_Appearing, ImVec2(0.5f, 0.5f));
  if (!ImGui::BeginPopupModal(title, nullptr,
                              ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoSavedSettings))
    return false;
  // The whole window under "dialog:" and its identifier; its title bar is the top row.
  if (uiMap && !Settling()) {
    const std::string t = title;
    const ImVec2 p = ImGui::GetWindowPos(), size = ImGui::GetWindowSize();
    uiMap->Add({"dialog:" + LabelId(t), t.substr(0, t.find("##")), static_cast<int>(p.x),
                static_cast<int>(p.y), static_cast<int>(size.x), static_cast<int>(size.y)});
  }
  return true;
}

bool EscapePressed() { return KeyPressed(ImGuiKey_Escape); }
bool EnterPressed() { return KeyPressed(ImGuiKey_Enter) || KeyPressed(ImGuiKey_KeyPadEnter); }

void SetUiMap(UiMap* map) { uiMap = map; }

void MapLastItem(const std::string& id, const std::string& label) {
  // Rows scrolled out of a list are not there to be clicked.
  if (!uiMap || Settling() || !ImGui::IsItemVisible()) return;
  const ImVec2 p = ImGui::GetItemRectMin(), size = ImGui::GetItemRectSize();
  uiMap->Add({id, label, static_cast<int>(p.x), static_cast<int>(p.y), static_cast<int>(size.x),
              static_cast<int>(size.y)});
}

void MapLastItem(const std::string& imguiLabel) {
  MapLastItem(LabelId(imguiLabel), imguiLabel.substr(0, imguiLabel.find("##")));
}

bool DialogButton(const std::string& caption, float minWidth) {
  const float need =
      ImGui::CalcTextSize(caption.c_str(), nullptr, true).x + ImGui::GetStyle().FramePadding.x * 2;
  const bool pressed = ImGui::Button(caption.c_str(), ImVec2(need > minWidth ? need : minWidth, 0));
  MapLastItem(caption);
  return pressed;
}

bool OkCancelButtons(const std::string& okCaption, const std::string& cancelCaption, bool& ok,
                     bool keysAllowed) {
  ImGui::Separator();
  bool done = false;
  if (DialogButton(okCaption + "##ok") || (keysAllowed && EnterPressed())) ok = done = true;
  ImGui::SameLine();
  if (DialogButton(cancelCaption + "##cancel") || (!done && keysAllowed && EscapePressed()))
    done = true;
  return done;
}

bool OkCancelButtons(const LanguageTexts& texts, const char* section, bool& ok, bool keysAllowed) {
  static const std::string kOk = "Ok", kCancel = "Abbrechen";
  return OkCancelButtons(texts.Text(section, "Button1.Caption", kOk),
                         texts.Text(section, "Button2.Caption", kCancel), ok, keysAllowed);
}

float LabelColumn(std::initializer_list<const std::string*> labels) {
  float w = 0;
  for (const std::string* l : labels) w = std::max(w, ImGui::CalcTextSize(l->c_str()).x);
  return ImGui::GetCursorPosX() + w + ImGui::GetStyle().ItemSpacing.x * 2;
}

bool CloseButton(const char* caption) {
  const bool pressed = DialogButton(std::string(caption) + "##close");
  return pressed || EnterPressed() || EscapePressed();
}

}  // namespace veltrane::ui
