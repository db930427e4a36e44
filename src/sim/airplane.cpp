#include "sim/airplane.h"

#include <cmath>
#include <optional>

#include "sim/fp_guard.h"
#include "sim/math_u.h"
#include "sim/thermals.h"

namespace veltrane {

namespace {
constexpr double kHalfRho = 0.6125;  // half the air density, kg/m^3
constexpr double kGravity = 9.81;
constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kStillAirspeed = 1e-7;     // below this the body angle of attack is 0
constexpr double kStillGroundSpeed = 1e-5;  // below this drag and friction vanish
constexpr double kRightInducedFactor = 1.05;
constexpr double kRollDampSpanDivisor = 3.0;
constexpr double kRollDampFactor = 1.2;
constexpr double kWinchPullWeights = 1.2;
constexpr double kCrashSinkSpeed = -3.0;
constexpr double kCrashSpeed = 30.0;
constexpr double kGearNoseLimit = 0.3;

struct OscillatorResult {
  double change;
  double rate;
};

// Exact solution of y'' + 2v y' + K y = 0 over dt in the oscillating form. The
// absolute value keeps the oscillating form also when K < v^2; omega = 0 divides
// by zero and is left to the tick's fault handling.
OscillatorResult OscillatorStep(double y0, double r0, double k, double v, double dt) {
  const double d = -v;
  const double omega = std::sqrt(std::fabs(k - d * d));
  const double a = y0;
  const double b = (r0 - d * y0) / omega;
  const double e = std::exp(d * dt);
  const double sn = std::sin(omega * dt);
  const double cs = std::cos(omega * dt);
  const double y1 = e * (a * cs + b * sn);
  const double r1 = e * (sn * (d * b - a * omega) + cs * (d * a + b * omega));
  return {y1 - y0, r1};
}

// Angle between the air flow and the plane normal to n, positive with air from below.
double FlowAngle(const Vec3& velocity, const Vec3& n, double speed) {
  return ArcCos(VecDot(velocity, n) / speed) - kHalfPi;
}

// Lift coefficient with the stall beyond MaxLift and below MinLift.
double LiftCoefficient(const AirplaneParams& p, double a) {
  double cl = p.LiftSlope * a;
  if (cl > p.MaxLift) {
    cl = p.MaxLift - (a - p.MaxLift / p.LiftSlope) * p.StallLiftSlope;
    if (cl < 0.0) cl = 0.0;
  } else if (cl < p.MinLift) {
    cl = p.MinLift - (a - p.MinLift / p.LiftSlope) * p.StallLiftSlope;
    if (cl > 0.0) cl = 0.0;
  }
  return cl;
}

// Profile drag; the stall tests compare the angle, not the lift coefficient.
double ProfileDragCoefficient(const AirplaneParams& p, double a) {
  const double stallAngle = p.MaxLift / p.LiftSlope;
  const double invertedStallAngle = p.MinLift / p.LiftSlope;
  if (a > stallAngle) return p.ProfileDrag + (a - stallAngle) * p.StallDragSlope;
  if (a < invertedStallAngle) return p.ProfileDrag - (a - invertedStallAngle) * p.StallDragSlope;
  return p.ProfileDrag;
}

struct HalfWing {
  double lift;     // along AxisUp
  Vec3 dragForce;  // drag and wheel friction, along the velocity
};

// The air the model flies through in this sub-step. In still air `still` is set
// and the relative velocity is the ground velocity itself, so every formula runs
// exactly as it always has.
struct Airflow {
  bool still = true;
  Vec3 wind;      // the air's velocity at the model
  Vec3 velocity;  // the model's velocity relative to the air
  Vec3 rates;     // rotational turbulence: roll (right wing down), pitch, yaw
};

// One wing half. side is +1 for the right half, -1 for the left; the right half's
// induced drag carries an extra factor the left one does not.
HalfWing WingHalf(const SimState& s, const Airflow& air, double side, double speed,
                  double deltaPitch) {
  const AirplaneParams& p = s.Airplane;
  const Vec3 normal = s.AxisUp - side * p.Dihedral * s.AxisRight;
  double a = 0.0;
  if (speed != 0.0) {
    a = FlowAngle(air.velocity, normal, speed) + p.WingIncidence +
        side * s.FunctionValue[fn::kAileron] * p.AileronGain + deltaPitch / 2.0;
  }
  const double cl = LiftCoefficient(p, a);
  const double lift = kHalfRho * p.WingArea / 2.0 * speed * speed * cl;
  const double spanSq = kPi * p.WingSpan * p.WingSpan;
  const double induced = side > 0.0 ? cl * cl * p.WingArea / 2.0 / spanSq * kRightInducedFactor
                                    : cl * cl * p.WingArea / spanSq / 2.0;
  const double cd = induced + ProfileDragCoefficient(p, a) + p.ParasiteDrag;
  double k = -cd * kHalfRho * speed * p.WingArea;
  if (air.still) {
    if (!s.Airborne) {
      // Touching the ground in the previous sub-step: the half carries what its lift does not.
      if (std::fabs(speed) >= kStillGroundSpeed) {
        k -= std::fabs(kGravity * p.Mass / 2.0 - lift) * p.WheelFriction / std::fabs(speed);
      } else {
        k = 0.0;
      }
    }
    return {lift, s.ModelVelocity * k};
  }
  // In moving air the drag follows the air and the wheels' friction the ground.
  Vec3 force = air.velocity * k;
  if (!s.Airborne) {
    const double groundSpeed = VecLength(s.ModelVelocity);
    if (groundSpeed >= kStillGroundSpeed) {
      // Friction stops a rolling model but never pushes it backwards within a step.
      const double friction = std::min(std::fabs(kGravity * p.Mass / 2.0 - lift) * p.WheelFriction,
                                       p.Mass / 2.0 * groundSpeed / std::max(s.TimeStep, 1e-9));
      force = force + s.ModelVelocity * (-friction / groundSpeed);
    }
  }
  return {lift, force};
}

Vec3 Normalized(Vec3 v) {
  VecNormalize(v);
  return v;
}

void UpdateAttitude(SimState& s, double deltaPitch, double deltaYaw, double dt) {
  Vec3& f = s.AxisForward;
  Vec3& u = s.AxisUp;
  Vec3& r = s.AxisRight;
  f = Normalized(f + deltaPitch * u);
  u = Normalized(Cross(r, f));
  f = Normalized(f + deltaYaw * r);
  r = Normalized(Cross(f, u));
  r = Normalized(r + s.RollRate * dt * u);
  u = Normalized(Cross(r, f));
}

// The gear holds the model on the ground: no vertical speed, level wings, the
// nose within the limit of the horizon, and the right way up.
void HoldOnGear(SimState& s) {
  Vec3& f = s.AxisForward;
  Vec3& u = s.AxisUp;
  Vec3& r = s.AxisRight;
  s.ModelVelocity.z = 0.0;
  r.z = 0.0;
  u = Cross(r, f);
  VecNormalize(r);
  VecNormalize(u);
  if (std::fabs(f.z) > kGearNoseLimit) {
    f.z = Sign(f.z) * kGearNoseLimit;
    u = Cross(r, f);
    VecNormalize(f);
    VecNormalize(u);
  }
  if (u.z < 0.0) {
    u = u * -1.0;
    r = r * -1.0;
  }
}

double GroundBelow(const World& w, const Vec3& p) {
  const FpFlagsPreserved keep;
  return w.GroundHeightBelow(p);
}

bool HitsObstacle(const World& w, const Vec3& p, double radius) {
  const FpFlagsPreserved keep;
  return w.SphereCollision(p, radius);
}

// Lift along the body's up axis and the explicit step can both speed the model up
// through the air; a passive wing never does. Where the step would, the air's force
// is cut to one that only turns the velocity through the air, so that no stall and
// tumble can pump energy into the model. Otherwise, and on the wheels, nothing
// changes, bit for bit.
std::optional<Vec3> AirForceThatAddsNoSpeed(const Vec3& through, const Vec3& airForce, double mass,
                                            double dt) {
  if (dt <= 0.0) return std::nullopt;
  const Vec3 after = through + airForce * (dt / mass);
  const double before2 = VecDot(through, through);
  const double after2 = VecDot(after, after);
  if (after2 <= before2) return std::nullopt;
  const Vec3 turned = after * std::sqrt(before2 / after2);
  return (turned - through) * (mass / dt);
}

// Steps 1 to 16: forces, motion and attitude of a model that has not crashed.
void Fly(SimState& s, const World& w) {
  const AirplaneParams& p = s.Airplane;
  const double dt = s.TimeStep;
  const auto& fv = s.FunctionValue;

  const Vec3 thrust = s.AxisForward * ((fv[fn::kThrottle] + 1.0) / 2.0 * p.MaxThrust);

  Airflow air;
  air.still = s.Air.Still();
  if (air.still) {
    air.velocity = s.ModelVelocity;
  } else {
    s.Air.Advance(dt, s.ModelPosition, s.ModelVelocity, p.WingSpan);
    air.wind = s.Air.AtModel(s.ModelPosition);
    air.velocity = s.ModelVelocity - air.wind;
    air.rates = s.Air.TurbulenceRates();
  }

  const double v = VecLength(air.velocity);
  s.Airspeed = v;
  const double alpha = std::fabs(v) > kStillAirspeed ? FlowAngle(air.velocity, s.AxisUp, v) : 0.0;

  // Pitch: the angle of attack oscillates towards the trim the elevator sets.
  const double q = kHalfRho * v * v;
  const double cgArm = 0.25 * p.WingChord - p.CgPosition;
  const double tailVolume = p.StabilizerArea * p.TailArm;
  const double k1 = q * p.LiftSlope / p.PitchInertia * (p.WingArea * cgArm + tailVolume);
  const double k2 = q / p.PitchInertia *
                    (tailVolume * p.LiftSlope * fv[fn::kElevator] * p.ElevatorGain -
                     p.PitchMomentCoef * p.WingChord * p.WingArea +
                     p.LiftSlope * p.WingArea * cgArm * p.WingIncidence);
  double deltaPitch;
  if (k1 == 0.0) {
    deltaPitch = s.PitchRate * dt;
  } else {
    // A turning gust moves the angle the damping settles to: y'' + 2v (y' - q) + K y = 0.
    double trim = alpha + k2 / k1;
    if (air.rates.y != 0.0) trim -= 2.0 * v * air.rates.y / k1;
    const OscillatorResult r = OscillatorStep(trim, s.PitchRate, k1, v, dt);
    deltaPitch = r.change;
    s.PitchRate = r.rate;
  }

  // Yaw: the sideslip oscillates towards what the rudder commands.
  double deltaYaw = 0.0;
  if (v != 0.0) {
    double beta = FlowAngle(air.velocity, s.AxisRight, v) + fv[fn::kRudder] * p.RudderGain;
    const double ky = kHalfRho * v * v * p.LiftSlope / p.YawInertia * p.FinArea * p.TailArm;
    if (ky == 0.0) {
      deltaYaw = s.YawRate * dt;
    } else {
      if (air.rates.z != 0.0) beta -= 2.0 * v * air.rates.z / ky;
      const OscillatorResult r = OscillatorStep(beta, s.YawRate, ky, v, dt);
      deltaYaw = r.change;
      s.YawRate = r.rate;
    }
  }

  const HalfWing right = WingHalf(s, air, +1.0, v, deltaPitch);
  const HalfWing left = WingHalf(s, air, -1.0, v, deltaPitch);
  const Vec3 lift = s.AxisUp * (right.lift + left.lift);
  const Vec3 drag = right.dragForce + left.dragForce;

  // Roll: lift difference of the halves against quadratic damping.
  s.RollRate += (right.lift - left.lift) * (p.WingSpan / 4.0) * dt / p.RollInertia;
  // The damping acts on the roll relative to the air; a rolling gust (right wing
  // down) counts against RollRate (right wing up).
  const double rollThroughAir = air.rates.x != 0.0 ? s.RollRate + air.rates.x : s.RollRate;
  if (rollThroughAir != 0.0) {
    const double damp = rollThroughAir * p.WingSpan / kRollDampSpanDivisor;
    s.RollRate -= (rollThroughAir / std::fabs(rollThroughAir)) * p.WingArea * damp * damp *
                  kRollDampFactor / p.RollInertia * dt;
  }

  // The winch line pulls towards the winch until the winch is behind the nose.
  Vec3 winch;
  if (s.WinchAttached) {
    winch = s.WinchPosition - s.ModelPosition;
    // Scaled by division on purpose: standing exactly on the winch point is a fault.
    winch = winch * (kWinchPullWeights * kGravity * p.Mass / VecLength(winch));
    // It also lets go at the top of the launch: once the model sinks on a line
    // that pulls it down more steeply than forward, the line would only drag it
    // into a dive towards the winch and release it far too fast.
    const bool overTheTop =
        s.Airborne && s.ModelVelocity.z <= 0.0 && -winch.z > std::hypot(winch.x, winch.y);
    if (VecDot(s.AxisForward, winch) < 0.0 || overTheTop) {
      s.WinchAttached = false;
      winch = {};
    }
  }

  Vec3 force = thrust + lift + drag + winch;
  if (const auto limited = s.Airborne
                               ? AirForceThatAddsNoSpeed(air.velocity, lift + drag, p.Mass, dt)
                               : std::nullopt) {
    force = thrust + *limited + winch;
  }
  Vec3& vel = s.ModelVelocity;
  vel.x += (force.x / p.Mass) * dt;
  vel.y += (force.y / p.Mass) * dt;
  vel.z += (force.z / p.Mass - kGravity) * dt;

  if (!air.still) {
    // Thermals drift with the wind at the height they are met.
    DriftThermals(s.Thermals, air.wind.x * dt, air.wind.y * dt);
  }
  RecycleThermals(s, s.ModelPosition.x, s.ModelPosition.y);
  s.ThermalLift = ThermalLiftAt(s.Thermals, s.ModelPosition.x, s.ModelPosition.y,
                                s.ModelPosition.z - s.GroundHeight);

  // The thermal lifts the model without changing its velocity.
  s.ModelPosition.x += vel.x * dt;
  s.ModelPosition.y += vel.y * dt;
  s.ModelPosition.z += (vel.z + s.ThermalLift) * dt;

  s.GroundHeight = GroundBelow(w, s.ModelPosition);
  s.Airspeed = air.still ? VecLength(vel) : VecLength(vel - air.wind);
  UpdateAttitude(s, deltaPitch, deltaYaw, dt);
}

}  // namespace

void MoveAirplane(SimState& s, const World& w) {
  const bool indestructible = s.Flags.Autorestart;
  if (!s.Crashed) Fly(s, w);

  if (!indestructible && !s.Crashed && HitsObstacle(w, s.ModelPosition, s.GroundClearance * 0.5)) {
    s.Crashed = true;
  }

  if (s.GroundHeight + s.GroundClearance > s.ModelPosition.z) {
    s.ModelPosition.z = s.GroundHeight + s.GroundClearance;
    s.Airborne = false;
    // The crash tests judge the speed over the ground, not through the air.
    const double impactSpeed = s.Air.Still() ? s.Airspeed : VecLength(s.ModelVelocity);
    const bool hard =
        s.ModelVelocity.z < kCrashSinkSpeed || impactSpeed > kCrashSpeed || s.AxisUp.z < 0.0;
    if (hard && !s.Crashed && !indestructible) {
      s.WinchAttached = false;
      Vec3& vel = s.ModelVelocity;
      vel = {vel.x / 10000.0, vel.y / 10000.0, vel.z / 10000.0};
      s.PitchRate = 0.0;
      s.YawRate = 0.0;
      s.RollRate = 0.0;
      s.Crashed = true;
    }
    if (hard && indestructible) s.CrashAbsorbed = true;
    if (!s.Crashed) HoldOnGear(s);
  } else {
    s.Airborne = true;
  }
}

}  // namespace veltrane
