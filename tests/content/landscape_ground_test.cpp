// Every shipped landscape has ground under every point of its square: a model never
// falls through a gap, wherever it flies; and nothing built stands where models start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "base/trace/trace.h"
#include "sim/sim_state.h"
#include "tools/veltrane_tool/landscape.h"

namespace veltrane {
namespace {

namespace fs = std::filesystem;

// Half side and grid step from the "SCENE size tile step" line.
std::pair<double, double> SceneSize(const fs::path& scn) {
  std::ifstream in(scn);
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("SCENE ", 0) == 0) {
      std::istringstream words(line.substr(6));
      double size = 0, tile = 0, step = 0;
      words >> size >> tile >> step;
      return {size, step};
    }
  return {0.0, 0.0};
}

TEST(LandscapeGround, EveryShippedLandscapeIsWholeUnderEveryPoint) {
  int scenes = 0;
  for (const auto& e : fs::directory_iterator(fs::path(VELTRANE_DATA_DIR) / "Landscape")) {
    if (e.path().extension() != ".scn") continue;
    ++scenes;
    SCOPED_TRACE(e.path().filename().string());
    SimState s;
    const tool::Landscape land = tool::LoadLandscape(e.path().string(), s, Trace());
    const auto [half, step] = SceneSize(e.path());
    ASSERT_GT(half, 0.0);
    // The terrain spans 0 .. 2 * half in the simulation's frame. Probe every half cell,
    // edges included (a hair inside, where the last triangles end).
    int holes = 0;
    const int n = static_cast<int>(4.0 * half / step);
    for (int i = 0; i <= n; ++i)
      for (int k = 0; k <= n; ++k) {
        const double x = std::clamp(2.0 * half * i / n, 0.01, 2.0 * half - 0.01);
        const double y = std::clamp(2.0 * half * k / n, 0.01, 2.0 * half - 0.01);
        World::RayHit hit;
        if (!land.world->ContactRay({x, y, 5000.0}, {0.0, 0.0, -10000.0}, hit) && ++holes <= 5)
          ADD_FAILURE() << "no ground under " << x << ", " << y;
      }
    EXPECT_EQ(holes, 0);
  }
  EXPECT_GE(scenes, 5);
}

// Where models are thrown and roll: nothing may stand there, not a stand, a fence or a
// flag pole. The flying fields are flat there, so any surface above the start's ground
// is something built in the way.
struct Field {
  const char* file;
  double x0, y0, x1, y1;  // the runway, simulation coordinates
};

TEST(LandscapeGround, RunwaysAndThrowsFromThePilotMeetNothingBuilt) {
  const Field fields[] = {{"world.scn", 1087.5, 800, 1112.5, 1200},
                          {"lake.scn", 700, 500, 900, 515},
                          {"field.scn", 1087.5, 750, 1112.5, 1250},
                          {"valley.scn", 870, 480, 890, 1120},
                          {"coast.scn", 870, 500, 890, 1100}};
  for (const Field& f : fields) {
    SCOPED_TRACE(f.file);
    SimState s;
    const tool::Landscape land = tool::LoadLandscape(
        (fs::path(VELTRANE_DATA_DIR) / "Landscape" / f.file).string(), s, Trace());
    const World& w = *land.world;
    const double ground = w.GroundHeightAt(land.startX, land.startY);
    int blocked = 0;
    auto check = [&](double x, double y) {
      if (std::fabs(w.GroundHeightAt(x, y) - ground) > 0.2 && ++blocked <= 5)
        ADD_FAILURE() << "something stands at " << x << ", " << y;
    };
    for (double x = f.x0; x <= f.x1; x += 1.0)
      for (double y = f.y0; y <= f.y1; y += 1.0) check(x, y);
    // Thrown into a wind from any quarter, 30 m out, a metre to either side.
    const std::pair<double, double> quarters[] = {{1.0, 0.0}, {-1.0, 0.0}, {0.0, 1.0}, {0.0, -1.0}};
    for (const auto& [dx, dy] : quarters)
      for (double d = 0.0; d <= 30.0; d += 0.5)
        for (double side : {-1.0, 0.0, 1.0})
          check(land.pilotX + dx * d - dy * side, land.pilotY + dy * d + dx * side);
    EXPECT_EQ(blocked, 0);
  }
}

}  // namespace
}  // namespace veltrane
