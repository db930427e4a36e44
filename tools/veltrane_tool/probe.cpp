#include "tools/veltrane_tool/probe.h"

#include "tools/veltrane_tool/landscape.h"

namespace veltrane::tool {

nlohmann::json Probe(const World& world, double x, double y, std::optional<double> z) {
  nlohmann::json j;
  j["ground_height_at"] = world.GroundHeightAt(x, y);
  if (z) j["ground_height_below"] = world.GroundHeightBelow({x, y, *z});
  return j;
}

nlohmann::json Probe(const std::string& landscape, double x, double y, std::optional<double> z) {
  SimState s;
  const Landscape land = LoadLandscape(landscape, s, Trace());
  return Probe(*land.world, x, y, z);
}

}  // namespace veltrane::tool
