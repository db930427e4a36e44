#pragma once

#include <string>
#include <vector>

#include "app/tasks/results_store.h"
#include "app/tasks/task_overlay.h"

namespace veltrane::ui {

// One line of the results list, as shown.
struct ResultRow {
  std::string task, model, landscape, date, score;
  int rank = 0;  // 1 for the best of its task, model and landscape
};

// "Ergebnisse": every kept run, grouped by task, model and landscape (the
// groups by name), best first in each group.
std::vector<ResultRow> ResultRows(const std::vector<tasks::TaskResult>& results,
                                  const tasks::TaskWords& words, char decimal);

}  // namespace veltrane::ui
