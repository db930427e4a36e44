#include "ui/results_dialog.h"

#include <algorithm>
#include <filesystem>
#include <tuple>

namespace veltrane::ui {

namespace {

std::string Stem(const std::string& path) { return std::filesystem::path(path).stem().string(); }

std::string TaskName(const std::string& task, const tasks::TaskWords& w) {
  const std::optional<tasks::TaskKind> kind = tasks::KindFromName(task);
  return kind ? w.Name(*kind) : task;
}

std::optional<double> Lowest(const tasks::TaskResult& r) {
  const auto it = r.details.find("lowest");
  if (it == r.details.end() || !it->is_number()) return std::nullopt;
  return it->get<double>();
}

}  // namespace

std::vector<ResultRow> ResultRows(const std::vector<tasks::TaskResult>& results,
                                  const tasks::TaskWords& words, char decimal) {
  std::vector<tasks::TaskResult> sorted = results;
  const auto group = [](const tasks::TaskResult& r) {
    return std::make_tuple(r.task, Stem(r.model), r.model, Stem(r.landscape), r.landscape);
  };
  std::stable_sort(sorted.begin(), sorted.end(),
                   [&](const tasks::TaskResult& a, const tasks::TaskResult& b) {
                     if (group(a) != group(b)) return group(a) < group(b);
                     return tasks::RanksAbove(a, b);
                   });
  std::vector<ResultRow> rows;
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    const tasks::TaskResult& r = sorted[i];
    const bool first = i == 0 || group(sorted[i - 1]) != group(r);
    rows.push_back({TaskName(r.task, words), Stem(r.model), Stem(r.landscape), r.date,
                    tasks::ScoreText(r.task, r.score, Lowest(r), words, decimal),
                    first ? 1 : rows.back().rank + 1});
  }
  return rows;
}

}  // namespace veltrane::ui
