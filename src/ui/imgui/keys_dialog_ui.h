#pragma once

#include "app/main_form.h"
#include "ui/imgui/dialog_ui.h"
#include "ui/key_dialog.h"

namespace veltrane::ui {

// "Tastatur": the keys of the control functions, each slot waiting for its key when clicked.
class KeysDialogUi : public DialogUi {
 public:
  KeysDialogUi(DialogHost& host, TMainForm& form, const KeyState& keyState)
      : DialogUi(host), keys_(form.KeyForm(), host, keyState) {}
  void Draw() override;

 private:
  void Prepare() override { keys_.FormActivate(); }

  KeyDialog keys_;
};

}  // namespace veltrane::ui
