#pragma once

#include "app/main_form.h"
#include "ui/imgui/dialog_ui.h"
#include "ui/wind_dialog.h"

namespace veltrane::ui {

// "Wind": speed and direction, gusts and turbulence.
class WindDialogUi : public DialogUi {
 public:
  WindDialogUi(DialogHost& host, TMainForm& form)
      : DialogUi(host), form_(form), wind_(host, [&form] { form.FlightStateChanged(); }) {}
  void Draw() override;

 private:
  void Prepare() override { wind_.FormActivate(form_.State().Air.Settings()); }

  TMainForm& form_;
  TWindForm wind_;
};

}  // namespace veltrane::ui
