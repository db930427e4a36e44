#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "sim/world.h"

namespace veltrane::tool {

// Ground heights: from above at (x, y) and, with z, straight below (x, y, z).
nlohmann::json Probe(const World& world, double x, double y, std::optional<double> z);
// The same on a landscape file.
nlohmann::json Probe(const std::string& landscape, double x, double y, std::optional<double> z);

}  // namespace veltrane::tool
