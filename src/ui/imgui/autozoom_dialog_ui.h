#pragma once

#include <optional>
#include <string>

#include "app/main_form.h"
#include "ui/autozoom_dialog.h"
#include "ui/imgui/dialog_ui.h"

namespace veltrane::ui {

// "Autozoom": the distances without and with full zoom and the zoom speed.
class AutozoomDialogUi : public DialogUi {
 public:
  AutozoomDialogUi(DialogHost& host, TMainForm& form)
      : DialogUi(host), form_(form), autozoom_(host) {}
  void Draw() override;

 private:
  void Prepare() override;
  // Ok: the typed distances checked and taken; the message naming a bad one.
  std::optional<std::string> Apply();

  TMainForm& form_;
  TAZoomForm autozoom_;
  char noZoomBuf_[32] = {};
  char fullZoomBuf_[32] = {};
};

}  // namespace veltrane::ui
