#include "tools/veltrane_tool/probe.h"

#include "tools/veltrane_tool/landscape.h"

namespace veltrane::tool {

nlohmann::json Probe(const World& world, double x, double y, std::optional<double> z) {
  nlohmann::json j;
  j["ground_height_at"] = world.GroundHeightAt(x, y);
  if (z) j["ground_height_below"] = world.GroundHeightBelow({x, y, *z});
  return j;
}

nlohmann::json Probe(const std::string& landscape, double x, double y, std::optional<double> z,
                     std::optional<WindSettings> wind) {
  SimState s;
  const Landscape land = LoadLandscape(landscape, s, Trace());
  nlohmann::json j = Probe(*land.world, x, y, z);
  if (wind) {
    s.Air.SetWind(*wind);
    const Vec3 p{x, y, z ? *z : s.Air.Terrain().HeightAt(x, y) + 10.0};
    const Vec3 v = s.Air.SteadyAt(p);
    j["wind"] = nlohmann::json::array({v.x, v.y, v.z});
  }
  return j;
}

}  // namespace veltrane::tool
