#pragma once

#include <string>

#include "base/rm/mesh_builder.h"
#include "base/rm/root.h"
#include "base/trace/trace.h"
#include "loaders/mesh_build.h"
#include "sim/sim_state.h"

namespace veltrane::loaders {

// Reads a keyword geometry file: objects, propeller discs, wheel pairs, lines
// as thin tubes; converts to display axes, sets GroundClearance, reads the
// ".PAR" companion and assembles the mesh into `target`.
//
// Throws LoadError (the reader's message) when the file cannot be read or a
// number is missing; then nothing is added to `target` and `s` is unchanged.
// Returns the collected polygons for inspection.
MeshBuild LoadGEO(const std::string& fileName, rm::Root& root, bool texturesEnabled,
                  rm::MeshBuilder& target, SimState& s, const Trace& trace);

}  // namespace veltrane::loaders
