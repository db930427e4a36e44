#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "sim/air/wind_settings.h"
#include "sim/world.h"

namespace veltrane::tool {

// Ground heights: from above at (x, y) and, with z, straight below (x, y, z).
nlohmann::json Probe(const World& world, double x, double y, std::optional<double> z);
// The same on a landscape file; with a wind also "wind": the steady air velocity
// (no gusts, no turbulence) at (x, y, z), or 10 m above the terrain without z.
nlohmann::json Probe(const std::string& landscape, double x, double y, std::optional<double> z,
                     std::optional<WindSettings> wind = std::nullopt);

}  // namespace veltrane::tool
