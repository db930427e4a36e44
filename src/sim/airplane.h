#pragma once

#include "sim/sim_state.h"
#include "sim/world.h"

namespace veltrane {

// Advances the airplane or glider by one sub-step of s.TimeStep seconds: pitch and
// yaw as closed-form damped oscillators, a split wing for lift, drag and roll,
// thrust, wheel friction, the winch line, thermals, then obstacle and ground tests
// with the crash criteria and the gear. s.Flags.Autorestart makes it indestructible.
// Zero divisors from a bad parameter set raise floating-point faults, which the
// tick detects.
void MoveAirplane(SimState& s, const World& w);

}  // namespace veltrane
