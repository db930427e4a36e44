#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "tools/veltrane_tool/command_line.h"

namespace veltrane::tool {
namespace {

const std::string kData = std::string(VELTRANE_TEST_DIR) + "/data/";

struct ToolRun {
  int status;
  std::string out, err;
};

ToolRun RunArgs(std::vector<std::string> args) {
  args.insert(args.begin(), "veltrane-tool");
  std::ostringstream out, err;
  const int status = RunTool(args, out, err);
  return {status, out.str(), err.str()};
}

// A hand-launched glider on flat ground: the flight ends at its touchdown, the
// landing once it has stopped, and the tool stops with the run.
TEST(TaskCommand, DurationFlownToTheLandingAtRest) {
  test_support::TempDir temp;
  const std::string script = temp.Write("s.txt", "0 thermals 0 0\n0.5 handstart\n");
  const ToolRun r = RunArgs({"task", "duration", "--model", kData + "glider.par", "--script",
                             script, "--working-time", "3", "--duration", "120"});
  ASSERT_EQ(r.status, 0) << r.err;
  const nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["task"], "duration");
  EXPECT_EQ(j["state"], "finished");
  const auto& events = j["events"];
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events.front()["event"], "launch");
  EXPECT_NEAR(events.front()["t"].get<double>(), 0.48, 1e-9);  // the frame the command came in
  EXPECT_EQ(events.back()["event"], "landing");
  const auto& d = j["details"];
  const double flight = d["flight_time"].get<double>();
  EXPECT_GT(flight, 1.0);
  EXPECT_LT(events.back()["t"].get<double>(), 0.48 + flight + 10.0 + 1e-9);
  EXPECT_EQ(d["flight_points"].get<double>(), std::floor(flight));
  EXPECT_EQ(j["score"].get<double>(),
            d["flight_points"].get<double>() + d["landing_points"].get<double>());
  EXPECT_EQ(j["course"]["working_time"], 180.0);
  EXPECT_EQ(j["course"]["spot"], nlohmann::json::array({0.0, 0.0, 0.0}));
}

// A landscape that names its landing spot: the task measures the landing to
// it, and a hand-launched glide scripted onto it scores landing points.
TEST(TaskCommand, ScriptedLandingOnTheSpotTheLandscapeNames) {
  test_support::TempDir temp;
  const std::filesystem::path shipped = std::filesystem::path(VELTRANE_DATA_DIR) / "Landscape";
  std::filesystem::copy_file(shipped / "field.bmp", temp.path() / "field.bmp");
  std::ifstream in(shipped / "field.scn");
  std::string scene((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t end = scene.rfind("END");
  ASSERT_NE(end, std::string::npos);
  scene.insert(end, "LANDING_SPOT 125 -38 0\n");
  const std::string landscape = temp.Write("field.scn", scene);
  const std::string script =
      temp.Write("s.txt", "0 thermals 0 0\n0.5 handstart\n0.6 set elevator 0.1\n");
  const ToolRun r =
      RunArgs({"task", "duration", "--model", std::string(VELTRANE_DATA_DIR) + "/Model/hlg.par",
               "--landscape", landscape, "--script", script, "--duration", "200"});
  ASSERT_EQ(r.status, 0) << r.err;
  const nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["state"], "finished");
  EXPECT_EQ(j["course"]["spot"][0], 1125.0);  // the file's x, y shifted like the pilot's
  EXPECT_EQ(j["course"]["spot"][1], 962.0);
  for (const auto& e : j["events"]) EXPECT_NE(e["event"], "crash");
  const auto& d = j["details"];
  EXPECT_LT(d["landing_distance"].get<double>(), 15.0);
  EXPECT_GT(d["landing_points"].get<double>(), 0.0);
}

TEST(TaskCommand, RefusesWhatItCannotFly) {
  test_support::TempDir temp;
  const std::string script = temp.Write("s.txt", "0 handstart\n");
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const std::vector<Case> cases = {
      {{"task", "loop", "--model", kData + "glider.par", "--script", script}, "unknown task"},
      {{"task", "duration", "--model", kData + "glider.par", "--script", script, "--working-time",
        "2"},
       "outside 3 to 15"},
      {{"task", "limbo", "--model", kData + "glider.par", "--script", script, "--record"},
       "needs a value"},
      {{"task"}, "task needs a value"},
  };
  for (const Case& c : cases) {
    const ToolRun r = RunArgs(c.args);
    EXPECT_EQ(r.status, 1) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace veltrane::tool
