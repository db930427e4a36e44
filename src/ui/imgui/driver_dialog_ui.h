#pragma once

#include "app/main_form.h"
#include "base/trace/trace.h"
#include "ui/imgui/dialog_ui.h"
#include "ui/simple_dialogs.h"

namespace veltrane::ui {

// "Grafikkarte auswählen": the display the 3D view is built on.
class DriverDialogUi : public DialogUi {
 public:
  DriverDialogUi(DialogHost& host, TMainForm& form, PlatformServices& services, const Trace& trace)
      : DialogUi(host), form_(form), services_(services), trace_(trace) {}
  void Draw() override;

 private:
  void Prepare() override;

  TMainForm& form_;
  PlatformServices& services_;
  const Trace& trace_;
  TConfigForm driver_;
};

}  // namespace veltrane::ui
