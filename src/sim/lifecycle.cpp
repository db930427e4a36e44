#include "sim/lifecycle.h"

#include "sim/math_u.h"
#include "sim/thermals.h"
#include "sim/tick.h"

namespace veltrane {

namespace {
constexpr Vec3 kRestVelocity{0.0, 1e-8, 0.0};  // a tiny forward speed, not zero
constexpr double kHandLaunchSpeed = 10.0;
constexpr double kHandLaunchAhead = 5.0;
constexpr double kPilotEyeHeight = 2.0;
constexpr double kPilotLowest = 0.5;
constexpr double kWinchDistance = 200.0;
constexpr double kWinchHeight = 0.1;
constexpr double kFollowDistance = 8.0;
constexpr double kPilotStep = 0.075;
constexpr double kPilotTurn = 0.11780972450961724;  // 6.75 degrees
constexpr double kPilotNearest = 1.0;
constexpr double kPilotFarthest = 3000.0;
constexpr double kPilotHeightLimit = 3000.0;

void CommonReset(SimState& s) {
  s.AxisForward = {0.0, 1.0, 0.0};
  s.AxisUp = {0.0, 0.0, 1.0};
  s.AxisRight = {1.0, 0.0, 0.0};
  s.Airspeed = 0.0;
  s.PitchRate = 0.0;
  s.YawRate = 0.0;
  s.RollRate = 0.0;
  s.AngularVelocity = {};
  s.WinchAttached = false;
  s.Crashed = false;
}
}  // namespace

void InitFlight(SimState& s, const World& w, const Trace& trace) {
  trace("Simulate.InitFlight\r\n");
  CommonReset(s);
  s.ModelVelocity = kRestVelocity;
  s.ModelPosition.x = s.StartPosition.x;
  s.ModelPosition.y = s.StartPosition.y;
  s.ModelPosition.z = w.GroundHeightAt(s.ModelPosition.x, s.ModelPosition.y) + s.GroundClearance;
  s.FunctionValue.fill(0.0);
  s.FunctionValue[fn::kThrottle] = -1.0;
  s.FunctionValue[fn::kCollective] = -1.0;
}

void RestartFlight(SimState& s, const World& w, const Trace& trace) {
  trace("Simulate.RestartFlight\r\n");
  CommonReset(s);
  s.ModelVelocity = kRestVelocity;
  s.ModelPosition.z = w.GroundHeightAt(s.ModelPosition.x, s.ModelPosition.y) + s.GroundClearance;
}

void Handstart(SimState& s, const Trace& trace) {
  trace("Simulate.Handstart\r\n");
  CommonReset(s);
  if (s.Air.Still()) {
    s.ModelVelocity = {0.0, kHandLaunchSpeed, 0.0};
    // No terrain probe: on a slope the first sub-step's ground contact lifts it out.
    s.ModelPosition = {s.PilotPosition.x, s.PilotPosition.y + kHandLaunchAhead, s.PilotPosition.z};
  } else {
    // In a wind the pilot faces into it and throws at launch speed through the air.
    const Vec3 into = s.Air.IntoWind();
    s.ModelPosition = s.PilotPosition + into * kHandLaunchAhead;
    s.ModelVelocity = s.Air.SteadyAt(s.ModelPosition) + into * kHandLaunchSpeed;
    s.AxisForward = into;
    s.AxisRight = {into.y, -into.x, 0.0};
  }
  s.FunctionValue[fn::kRudder] = 0.0;
  s.FunctionValue[fn::kElevator] = 0.0;
  s.FunctionValue[fn::kAileron] = 0.0;
  s.FunctionValue[fn::kThrottle] = -1.0;
}

void AttachWinch(SimState& s) { s.WinchAttached = true; }

void Reinitialise(SimState& s, const World& w, const Trace& trace, bool followFlight) {
  InitFlight(s, w, trace);
  if (followFlight) s.PilotPosition = FollowFlightGoal(s);
}

Vec3 FollowFlightGoal(const SimState& s) {
  return s.ModelPosition - kFollowDistance * s.AxisForward;
}

void Standort(SimState& s, const World& w, char key) { Standort(s, w, key, Trace()); }

void Standort(SimState& s, const World& w, char key, const Trace& trace) {
  trace("Simulate.Standort\r\n");
  Vec3& pilot = s.PilotPosition;
  Vec3 d = pilot - s.ModelPosition;
  const double length = VecLength(d);
  switch (key) {
    case '8':
      d.z = 0.0;
      if (VecLength(d) > kPilotNearest) pilot = pilot - kPilotStep * d;
      break;
    case '2':
      d.z = 0.0;
      if (VecLength(d) < kPilotFarthest) pilot = pilot + kPilotStep * d;
      break;
    case '4':
    case '6': {
      const double turn = key == '4' ? kPilotTurn : -kPilotTurn;
      RotateEuler(d, Vec3{0.0, 0.0, turn}, d);
      pilot = s.ModelPosition + d;
      break;
    }
    case '9':
      if (d.z < kPilotHeightLimit) pilot.z += length != 0.0 ? kPilotStep * length : kPilotStep;
      break;
    case '3':
      if (d.z > -kPilotHeightLimit) pilot.z -= length != 0.0 ? kPilotStep * length : kPilotStep;
      break;
    default:
      break;
  }
  const double lowest = w.GroundHeightAt(pilot.x, pilot.y) + kPilotLowest;
  if (lowest > pilot.z) pilot.z = lowest;
}

void ApplyScenePlaces(SimState& s, const World& w, double pilotX, double pilotY, double startX,
                      double startY) {
  s.PilotPosition = {pilotX, pilotY, w.GroundHeightAt(pilotX, pilotY) + kPilotEyeHeight};
  s.StartPosition.x = startX;
  s.StartPosition.y = startY;
  const double winchY = startY + kWinchDistance;
  s.WinchPosition = {startX, winchY, w.GroundHeightAt(startX, winchY) + kWinchHeight};
}

void SimInit(SimState& s, const World& w, SimTick& tick, const Trace& trace,
             const std::function<void()>& initDisplay) {
  trace("TMainForm.SimInit\r\n");
  s.TimeStep = 0.05;
  RandomizeThermal(s, s.ModelPosition.x, s.ModelPosition.y, trace);
  if (initDisplay) initDisplay();
  InitFlight(s, w, trace);
  tick.ResetLastTick();
}

}  // namespace veltrane
