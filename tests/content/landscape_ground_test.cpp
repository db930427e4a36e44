// Every shipped landscape has ground under every point of its square: a model never
// falls through a gap, wherever it flies.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

}  // namespace
}  // namespace veltrane
