#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "base/rm/mesh_builder.h"
#include "loaders/mesh_build.h"
#include "sim/sim_state.h"

namespace veltrane::tool {

// What a loader made of a model or scene file, by extension. Throws ToolError
// for a missing or unsupported file and passes on the loaders' errors.
nlohmann::json Inspect(const std::string& path);

// The flight parameters of s for its iModelStyle, by name; contacts as a list.
nlohmann::json ParametersJson(const SimState& s);
// The collected polygons before assembly.
nlohmann::json BuildJson(const loaders::MeshBuild& mb);
// The assembled mesh.
nlohmann::json MeshJson(const rm::MeshBuilder& mesh);

}  // namespace veltrane::tool
