#pragma once

#include <vector>

#include "app/main_form.h"
#include "ui/imgui/dialog_ui.h"
#include "ui/results_dialog.h"

namespace veltrane::ui {

// "Dauer und Landung": the working time, 3 to 15 minutes, before the task starts.
class WorkingTimeDialogUi : public DialogUi {
 public:
  WorkingTimeDialogUi(DialogHost& host, TMainForm& form) : DialogUi(host), form_(form) {}
  void Draw() override;

 private:
  void Prepare() override;

  TMainForm& form_;
  int minutes_ = 10;
};

// "Ergebnisse": the kept runs, best first per task, model and landscape.
class ResultsDialogUi : public DialogUi {
 public:
  ResultsDialogUi(DialogHost& host, TMainForm& form, char decimal)
      : DialogUi(host), form_(form), decimal_(decimal) {}
  void Draw() override;

 private:
  void Prepare() override;

  TMainForm& form_;
  char decimal_;
  std::vector<ResultRow> rows_;
};

}  // namespace veltrane::ui
