#pragma once

#include <string>

#include "base/rm/mesh_builder.h"
#include "base/rm/root.h"
#include "base/trace/trace.h"
#include "loaders/mesh_build.h"
#include "sim/sim_state.h"

namespace veltrane::loaders {

// Reads the program's own numeric model file: the airplane parameters,
// GroundClearance, the model style (airplane) and the geometry with its
// generated propeller discs and wheels, assembled into `target`.
//
// Throws LoadError, naming the line, when the file cannot be read, a value is
// not a number, a count or index is out of range, or the file ends early; in
// that case neither `s` nor `target` has been changed. Returns the collected
// polygons for inspection.
MeshBuild LoadMDL(const std::string& fileName, rm::Root& root, rm::MeshBuilder& target, SimState& s,
                  const Trace& trace);

}  // namespace veltrane::loaders
