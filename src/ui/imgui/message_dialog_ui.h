#pragma once

#include <string>
#include <utility>

#include "ui/imgui/dialog_ui.h"

namespace veltrane::ui {

// A message with one button, in place of the dialog that had something to say.
class MessageDialogUi : public DialogUi {
 public:
  using DialogUi::DialogUi;
  void SetText(std::string text) { text_ = std::move(text); }
  void Draw() override;

 private:
  std::string text_;
};

}  // namespace veltrane::ui
