#include "tools/veltrane_tool/fly.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "sim/tick.h"
#include "tools/veltrane_tool/inspect.h"
#include "tools/veltrane_tool/tool_error.h"

namespace veltrane::tool {
namespace {

const std::string kData = std::string(VELTRANE_TEST_DIR) + "/data/";

struct FlightRun {
  nlohmann::json summary;
  std::vector<std::vector<std::string>> rows;  // header first
};

FlightRun FlyOptionsScript(const FlyOptions& o, const std::string& script,
                           const Trace& trace = Trace()) {
  std::ostringstream csv;
  FlightRun r;
  r.summary = Fly(o, ParseScriptText(script), &csv, trace);
  std::istringstream in(csv.str());
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> cells;
    std::istringstream l(line);
    for (std::string c; std::getline(l, c, ',');) cells.push_back(c);
    r.rows.push_back(cells);
  }
  return r;
}

FlightRun FlyScript(const std::string& model, const std::string& script, double duration,
                    double frame = 0.02, const Trace& trace = Trace()) {
  FlyOptions o;
  o.model = kData + model;
  o.duration = duration;
  o.frame = frame;
  return FlyOptionsScript(o, script, trace);
}

double Cell(const FlightRun& r, std::size_t row, const std::string& column) {
  const auto& h = r.rows[0];
  for (std::size_t i = 0; i < h.size(); ++i)
    if (h[i] == column) return std::strtod(r.rows[row].at(i).c_str(), nullptr);
  ADD_FAILURE() << "no column " << column;
  return 0;
}

TEST(Fly, CsvHasAHeaderARowAtZeroAndOneRowPerTick) {
  const FlightRun r = FlyScript("airplane.par", "0 thermals 0 0\n", 1.0);
  ASSERT_EQ(r.rows.size(), 1u + 1u + 50u);
  EXPECT_EQ(r.rows[0].size(), 33u);
  EXPECT_EQ(r.rows[0][0], "t");
  EXPECT_EQ(r.rows[0][29], "f7");
  for (std::size_t i = 1; i < r.rows.size(); ++i) ASSERT_EQ(r.rows[i].size(), 33u) << i;
  EXPECT_EQ(Cell(r, 1, "t"), 0.0);
  EXPECT_DOUBLE_EQ(Cell(r, 51, "t"), 1.0);
  // After SimInit the throttle is at its lowest and the model stands at the start.
  EXPECT_EQ(Cell(r, 1, "f3"), -1.0);
  EXPECT_EQ(Cell(r, 1, "vy"), 1e-8);  // only round-trippable text gives this back exactly
  EXPECT_EQ(r.summary["frames"], 50);
  EXPECT_EQ(r.summary["substeps"], 50 * SubStepCount(0.02));
  EXPECT_FALSE(r.summary["crashed"].get<bool>());
  EXPECT_TRUE(r.summary["crash_time"].is_null());
}

TEST(Fly, CommandTakesEffectJustBeforeTheFirstTickAtOrAfterItsTime) {
  // Ticks at 0.02, 0.04, 0.06: a command at 0.05 acts on the tick at 0.06.
  const FlightRun r = FlyScript("airplane.par", "0.05 set throttle 1\n", 0.1);
  EXPECT_EQ(Cell(r, 3, "f3"), -1.0);  // t = 0.04
  EXPECT_EQ(Cell(r, 4, "f3"), 1.0);   // t = 0.06
  // A command at exactly a tick's time acts on that tick.
  const FlightRun e = FlyScript("airplane.par", "0.04 set throttle 0.5\n", 0.1);
  EXPECT_EQ(Cell(e, 2, "f3"), -1.0);
  EXPECT_EQ(Cell(e, 3, "f3"), 0.5);
}

TEST(Fly, HeldValuesSurviveAnInit) {
  // The script is a transmitter: init resets the controls, the next radio read
  // writes the held values again.
  const FlightRun r =
      FlyScript("airplane.par", "0 set throttle 1\n0 set rudder -1\n0.1 init\n", 0.2);
  for (std::size_t row = 2; row < r.rows.size(); ++row) {
    EXPECT_EQ(Cell(r, row, "f3"), 1.0) << row;
    EXPECT_EQ(Cell(r, row, "f0"), -1.0) << row;
  }
}

TEST(Fly, PauseFreezesTheFlight) {
  const FlightRun r =
      FlyScript("airplane.par", "0 set throttle 1\n0.5 pause on\n1.5 pause off\n", 2.0);
  const double y_at_pause = Cell(r, 25, "y");  // t = 0.48, last moving tick
  EXPECT_GT(y_at_pause, 0.0);
  EXPECT_EQ(Cell(r, 74, "y"), y_at_pause);  // t = 1.46
  EXPECT_GT(Cell(r, 101, "y"), y_at_pause);
  EXPECT_LT(r.summary["substeps"].get<int>(), 100 * SubStepCount(0.02));
}

TEST(Fly, FramesThatAreNotWholeMillisecondsStillCoverTheScriptTime) {
  // 1/60 s frames: the clock moves 17, 17, 16, ... ms, the sum follows t.
  const FlightRun r =
      FlyScript("airplane.par", "0 thermals 0 0\n0 set throttle 1\n", 1.0, 1.0 / 60);
  EXPECT_EQ(r.summary["frames"], 60);
  EXPECT_NEAR(Cell(r, 61, "t"), 1.0, 1e-12);
  const FlightRun even = FlyScript("airplane.par", "0 thermals 0 0\n0 set throttle 1\n", 1.0, 0.02);
  // Both flew one second at full throttle from rest on the ground.
  EXPECT_NEAR(Cell(r, 61, "y"), Cell(even, 51, "y"), 0.05 * Cell(even, 51, "y"));
}

TEST(Fly, TraceCarriesTheProgramsLines) {
  TraceCapture capture;
  FlyScript("airplane.par", "0 handstart\n", 0.04, 0.02, capture.Sink());
  EXPECT_TRUE(capture.Contains("TMainForm.SimInit\r\n"));
  EXPECT_TRUE(capture.Contains("Simulate.InitFlight\r\n"));
  EXPECT_TRUE(capture.Contains("Simulate.Handstart\r\n"));
  EXPECT_TRUE(capture.Contains("LoadLib.LoadPAR File: " + kData + "airplane.par\r\n"));
}

TEST(Fly, CrashIsTimedAndCountedOnce) {
  // Hand-launched nose down at full down elevator: it hits the ground hard.
  const FlightRun r =
      FlyScript("airplane.par", "0 thermals 0 0\n0 set elevator 1\n0 handstart\n", 5.0);
  ASSERT_TRUE(r.summary["crashed"].get<bool>());
  EXPECT_EQ(r.summary["crashes"], 1);
  const double t = r.summary["crash_time"].get<double>();
  EXPECT_GT(t, 0.0);
  EXPECT_LT(t, 5.0);
  // The first row showing the crash is the row of crash_time.
  for (std::size_t row = 1; row < r.rows.size(); ++row)
    if (Cell(r, row, "crashed") == 1.0) {
      EXPECT_DOUBLE_EQ(Cell(r, row, "t"), t);
      break;
    }
}

// Where the model stands after SimInit on the flat ground: its GroundClearance.
double StandingHeight(const std::string& model, std::optional<double> clearance = std::nullopt) {
  FlyOptions o;
  o.model = model;
  o.duration = 0.02;
  o.clearance = clearance;
  return Cell(FlyOptionsScript(o, ""), 1, "z");
}

TEST(Fly, GeometryBesideTheModelSetsTheClearanceAndTheOptionOverridesIt) {
  const std::string models = std::string(VELTRANE_DATA_DIR) + "/Model/";
  const double geo = Inspect(models + "su-26.geo")["GroundClearance"].get<double>();
  ASSERT_GT(geo, 0.1);
  EXPECT_DOUBLE_EQ(StandingHeight(models + "su-26.par"), geo);
  EXPECT_DOUBLE_EQ(StandingHeight(models + "su-26.geo"), geo);
  const double x = Inspect(models + "parkflyer.x")["GroundClearance"].get<double>();
  EXPECT_DOUBLE_EQ(StandingHeight(models + "parkflyer.par"), x);
  EXPECT_DOUBLE_EQ(StandingHeight(models + "su-26.par", 1.25), 1.25);
  EXPECT_DOUBLE_EQ(StandingHeight(models + "su-26.par", 0.0), 0.0);
  // Parameters alone: nothing lifts it off the ground.
  EXPECT_DOUBLE_EQ(StandingHeight(kData + "airplane.par"), 0.0);
}

// Thermal lift of every airborne row.
std::vector<double> AirborneLift(const FlightRun& r) {
  std::vector<double> lift;
  for (std::size_t row = 1; row < r.rows.size(); ++row)
    if (Cell(r, row, "airborne") == 1.0) lift.push_back(Cell(r, row, "thermal_lift"));
  return lift;
}

double Max(const std::vector<double>& v) {
  return v.empty() ? -1e9 : *std::max_element(v.begin(), v.end());
}

// The winch pulls the glider straight along +y over the thermal at (0, 150).
TEST(Fly, PlacedThermalLiftsWhereTheScriptPutsIt) {
  const std::string winch = "0 winch\n";
  const auto on_track = AirborneLift(FlyScript("glider.par", "0 thermal 0 150 3\n" + winch, 20));
  ASSERT_FALSE(on_track.empty());
  EXPECT_GT(Max(on_track), 1.5);
  EXPECT_LT(Max(on_track), 3.0);  // faded near the ground, never above its strength

  // It replaces the scattered ones rather than adding to them.
  const auto after_scatter =
      AirborneLift(FlyScript("glider.par", "0 thermals 160 6\n0 thermal 0 150 3\n" + winch, 20));
  EXPECT_EQ(after_scatter, on_track);

  // 600 m to the side leaves only the sinking air of a still day.
  const auto still = AirborneLift(FlyScript("glider.par", "0 thermals 0 0\n" + winch, 20));
  const auto aside = AirborneLift(FlyScript("glider.par", "0 thermal 600 150 3\n" + winch, 20));
  ASSERT_EQ(aside.size(), still.size());
  for (std::size_t i = 0; i < still.size(); ++i) ASSERT_NEAR(aside[i], still[i], 1e-3) << i;

  // 100 m aside the default radius reaches little, a wide one lifts nearly fully.
  EXPECT_LT(Max(AirborneLift(FlyScript("glider.par", "0 thermal 100 150 3\n" + winch, 20))), 0.5);
  EXPECT_GT(Max(AirborneLift(FlyScript("glider.par", "0 thermal 100 150 3 200\n" + winch, 20))),
            1.5);
}

TEST(Fly, RejectsMissingModelAndBadTiming) {
  FlyOptions o;
  o.model = kData + "no_such_model.par";
  EXPECT_THROW(Fly(o, {}, nullptr, Trace()), ToolError);
  try {
    Fly(o, {}, nullptr, Trace());
  } catch (const ToolError& e) {
    EXPECT_NE(std::string(e.what()).find("model file not found"), std::string::npos);
  }
  o.model = kData + "airplane.par";
  // Below a millisecond the clock cannot measure it; above 0.1 s the tick would cap it.
  for (double frame : {0.0, -0.02, 0.0004, 0.2}) {
    o.frame = frame;
    EXPECT_THROW(Fly(o, {}, nullptr, Trace()), ToolError) << frame;
  }
  o.frame = 0.02;
  o.duration = -1;
  EXPECT_THROW(Fly(o, {}, nullptr, Trace()), ToolError);
}

}  // namespace
}  // namespace veltrane::tool
