#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace veltrane::tool {

// Ground heights of a landscape: from above at (x, y) and, with z, straight
// below (x, y, z).
nlohmann::json Probe(const std::string& landscape, double x, double y, std::optional<double> z);

}  // namespace veltrane::tool
