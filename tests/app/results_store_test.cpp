#include "app/tasks/results_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace veltrane::tasks {
namespace {

namespace fs = std::filesystem;

TaskResult Result(const std::string& task, const std::string& model, std::optional<double> score,
                  const std::string& date, const std::string& flight = "") {
  TaskResult r;
  r.task = task;
  r.model = model;
  r.landscape = "slope.scn";
  r.windSpeed = 7.5;
  r.windFrom = 270.0;
  r.date = date;
  r.score = score;
  r.details = {{"legs", {4.5, 5.25}}};
  r.flight = flight;
  return r;
}

std::vector<fs::path> FilesIn(const fs::path& dir) {
  std::vector<fs::path> out;
  for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename());
  return out;
}

TEST(ResultsStore, KeepsRunsAcrossProgramsBestFirst) {
  test_support::TempDir dir;
  const fs::path file = dir.path() / "veltrane" / "results.json";
  const std::string kept = dir.Write("flights/second.vfl", "x");
  {
    ResultsStore a(file);
    ASSERT_TRUE(a.Add(
        Result("f3f", "glider.mdl", 61.5, "2026-01-02T10:00:00Z", dir.File("flights/gone.vfl"))));
    ASSERT_TRUE(a.Add(Result("f3f", "glider.mdl", std::nullopt, "2026-01-01T10:00:00Z")));
    ASSERT_TRUE(a.Add(Result("duration", "glider.mdl", 350, "2026-01-01T10:00:00Z")));
    ASSERT_TRUE(a.Add(Result("duration", "glider.mdl", 420, "2026-01-03T10:00:00Z")));
  }
  ResultsStore b(file);  // a second program adds to what the first wrote
  ASSERT_TRUE(b.Add(Result("f3f", "glider.mdl", 72.0, "2026-01-03T10:00:00Z", kept)));
  ASSERT_TRUE(b.Add(Result("f3f", "other.mdl", 40.0, "2026-01-03T10:00:00Z")));

  ResultsStore c(file);
  c.Load();
  ASSERT_EQ(c.Results().size(), 6u);
  const auto race = c.Ranking("f3f", "glider.mdl", "slope.scn");
  ASSERT_EQ(race.size(), 3u);
  EXPECT_EQ(*race[0].score, 61.5);  // the shorter time first, no time last
  EXPECT_EQ(*race[1].score, 72.0);
  EXPECT_EQ(race[0].flight, dir.File("flights/gone.vfl"));
  EXPECT_FALSE(race[2].score);
  EXPECT_EQ(race[0].windFrom, 270.0);
  EXPECT_EQ(race[0].details, Result("", "", 0, "").details);
  const auto duration = c.Ranking("duration", "glider.mdl", "slope.scn");
  EXPECT_EQ(*duration[0].score, 420.0);  // the higher score first
  // The best run's recording was gone when it was added: the best that has one,
  // in a copy that outlives the flights folder.
  fs::remove(kept);
  const auto best = c.BestFlight("f3f", "glider.mdl", "slope.scn");
  ASSERT_TRUE(best);
  EXPECT_EQ(fs::path(*best).parent_path(), file.parent_path() / "results");
  EXPECT_EQ(fs::path(*best).filename(), "second.vfl");
  EXPECT_FALSE(c.BestFlight("limbo", "glider.mdl", "slope.scn"));
}

TEST(ResultsStore, AnUnreadableFileIsKeptAsideAndTheStoreStartsEmpty) {
  for (const std::string& bad :
       {std::string("{\"version\": 1, \"results\": [{\"task\": \"f3f\"}]}"),
        std::string("{\"version\": 1, \"res"), std::string("\x01\xff garbage"),
        std::string("{\"version\": 99, \"results\": []}")}) {
    SCOPED_TRACE(bad);
    test_support::TempDir dir;
    const std::string file = dir.Write("results.json", bad);
    TraceCapture trace;
    ResultsStore store(file, trace.Sink());
    store.Load();
    EXPECT_TRUE(store.Results().empty());
    ASSERT_EQ(trace.Lines().size(), 1u);
    EXPECT_NE(trace.Lines()[0].find("unreadable"), std::string::npos);
    ASSERT_FALSE(fs::exists(file));
    const auto files = FilesIn(dir.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].string().rfind("results.json.bad-", 0), 0u);
    std::ifstream in(dir.path() / files[0]);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bad);

    ASSERT_TRUE(store.Add(Result("limbo", "m", 3, "2026-01-01T00:00:00Z")));
    ResultsStore again(file);
    again.Load();
    EXPECT_EQ(again.Results().size(), 1u);
  }
}

}  // namespace
}  // namespace veltrane::tasks
