#pragma once

#include <memory>

#include "app/main_form.h"
#include "radio/radio_form.h"
#include "ui/imgui/dialog_ui.h"
#include "ui/imgui/radio_ui.h"

namespace veltrane::ui {

// "&Analoge Steuerung...": the transmitter's dialogs, which follow one another
// by themselves (RadioUi); this one ends when the last of them closes.
class RadioDialogUi : public DialogUi {
 public:
  RadioDialogUi(DialogHost& host, TMainForm& form) : DialogUi(host), form_(form) {}
  // The transmitter interfaces; until they are handed in the dialog cannot open.
  void SetRadio(TRadioForm* radio) {
    radio_ = radio ? std::make_unique<RadioUi>(form_, *radio, host_, host_.Texts()) : nullptr;
  }
  bool CanOpen() const override { return radio_ != nullptr; }
  void Draw() override {
    if (radio_) radio_->Draw();
    if (!radio_ || !radio_->IsOpen()) host_.DialogClosed();
  }

 private:
  void Prepare() override { radio_->Open(); }

  TMainForm& form_;
  std::unique_ptr<RadioUi> radio_;
};

}  // namespace veltrane::ui
