#pragma once

#include "base/trace/trace.h"
#include "sim/sim_state.h"

namespace veltrane {

// Scatters the first iBubbles thermals over +-2500 m around (x, y), drawing from
// s.Random, so the same actions give the same thermals on every run.
void RandomizeThermal(SimState& s, double x, double y, const Trace& trace);
// How many numbers RandomizeThermal draws from s.Random with this table.
int ThermalRandomDraws(const ThermalTable& t);

// Re-places every active thermal that is more than 1250 m away (in x or y) from
// the model at (x, y) somewhere within +-1250 m of it.
void RecycleThermals(SimState& s, double x, double y);

// Moves every active thermal by (dx, dy): they drift with the wind.
void DriftThermals(ThermalTable& t, double dx, double dy);

// Vertical air speed in m/s at (x, y), h metres above the terrain: the sum of
// the thermals, faded in with height, minus a constant sink, capped at 6 m/s.
double ThermalLiftAt(const ThermalTable& t, double x, double y, double h);

}  // namespace veltrane
