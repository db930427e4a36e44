#pragma once

#include <vector>

#include "app/main_form.h"
#include "ui/imgui/dialog_ui.h"
#include "ui/key_help.h"

namespace veltrane::ui {

// "Hilfe > Tastenbelegung": the keys in force, listed when the dialog opens.
class KeyHelpDialogUi : public DialogUi {
 public:
  KeyHelpDialogUi(DialogHost& host, TMainForm& form) : DialogUi(host), form_(form) {}
  void Draw() override;

 private:
  void Prepare() override;

  TMainForm& form_;
  std::vector<KeyHelpRow> rows_;
};

}  // namespace veltrane::ui
