#pragma once

#include "app/main_form.h"
#include "ui/imgui/dialog_ui.h"
#include "ui/imgui/picture_textures.h"
#include "ui/simple_dialogs.h"

namespace veltrane::ui {

// "Info": the credits scrolling over the picture.
class InfoDialogUi : public DialogUi {
 public:
  InfoDialogUi(DialogHost& host, TMainForm& form, PictureTextures& textures)
      : DialogUi(host), form_(form), textures_(textures), info_(host) {}
  void Draw() override;

 private:
  void Prepare() override;
  void DrawCredits();

  TMainForm& form_;
  PictureTextures& textures_;
  TInfoForm info_;
  double tickAccumulator_ = 0.0;
};

}  // namespace veltrane::ui
