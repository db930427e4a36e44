#pragma once

#include <functional>

#include "base/trace/trace.h"
#include "sim/sim_state.h"
#include "sim/world.h"

namespace veltrane {

class SimTick;

// Model at rest on the start point, controls neutral, throttle and collective lowest.
void InitFlight(SimState& s, const World& w, const Trace& trace);
// Model upright and at rest on the ground below where it is; controls untouched.
void RestartFlight(SimState& s, const World& w, const Trace& trace);
// Model thrown at 10 m/s towards +y from 5 m in +y of the pilot, at the pilot's height.
void Handstart(SimState& s, const Trace& trace);
// Hooks the winch line on; the airplane model pulls and releases it.
void AttachWinch(SimState& s);

// The re-initialise command: InitFlight, and with the follow-flight view on the
// pilot goes 8 m behind the model. The caller updates the camera afterwards.
void Reinitialise(SimState& s, const World& w, const Trace& trace, bool followFlight);

// Where the viewer stands in follow flight: 8 m behind the model along its nose.
Vec3 FollowFlightGoal(const SimState& s);

// Pilot-position keys: '8' towards the model, '2' away, '4' and '6' around it to
// the left and right, '9' up, '3' down. The pilot never ends up less than 0.5 m
// above the terrain. The caller moves the camera to the new pilot position.
void Standort(SimState& s, const World& w, char key);
// The same, writing the trace line "Simulate.Standort".
void Standort(SimState& s, const World& w, char key, const Trace& trace);

// What loading a scene sets once the world's collision model is built: the pilot
// 2 m above the terrain, the start point, and the winch 200 m in +y of the start
// point, 0.1 m above the terrain. The caller then runs InitFlight and the camera.
void ApplyScenePlaces(SimState& s, const World& w, double pilotX, double pilotY, double startX,
                      double startY);

// Starts the simulation: TimeStep 0.05, thermals scattered around the model, the
// display initialised (initDisplay, may be empty), InitFlight, and the tick's
// clock reference taken now so the first tick measures from here.
void SimInit(SimState& s, const World& w, SimTick& tick, const Trace& trace,
             const std::function<void()>& initDisplay = {});

}  // namespace veltrane
