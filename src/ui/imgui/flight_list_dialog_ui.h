#pragma once

#include "app/main_form.h"
#include "ui/flight_list_dialog.h"
#include "ui/imgui/dialog_ui.h"

namespace veltrane::ui {

// The list of recorded flights, for the replay or for the ghost.
class FlightListDialogUi : public DialogUi {
 public:
  FlightListDialogUi(DialogHost& host, FlightListDialog::Purpose purpose, TMainForm& form)
      : DialogUi(host), purpose_(purpose), form_(form) {}
  void Draw() override;

 private:
  void Prepare() override;
  // The table of flights; true when a row was double-clicked.
  bool DrawTable();

  FlightListDialog::Purpose purpose_;
  TMainForm& form_;
  FlightListDialog list_;
};

}  // namespace veltrane::ui
