#pragma once

#include "app/main_form.h"
#include "base/trace/trace.h"
#include "ui/imgui/dialog_ui.h"
#include "ui/thermal_dialog.h"

namespace veltrane::ui {

// "Thermik": strength and number of the thermals; Ok scatters them anew.
class ThermalDialogUi : public DialogUi {
 public:
  ThermalDialogUi(DialogHost& host, TMainForm& form, const Trace& trace);
  void Draw() override;

 private:
  void Prepare() override { thermal_.FormActivate(form_.State().Thermals); }

  TMainForm& form_;
  TThermalForm thermal_;
};

}  // namespace veltrane::ui
