#include "sim/helicopter.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "sim/fp_guard.h"
#include "sim/math_u.h"

namespace veltrane {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = kPi / 2.0;
constexpr double kHalfAirDensity = 0.6125;
constexpr double kGravity = 9.81;
constexpr double kTailLiftLimit = 0.8;
constexpr double kGroundEffectHeight = 3.0;
// Blade elements sit at two thirds of the radius, where a blade's lift centres.
constexpr double kElementRadius = 2.0 / 3.0;

Vec3 ToWorld(const SimState& s, const Vec3& body) {
  Vec3 out;
  BodyToWorld(body, s.AxisForward, s.AxisRight, s.AxisUp, out);
  return out;
}

// Lift factor near the ground: 1 above 3 m, rising linearly to 1.6 at the
// ground. Below the ground (a model sinking through the terrain) it stays at
// 1.6 instead of growing without bound.
double GroundEffect(double height) {
  if (height > kGroundEffectHeight) return 1.0;
  return (kGroundEffectHeight - std::max(height, 0.0)) / 5.0 + 1.0;
}

// The world's queries run with the fault flags kept as they were: a flag the
// collision code raises is not a fault of the model.
bool ContactRayShielded(const World& w, const Vec3& origin, const Vec3& dir, World::RayHit& hit) {
  const FpFlagsPreserved keep;
  return w.ContactRay(origin, dir, hit);
}

double GroundBelowShielded(const World& w, const Vec3& p) {
  const FpFlagsPreserved keep;
  return w.GroundHeightBelow(p);
}

// Spring-damper force of one contact point against the surface its ray hits,
// in world axes; sets Crashed when the spring is overloaded.
Vec3 ContactForce(SimState& s, const World& w, const HeliContact& c) {
  const Vec3& o = c.WorldOffset;
  World::RayHit hit;
  if (!ContactRayShielded(w, s.ModelPosition, o, hit)) return {};

  Vec3 e1 = hit.a - hit.b;
  Vec3 e2 = hit.a - hit.c;
  Vec3 n = Cross(e1, e2);
  // The normal faces the model, against the ray.
  if (VecDot(n, o) > 0.0) n = n * -1.0;
  e2 = Cross(n, e1);
  VecNormalize(e1);
  VecNormalize(e2);
  VecNormalize(n);

  const double p = VecDot(n, hit.point - (o + s.ModelPosition));
  const Vec3& v = s.ModelVelocity;
  const Vec3 u{VecDot(v, e1), VecDot(v, e2), VecDot(v, n)};
  const double spring = p * c.ContactStiffness;
  const Vec3 f{-spring * u.x * c.ContactFriction, -spring * u.y * c.ContactFriction,
               spring - u.z * c.ContactDamping};
  if (p > c.ContactMaxForce / c.ContactStiffness) s.Crashed = true;
  Vec3 out;
  BodyToWorld(f, e1, e2, n, out);
  return out;
}

}  // namespace

double Expo(double x, double p) {
  if (x == 0.0) return 0.0;
  double e = 1.0;
  if (p > 0.0) e = 0.03 * p;
  if (p < 0.0) e = 1.0 / (0.03 * std::fabs(p));
  return Sign(x) * std::pow(std::fabs(x), e);
}

double BladeLiftCoef(const AirplaneParams& a, double angle) {
  double cl = angle * a.LiftSlope;
  if (cl > a.MaxLift) cl = a.MaxLift;
  if (cl < a.MinLift) cl = a.MinLift;
  return cl;
}

double TailLiftCoef(const AirplaneParams& a, double angle) {
  return std::clamp(angle * a.LiftSlope, -kTailLiftLimit, kTailLiftLimit);
}

double BladeDragCoef(const AirplaneParams& a, const HelicopterParams& h, double angle) {
  return h.BladeDragSlope * angle + a.ProfileDrag;
}

