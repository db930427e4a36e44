#pragma once

#include "app/main_form.h"
#include "ui/imgui/dialog_ui.h"
#include "ui/imgui/picture_textures.h"
#include "ui/open_dialog.h"

namespace veltrane::ui {

// "Modell laden" and "Landschaft laden": the file list, its preview picture and
// the shipped and the user's own folders; Ok loads the chosen file.
class OpenFileDialogUi : public DialogUi {
 public:
  enum class Kind { Model, Scene };
  OpenFileDialogUi(DialogHost& host, Kind kind, TMainForm& form, PictureTextures& textures)
      : DialogUi(host), kind_(kind), form_(form), textures_(textures) {}
  void Draw() override;

 private:
  void Prepare() override;
  // The list and the filter below it; true when a file was double-clicked.
  bool DrawFileList();
  // The preview picture and the places below it.
  void DrawPreviewAndPlaces();
  void Load(const std::string& path);

  Kind kind_;
  TMainForm& form_;
  PictureTextures& textures_;
  OpenDialog dialog_;
};

}  // namespace veltrane::ui
