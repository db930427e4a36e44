#include "ui/results_dialog.h"

#include <gtest/gtest.h>

namespace veltrane::ui {
namespace {

tasks::TaskResult Kept(std::string task, std::string model, std::optional<double> score,
                       std::string date, nlohmann::json details = nlohmann::json::object()) {
  tasks::TaskResult r;
  r.task = std::move(task);
  r.model = "/data/Model/" + model + ".par";
  r.landscape = "/data/Landscape/ridge.scn";
  r.score = score;
  r.date = std::move(date);
  r.details = std::move(details);
  return r;
}

TEST(ResultRows, GroupedByTaskModelAndLandscapeBestFirst) {
  const std::vector<tasks::TaskResult> kept = {
      Kept("limbo", "foam", 3.0, "2026-12-01T10:00:00Z", {{"lowest", 5.0}}),
      Kept("f3f", "racer", 52.5, "2026-12-01T10:00:00Z"),
      Kept("f3f", "racer", std::nullopt, "2026-12-02T10:00:00Z"),
      Kept("f3f", "racer", 48.25, "2026-12-03T10:00:00Z"),
      Kept("f3f", "foam", 70.0, "2026-12-03T11:00:00Z"),
      Kept("duration", "foam", 650.0, "2026-12-04T10:00:00Z"),
  };
  const tasks::TaskWords w;
  struct Expected {
    const char *task, *model, *score;
    int rank;
  };
  const Expected expected[] = {
      {"Dauer und Landung", "foam", "650 P.", 1},
      {"Hangrennen", "foam", "70,00 s", 1},
      {"Hangrennen", "racer", "48,25 s", 1},  // the shorter race first
      {"Hangrennen", "racer", "52,50 s", 2},
      {"Hangrennen", "racer", "-", 3},  // a run without a score last
      {"Limbo", "foam", "3 / 5,0 m", 1},
  };
  const std::vector<ResultRow> rows = ResultRows(kept, w, ',');
  ASSERT_EQ(rows.size(), std::size(expected));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].task, expected[i].task) << i;
    EXPECT_EQ(rows[i].model, expected[i].model) << i;
    EXPECT_EQ(rows[i].landscape, "ridge") << i;
    EXPECT_EQ(rows[i].score, expected[i].score) << i;
    EXPECT_EQ(rows[i].rank, expected[i].rank) << i;
  }
}

}  // namespace
}  // namespace veltrane::ui
