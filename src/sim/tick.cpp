#include "sim/tick.h"

#include <cmath>
#include <exception>

#include "sim/airplane.h"
#include "sim/fp_guard.h"
#include "sim/helicopter.h"
#include "sim/lifecycle.h"

namespace veltrane {

namespace {
constexpr double kMaxFrameTime = 0.1;
constexpr double kNominalSubStep = 0.005;
constexpr std::int64_t kAutoInitDelayMs = 1500;

// Thrown when a sub-step leaves a floating-point fault or a non-finite state.
struct SubStepFault {};
}  // namespace

std::int64_t SecondsAndMillisOf(std::int64_t diffMs) {
  if (diffMs < 0) return 0;
  const std::int64_t seconds = (diffMs / 1000) % 60;
  return seconds * 1000 + diffMs % 1000;
}

double FrameTimeOf(std::int64_t diffMs) {
  const std::int64_t ms = SecondsAndMillisOf(diffMs);
  const double frame = static_cast<double>(ms / 1000) + static_cast<double>(ms % 1000) / 1000.0;
  return frame <= kMaxFrameTime ? frame : kMaxFrameTime;
}

int SubStepCount(double frameTime) {
  return static_cast<int>(std::trunc(frameTime / kNominalSubStep)) + 1;
}

SimTick::SimTick(SimState& state, const Clock& clock, const Trace& trace, const World* world)
    : airplaneStep(MoveAirplane),
      heliStep(MoveHelicopter),
      s_(state),
      clock_(clock),
      trace_(trace),
      world_(world) {}

void SimTick::SetWorld(const World* world) { world_ = world; }

void SimTick::ResetLastTick() { s_.LastTickTime = clock_.NowMs(); }

void SimTick::ClampControls() {
  for (double& v : s_.FunctionValue) {
    if (v > 1.0) v = 1.0;
    if (v < -1.0) v = -1.0;
  }
}

bool SimTick::RunSubSteps(double frameTime) {
  const int n = SubStepCount(frameTime);
  s_.TimeStep = frameTime / n;
  const StepFunction* step = nullptr;
  if (s_.iModelStyle == 0) step = &airplaneStep;
  if (s_.iModelStyle == 1) step = &heliStep;
  if (step == nullptr || !*step) {
    s_.TimeStep = n * s_.TimeStep;
    return true;
  }
  const World& world = CurrentWorld();
  for (int i = 0; i < n; ++i) {
    // A failed sub-step is undone as a whole: its half-written state may hold
    // NaNs that would make the model vanish for good.
    const SimState before = s_;
    try {
      ClearFpFaults();
      (*step)(s_, world);
      if (FpFaultRaised() || !ModelStateFinite(s_)) throw SubStepFault{};
    } catch (...) {
      s_ = before;
      ClearFpFaults();
      trace_(s_.iModelStyle == 1 ? "Exception in MoveHelicopter\r\n"
                                 : "Exception in MoveAirplane\r\n");
      return false;  // TimeStep keeps the sub-step length
    }
  }
  s_.TimeStep = n * s_.TimeStep;
  return true;
}

void SimTick::HandleCrash(bool wasCrashed) {
  // The frame's own time, not a second clock reading: the tick must depend on
  // one reading per frame so that a recorded flight replays exactly.
  const std::int64_t now = s_.LastTickTime;
  if (s_.Flags.AutoInit && s_.Crashed && !wasCrashed) {
    s_.AutoInitPending = true;
    s_.CrashTime = now;
  }
  s_.AutoInitPending = s_.AutoInitPending && s_.Crashed;

  if (s_.AutoInitPending && SecondsAndMillisOf(now - s_.CrashTime) > kAutoInitDelayMs) {
    InitFlight(s_, CurrentWorld(), trace_);
    s_.AutoInitPending = false;
    if (hooks.cameraUpdate) hooks.cameraUpdate();
  }

  if (s_.Flags.Autorestart && s_.Crashed) {
    s_.CrashAbsorbed = true;
    RestartFlight(s_, CurrentWorld(), trace_);
  }

  const bool crashStarted = s_.Crashed && !wasCrashed;
  if (hooks.soundUpdate) hooks.soundUpdate(crashStarted);
  if (crashStarted) trace_("MainFrorm.DXTimerTimer Model crashed\r\n");
}

void SimTick::Tick() {
  try {
    if (hooks.displayReady && !hooks.displayReady()) return;

    s_.PrevTickTime = s_.LastTickTime;
    s_.LastTickTime = clock_.NowMs();
    const double frameTime = FrameTimeOf(s_.LastTickTime - s_.PrevTickTime);
    s_.TimeStep = frameTime;

    if (hooks.readRadio) hooks.readRadio();
    ClampControls();

    if (!s_.Flags.Pause) {
      const bool wasCrashed = s_.Crashed;
      s_.CrashAbsorbed = false;
      RunSubSteps(frameTime);
      HandleCrash(wasCrashed);
    }

    if (hooks.sceneUpdate) hooks.sceneUpdate();
  } catch (...) {
    trace_("Exception in DXTimerTimer\r\n");
  }
}

}  // namespace veltrane
