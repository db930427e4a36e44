#include "tools/veltrane_tool/landscape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "tools/veltrane_tool/fly.h"
#include "tools/veltrane_tool/probe.h"
#include "tools/veltrane_tool/tool_error.h"

namespace veltrane::tool {
namespace {

// The shipped airfield: rolling terrain, trees and buildings.
const std::string kScene = std::string(VELTRANE_DATA_DIR) + "/Landscape/world.scn";
const std::string kModel = std::string(VELTRANE_TEST_DIR) + "/data/airplane.par";

// Loading the scene takes a while; once is enough.
const World& SceneWorld() {
  static const Landscape land = [] {
    SimState s;
    return LoadLandscape(kScene, s, Trace());
  }();
  return *land.world;
}

double At(double x, double y) {
  return Probe(SceneWorld(), x, y, std::nullopt)["ground_height_at"];
}

TEST(Landscape, ProbesSeeTheTerrainFromAboveAndBelowAPoint) {
  int above_zero = 0;
  for (double x = 100; x < 2000; x += 350)
    for (double y = 100; y < 2000; y += 350) {
      const auto j = Probe(SceneWorld(), x, y, 1000.0);
      const double h = j["ground_height_at"];
      EXPECT_TRUE(std::isfinite(h));
      EXPECT_GE(h, 0.0);
      EXPECT_LE(h, 255 * 0.2527 + 1e-3);  // the heightmap's range
      above_zero += h > 0.5;
      // Well above the ground, the probe from the point sees the same surface.
      EXPECT_FLOAT_EQ(float(j["ground_height_below"].get<double>()), float(h));
      // From under the surface, something lower or nothing.
      const double below = Probe(SceneWorld(), x, y, h - 0.5)["ground_height_below"];
      EXPECT_LT(below, h);
    }
  EXPECT_GT(above_zero, 0);  // not a flat plane
  // The file version gives the same.
  EXPECT_EQ(Probe(kScene, 850, 650, 30.0), Probe(SceneWorld(), 850, 650, 30.0));
  EXPECT_THROW(Probe(kScene + ".missing", 0, 0, std::nullopt), ToolError);
}

TEST(Landscape, FlightStartsOnTheTerrainAtTheScenesPlaces) {
  FlyOptions o;
  o.model = kModel;
  o.landscape = kScene;
  o.duration = 2.0;
  o.clearance = 0.3;
  std::ostringstream csv;
  const auto j = Fly(o, ParseScriptText("0 thermals 0 0\n"), &csv, Trace());
  EXPECT_FALSE(j["crashed"].get<bool>());
  const auto& start = j["start_position"];
  const auto& pilot = j["pilot_position"];
  const auto& winch = j["winch_position"];
  const double sx = start[0], sy = start[1];
  const double px = pilot[0], py = pilot[1];
  EXPECT_NEAR(pilot[2].get<double>(), At(px, py) + 2.0, 1e-4);
  EXPECT_EQ(winch[0].get<double>(), sx);
  EXPECT_EQ(winch[1].get<double>(), sy + 200.0);
  EXPECT_NEAR(winch[2].get<double>(), At(sx, sy + 200.0) + 0.1, 1e-4);
  // Resting on the start point, the clearance above the terrain.
  const auto& pos = j["final_position"];
  EXPECT_NEAR(pos[0].get<double>(), sx, 1e-3);
  EXPECT_NEAR(pos[1].get<double>(), sy, 1e-3);
  EXPECT_NEAR(pos[2].get<double>(), At(sx, sy) + 0.3, 1e-3);
  EXPECT_LT(j["max_height_agl"].get<double>(), 0.31);
}

}  // namespace
}  // namespace veltrane::tool
