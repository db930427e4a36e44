#include "tools/veltrane_tool/probe.h"

#include "tools/veltrane_tool/landscape.h"

namespace veltrane::tool {

nlohmann::json Probe(const std::string& landscape, double x, double y, std::optional<double> z) {
  SimState s;
  const Landscape land = LoadLandscape(landscape, s, Trace());
  nlohmann::json j;
  j["ground_height_at"] = land.world->GroundHeightAt(x, y);
  if (z) j["ground_height_below"] = land.world->GroundHeightBelow({x, y, *z});
  return j;
}

}  // namespace veltrane::tool
