#pragma once

#include <string>

#include "base/rm/mesh_builder.h"
#include "base/rm/root.h"
#include "base/trace/trace.h"
#include "sim/sim_state.h"

namespace veltrane::loaders {

// Loads a ".x" geometry file into `target` as it stands (its own axes, no
// MeshBuild), textures looked up beside it; then GroundClearance = |lowest y|
// of the whole target and the ".PAR" companion through LoadPAR.
//
// A file that cannot be read throws LoadError; `target` and `s` stay unchanged.
void LoadX(const std::string& fileName, rm::Root& root, rm::MeshBuilder& target, SimState& s,
           const Trace& trace);

}  // namespace veltrane::loaders
