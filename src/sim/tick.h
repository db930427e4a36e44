#pragma once

#include <cstdint>
#include <functional>

#include "base/clock/clock.h"
#include "base/trace/trace.h"
#include "sim/sim_state.h"
#include "sim/world.h"

namespace veltrane {

// Frame time of a clock difference in ms: only its seconds and milliseconds
// count (minutes and hours are dropped), capped at 0.1 s; a negative difference
// (a clock running backwards) counts as 0.
double FrameTimeOf(std::int64_t diffMs);
// Seconds * 1000 + milliseconds of a difference, the measure of the crash delay.
std::int64_t SecondsAndMillisOf(std::int64_t diffMs);
// Number of physics sub-steps for a frame: trunc(frame / 0.005) + 1.
int SubStepCount(double frameTime);

// One frame of the simulation: measures the frame time, reads the controls, runs
// the flight model in sub-steps of at most 5 ms, handles crashes (automatic
// re-initialisation, indestructible mode) and hands over to sound and scene.
class SimTick {
 public:
  // What the tick asks of the rest of the program, in the order it asks it.
  struct Hooks {
    std::function<bool()> displayReady;     // false: skip the whole tick
    std::function<void()> readRadio;        // fills FunctionValue; the tick clamps it
    std::function<void()> cameraUpdate;     // after an automatic re-initialisation
    std::function<void(bool)> soundUpdate;  // true on the frame a crash started
    std::function<void()> sceneUpdate;      // also while paused
  };
  using StepFunction = std::function<void(SimState&, const World&)>;

  // world may be null until a landscape is loaded; a flat plane stands in then.
  SimTick(SimState& state, const Clock& clock, const Trace& trace, const World* world = nullptr);

  void SetWorld(const World* world);
  const World& CurrentWorld() const { return world_ ? *world_ : flat_; }

  // One frame timer call.
  void Tick();
  // Takes the clock reference now, so the next tick measures from here.
  void ResetLastTick();

  Hooks hooks;
  // The flight models per iModelStyle: MoveAirplane and MoveHelicopter. Tests and
  // tools may replace them; an empty one runs no physics for its style.
  StepFunction airplaneStep;
  StepFunction heliStep;

 private:
  void ClampControls();
  // Runs the frame's sub-steps; false when one of them failed.
  bool RunSubSteps(double frameTime);
  // Crash bookkeeping, restart and sound after the physics.
  void HandleCrash(bool wasCrashed);

  SimState& s_;
  const Clock& clock_;
  Trace trace_;
  const World* world_;
  FlatWorld flat_;
};

}  // namespace veltrane
