#pragma once

#include <string>

#include "base/trace/trace.h"
#include "sim/sim_state.h"

namespace veltrane::loaders {

// Reads a flight-model parameter file (one value per line, first the model
// style, then the airplane or helicopter block) into `s`. A missing or
// unreadable file gives the airplane defaults, the end of the file reads as 0
// and a malformed number keeps its default, with a trace line. A file that is
// no parameter file at all (no value that reads as a number, or more words
// than numbers) throws LoadError and leaves `s` unchanged.
// GroundClearance is left alone; the geometry loaders own it.
void LoadPAR(SimState& s, const std::string& fileName, const Trace& trace);

}  // namespace veltrane::loaders
