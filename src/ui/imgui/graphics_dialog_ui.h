#pragma once

#include "app/main_form.h"
#include "ui/imgui/dialog_ui.h"
#include "ui/simple_dialogs.h"

namespace veltrane::ui {

// "Grafik Optionen": colour depth, vertical blank, flip and mipmapping; Ok
// builds the 3D view anew.
class GraphicsDialogUi : public DialogUi {
 public:
  GraphicsDialogUi(DialogHost& host, TMainForm& form) : DialogUi(host), form_(form) {}
  void Draw() override;

 private:
  void Prepare() override;

  TMainForm& form_;
  TGraphConfigForm graphics_;
};

}  // namespace veltrane::ui
