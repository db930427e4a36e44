#pragma once

#include <string>

#include "base/trace/trace.h"
#include "sim/sim_state.h"

namespace veltrane::tool {

// Loads a flight model into s by its extension (case-insensitive). Throws
// ToolError for a missing file or an unsupported type, and passes on the
// loaders' own errors.
void LoadModel(SimState& s, const std::string& path, const Trace& trace);

// Lower-case extension with its dot (".par"), or "" when there is none.
std::string ExtensionOf(const std::string& path);

}  // namespace veltrane::tool