void ApplyTorque(SimState& s, const Vec3& torque) {
  const double dt = s.TimeStep;
  const Vec3& inertia = s.Heli.HeliInertia;
  Vec3 w;
  WorldToBody(s.AngularVelocity, s.AxisForward, s.AxisRight, s.AxisUp, w);
  Vec3 t;
  WorldToBody(torque, s.AxisForward, s.AxisRight, s.AxisUp, t);
  w.x += t.x * dt / inertia.x;
  w.y += t.y * dt / inertia.y;
  w.z += t.z * dt / inertia.z;
  BodyToWorld(w, s.AxisForward, s.AxisRight, s.AxisUp, s.AngularVelocity);
}

void RotateAttitude(SimState& s, const Vec3& angles) {
  RotateEuler(s.AxisForward, angles, s.AxisForward);
  RotateEuler(s.AxisRight, angles, s.AxisRight);
  VecNormalize(s.AxisForward);
  VecNormalize(s.AxisRight);
  VecCross(s.AxisRight, s.AxisForward, s.AxisUp);
  VecCross(s.AxisForward, s.AxisUp, s.AxisRight);
}

void MoveHelicopter(SimState& s, const World& w) {
  if (s.Crashed) return;
  const AirplaneParams& a = s.Airplane;
  HelicopterParams& h = s.Heli;
  const double dt = s.TimeStep;
  const Vec3& F = s.AxisForward;
  const Vec3& R = s.AxisRight;
  const Vec3& U = s.AxisUp;
  // Aerodynamics use the velocity through the air; the skids keep the ground's.
  const bool stillAir = s.Air.Still();
  Vec3 airRates;
  Vec3 Va = s.ModelVelocity;
  if (!stillAir) {
    s.Air.Advance(dt, s.ModelPosition, s.ModelVelocity, 2.0 * h.RotorRadius);
    Va = s.ModelVelocity - s.Air.AtModel(s.ModelPosition);
    // Body rates (roll, pitch, yaw) of the turbulence turned into the world axes
    // AngularVelocity uses.
    BodyToWorld(s.Air.TurbulenceRates(), s.AxisForward, s.AxisRight, s.AxisUp, airRates);
  }
  const Vec3& V = Va;

  // Offsets in world orientation: blade elements right, front, left, back.
  const double rb = kElementRadius * h.RotorRadius;
  const std::array<Vec3, 4> P{
      ToWorld(s, {0.0, rb, h.RotorHeight}), ToWorld(s, {rb, 0.0, h.RotorHeight}),
      ToWorld(s, {0.0, -rb, h.RotorHeight}), ToWorld(s, {-rb, 0.0, h.RotorHeight})};
  const Vec3 T = ToWorld(s, {-h.TailRotorArm, 0.0, 0.0});
  const int contacts = std::clamp(h.ContactCount, 0, kMaxContacts);
  for (int i = 0; i < contacts; ++i) {
    HeliContact& c = h.Contacts[static_cast<std::size_t>(i)];
    c.WorldOffset = ToWorld(s, c.Position);
  }

  const double pitch = Expo(s.FunctionValue[fn::kPitchCyclic], h.ExpoPitch);
  const double roll = Expo(s.FunctionValue[fn::kRollCyclic], h.ExpoRoll);
  const double yaw = Expo(s.FunctionValue[fn::kTailRotor], h.ExpoYaw);
  const double coll = Expo(s.FunctionValue[fn::kCollective], h.ExpoCollective);

  // Air as the blades meet it; the rotor turns anticlockwise seen from above.
  const Vec3 vn = U * VecDot(V, U);
  const Vec3 vp = (V - vn) * h.InPlaneFlowFactor;
  const double omega = h.RotorRpm / 60.0 * 2.0 * kPi;
  const double vb = omega * h.RotorRadius * kElementRadius;
  const Vec3 flow = vp + vn;
  const std::array<Vec3, 4> W{F * vb + flow, R * -vb + flow, F * -vb + flow, R * vb + flow};

  const Vec3 vs = R * (VecDot(V, R) * h.SideFlowFactor);
  const double omegaTail = h.TailRotorRpm / 60.0 * 2.0 * kPi;
  const Vec3 wt = U * (omegaTail * h.TailRotorRadius * kElementRadius) + vs;

  std::array<double, 4> angle{};
  for (std::size_t i = 0; i < 4; ++i)
    angle[i] = VecAngle(U, W[i]) - kHalfPi + coll * h.CollectiveGain;

  // Heading-hold gyro, weakened as the yaw stick moves out.
  const double yawRate = VecDot(s.AngularVelocity, U);
  const double gyro = std::max(1.0 - std::fabs(yaw) * h.GyroStickReduction / 100.0, 0.0);
  const double tailPitch = yaw * h.TailPitchGain + h.TailPitchTrim + h.GyroGain * gyro * yawRate;
  const double tailAngle = VecAngle(R, wt) - kHalfPi + tailPitch;

  // Each element's lift acts a quarter turn later, so the side elements pitch
  // and the front and back elements roll.
  angle[0] -= pitch * h.PitchCyclicGain;
  angle[2] += pitch * h.PitchCyclicGain;
  angle[1] -= roll * h.RollCyclicGain;
  angle[3] += roll * h.RollCyclicGain;

  const double ge = GroundEffect(s.ModelPosition.z - GroundBelowShielded(w, s.ModelPosition));

  std::array<Vec3, 4> L;
  std::array<Vec3, 4> D;
  for (std::size_t i = 0; i < 4; ++i) {
    const double speed = VecLength(W[i]);
    L[i] =
        U * (speed * speed * kHalfAirDensity * h.BladeArea / 2.0 * BladeLiftCoef(a, angle[i]) * ge);
    D[i] = W[i] * (-kHalfAirDensity * h.BladeArea / 2.0 * speed * BladeDragCoef(a, h, angle[i]));
  }
  const double tailSpeed = VecLength(wt);
  const Vec3 Ft =
      R * (tailSpeed * tailSpeed * kHalfAirDensity * h.TailRotorArea * TailLiftCoef(a, tailAngle));
  const Vec3 Ff = V * (-kHalfAirDensity * h.BladeArea * a.ParasiteDrag * VecLength(V));

  std::array<Vec3, kMaxContacts> C{};
  for (int i = 0; i < contacts; ++i)
    C[static_cast<std::size_t>(i)] = ContactForce(s, w, h.Contacts[static_cast<std::size_t>(i)]);

  // Torques are force x offset; RotateAttitude turns the opposite way, which
  // together gives the physical sense of rotation.
  ApplyTorque(s,
              (stillAir ? s.AngularVelocity : s.AngularVelocity - airRates) * -h.RotationalDamping);
  for (std::size_t i = 0; i < 4; ++i) ApplyTorque(s, Cross(L[i], P[(i + 1) % 4]));
  for (std::size_t i = 0; i < 4; ++i) ApplyTorque(s, Cross(D[i], P[i]));
  ApplyTorque(s, Cross(Ft, T));
  for (int i = 0; i < contacts; ++i)
    ApplyTorque(s, Cross(C[static_cast<std::size_t>(i)],
                         h.Contacts[static_cast<std::size_t>(i)].WorldOffset));

  RotateAttitude(s, s.AngularVelocity * dt);

  // Blade drag and tail force only turn the model.
  Vec3 contactSum;
  for (int i = 0; i < contacts; ++i) contactSum = contactSum + C[static_cast<std::size_t>(i)];
  s.ModelVelocity = s.ModelVelocity + (L[0] + L[1] + L[2] + L[3]) * (dt / a.Mass);
  s.ModelVelocity = s.ModelVelocity + contactSum * (dt / a.Mass);
  s.ModelVelocity = s.ModelVelocity + Ff * (dt / a.Mass);
  s.ModelVelocity.z -= kGravity * dt;

  s.ModelPosition = s.ModelPosition + s.ModelVelocity * dt;
  s.GroundHeight = GroundBelowShielded(w, s.ModelPosition);
}

}  // namespace veltrane
