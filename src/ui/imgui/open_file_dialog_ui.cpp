#include "ui/imgui/open_file_dialog_ui.h"

#include <imgui.h>

#include <algorithm>
#include <vector>

#include "app/user_folders.h"
#include "ui/file_dialog_words.h"

namespace veltrane::ui {

void OpenFileDialogUi::Prepare() {
  const FileDialogWords& words = FileDialogWordsFor(form_.iLanguage());
  if (kind_ == Kind::Model) {
    dialog_.SetPlaces({{words.shippedModels, form_.ExePath() + "Model"},
                       {words.ownModels, UserDataFolder("Model")}});
    dialog_.Open(words.loadModel, T("MainForm", "sMainForm001"), form_.sModellFilename(),
                 form_.ExePath() + "Model");
  } else {
    dialog_.SetPlaces({{words.shippedScenes, form_.ExePath() + "Landscape"},
                       {words.ownScenes, UserDataFolder("Landscape")}});
    dialog_.Open(words.loadScene, T("MainForm", "sMainForm002"), form_.sLandFileName(),
                 form_.ExePath() + "Landscape");
  }
}

bool OpenFileDialogUi::DrawFileList() {
  bool chosen = false;
  ImGui::BeginGroup();
  if (ImGui::BeginListBox("##files", ImVec2(320, 260))) {
    const FileDialogWords& words = FileDialogWordsFor(form_.iLanguage());
    int group = -1;
    for (const auto& e : dialog_.Entries()) {
      // Landscapes under a heading for each kind: the flying fields, then the slopes.
      if (kind_ == Kind::Scene && !e.isFolder && e.group != group) {
        group = e.group;
        ImGui::TextDisabled("%s", group == 0 ? words.fields : words.slopes);
      }
      const std::string label = e.isFolder ? "[" + e.name + "]" : e.name;
      const bool clicked =
          ImGui::Selectable(label.c_str(), !e.isFolder && e.name == dialog_.Selected(),
                            ImGuiSelectableFlags_AllowDoubleClick);
      MapLastItem("file:" + e.name, label);
      if (clicked) {
        if (e.isFolder) {
          if (ImGui::IsMouseDoubleClicked(0)) {
            dialog_.EnterFolder(e.name);
            break;
          }
        } else {
          dialog_.Select(e.name);
          if (ImGui::IsMouseDoubleClicked(0)) chosen = true;
        }
      }
    }
    ImGui::EndListBox();
  }
  std::vector<const char*> filterNames;
  for (const auto& f : dialog_.Filters()) filterNames.push_back(f.description.c_str());
  int filter = dialog_.FilterIndex();
  ImGui::SetNextItemWidth(320);
  if (!filterNames.empty() &&
      ImGui::Combo("##filter", &filter, filterNames.data(), static_cast<int>(filterNames.size())))
    dialog_.SetFilter(filter);
  ImGui::EndGroup();
  return chosen;
}

void OpenFileDialogUi::DrawPreviewAndPlaces() {
  ImGui::BeginGroup();
  // The preview pane: the picture scaled into the pane, centred. It leaves
  // room below for the places, so the column is no taller than the list's.
  const ImVec2 pane(240, 236);
  const ImVec2 p0 = ImGui::GetCursorScreenPos();
  ImDrawList* dl = ImGui::GetWindowDrawList();
  dl->AddRectFilled(p0, ImVec2(p0.x + pane.x, p0.y + pane.y), ImGui::GetColorU32(ImGuiCol_FrameBg));
  if (!dialog_.Preview().empty()) {
    const PictureTextures::Texture t = textures_.Get(dialog_.Preview());
    if (t.id && t.width > 0 && t.height > 0) {
      const float scale =
          std::min(pane.x / static_cast<float>(t.width), pane.y / static_cast<float>(t.height));
      const float w = static_cast<float>(t.width) * scale, h = static_cast<float>(t.height) * scale;
      const ImVec2 a(p0.x + (pane.x - w) * 0.5f, p0.y + (pane.y - h) * 0.5f);
      dl->AddImage(t.id, a, ImVec2(a.x + w, a.y + h));
    }
  }
  ImGui::Dummy(pane);
  // The shipped files and the user's own, one click apart.
  const int place = dialog_.CurrentPlace();
  for (int i = 0; i < static_cast<int>(dialog_.Places().size()); ++i) {
    const auto& p = dialog_.Places()[static_cast<std::size_t>(i)];
    if (p.folder.empty()) continue;
    if (ImGui::RadioButton(p.label.c_str(), place == i)) dialog_.GoToPlace(i);
    MapLastItem("place" + std::to_string(i), p.label);
  }
  ImGui::EndGroup();
}

void OpenFileDialogUi::Load(const std::string& path) {
  if (kind_ == Kind::Model) {
    form_.SetModelFileName(path);
    form_.LoadAirplane(path);
    form_.Initialisieren1Click();  // flight initialisation and the camera jump
  } else {
    form_.SetLandFileName(path);
    form_.LoadWorld(path);
  }
}

void OpenFileDialogUi::Draw() {
  if (!Begin(dialog_.Title() + "##open")) return;
  ImGui::TextUnformatted(dialog_.Folder().string().c_str());
  bool ok = DrawFileList();
  ImGui::SameLine();
  DrawPreviewAndPlaces();
  const FileDialogWords& words = FileDialogWordsFor(form_.iLanguage());
  ImGui::Text("%s %s", words.file, dialog_.Selected().c_str());
  MapLastItem("selected_file", dialog_.Selected());
  ImGui::Separator();
  if (DialogButton(std::string(words.open) + "##open") || EnterPressed()) ok = true;
  ImGui::SameLine();
  const bool cancel = DialogButton(std::string(words.cancel) + "##cancel") || EscapePressed();
  if (ok) {
    const std::string chosen = dialog_.Accept();
    if (!chosen.empty()) {
      Close();
      Load(chosen);
    }
  } else if (cancel) {
    dialog_.Close();
    Close();
  }
  ImGui::EndPopup();
}

}  // namespace veltrane::ui
