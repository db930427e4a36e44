#pragma once

#include "base/math/vec3.h"
#include "sim/sim_state.h"
#include "sim/world.h"

namespace veltrane {

// Advances the helicopter by one sub-step of s.TimeStep seconds: a rigid body
// with four main-rotor blade elements, a tail rotor with heading-hold gyro,
// fuselage drag, ground effect and spring-damper contact points. Nothing
// happens once Crashed is set. Zero masses, inertias, stiffnesses or a still
// rotor raise floating-point faults, which the tick detects.
void MoveHelicopter(SimState& s, const World& w);

// Exponential stick curve: Sign(x) * |x|^e with e = 0.03 p (p > 0), 1 (p = 0)
// or 1 / (0.03 |p|) (p < 0); 0 for a centred stick.
double Expo(double x, double p);

// Main blade lift coefficient: angle * LiftSlope, at most MaxLift, then at least MinLift.
double BladeLiftCoef(const AirplaneParams& a, double angle);
// Tail blade lift coefficient: angle * LiftSlope within [-0.8, 0.8].
double TailLiftCoef(const AirplaneParams& a, double angle);
// Blade drag coefficient, rising linearly with the blade angle.
double BladeDragCoef(const AirplaneParams& a, const HelicopterParams& h, double angle);

// Adds the effect of a world torque over s.TimeStep to AngularVelocity, with the
// inertia of each body axis.
void ApplyTorque(SimState& s, const Vec3& torque);
// Turns the three axes by the small angles (world axes) and re-orthogonalises them.
void RotateAttitude(SimState& s, const Vec3& angles);

}  // namespace veltrane
