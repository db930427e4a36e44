#include "sim/air/turbulence.h"

#include <algorithm>
#include <cmath>

namespace veltrane {

namespace {
constexpr std::uint64_t kStream = 0x647279646e6eull;
constexpr double kPi = 3.141592653589793;
constexpr double kFoot = 0.3048;
// The low-altitude model holds from 10 ft (below, the scales would vanish) to
// its top of 1000 ft.
constexpr double kLowestFeet = 10.0;
constexpr double kTopFeet = 1000.0;
// A model drifting with the air would sit still in frozen turbulence, yet the
// eddies themselves change. The path speed is taken as at least the wind at 6 m
// (the speed they pass a fixed point at) and 1 m/s: the air stays alive and no
// filter divides by zero.
constexpr double kLowestSpeed = 1.0;
constexpr double kShortestSpan = 0.05;
}  // namespace

DrydenTurbulence::DrydenTurbulence(std::uint32_t seed) : rng_(seed, kStream) {}

void DrydenTurbulence::Reset(std::uint32_t seed) { *this = DrydenTurbulence(seed); }

void DrydenTurbulence::Advance(double dt, const Conditions& c) {
  if (!(dt > 0.0)) return;
  const double strength = c.strength > 0.0 ? std::min(c.strength, 1.0) : 0.0;
  const double w20 = c.windAt6m > 0.0 ? c.windAt6m : 0.0;
  double feet = c.height / kFoot;
  if (!(feet > kLowestFeet)) feet = kLowestFeet;  // also a NaN height
  if (feet > kTopFeet) feet = kTopFeet;
  // MIL-HDBK-1797 low altitude, lengths in feet: L_w = h, L_u = L_v =
  // h / (0.177 + 0.000823 h)^1.2; sigma_w = 0.1 W20, sigma_u = sigma_v =
  // sigma_w / (0.177 + 0.000823 h)^0.4.
  const double k = 0.177 + 0.000823 * feet;
  const double lw = feet * kFoot;
  const double k02 = std::pow(k, 0.2);
  const double lu = lw / (k * k02);
  const double sigmaW = 0.1 * w20 * strength;
  const double sigmaU = sigmaW / (k02 * k02);
  double speed = kLowestSpeed;
  if (c.airspeed > speed) speed = c.airspeed;
  if (w20 > speed) speed = w20;
  const double span = c.wingSpan > kShortestSpan ? c.wingSpan : kShortestSpan;

  // Time constants of the handbook's filters at this speed.
  const double tauU = lu / speed, tauW = lw / speed;
  const double tauP = 4.0 * span / (kPi * speed);
  const double tauQ = 4.0 * span / (kPi * speed);
  const double tauR = 3.0 * span / (kPi * speed);

  if (!started_) {
    u_.Start(rng_);
    v_.Start(tauU, tauR, true, rng_);
    w_.Start(tauW, tauQ, true, rng_);
    p_.Start(rng_);
    started_ = 1;
  }
  u_.Advance(dt, tauU, rng_);
  v_.Advance(dt, tauU, tauR, true, rng_);
  w_.Advance(dt, tauW, tauQ, true, rng_);
  p_.Advance(dt, tauP, rng_);

  // The handbook's p_g filter K / (1 + tauP s), K = sigma_w sqrt(0.8 / V)
  // (pi / 4b)^(1/6) / L_w^(1/3), on white noise of unit one-sided density has
  // the variance K^2 pi / (2 tauP).
  const double gainP =
      sigmaW * std::sqrt(0.8 / speed) * std::pow(kPi / (4.0 * span * lw * lw), 1.0 / 6.0);
  scaleU_ = sigmaU;
  scaleV_ = sigmaU / std::sqrt(2.0);  // Y() has variance 2
  scaleW_ = sigmaW / std::sqrt(2.0);
  scaleP_ = gainP * std::sqrt(kPi / (2.0 * tauP));
  // q = (s / V) / (1 + tauQ s) w = (w - lagged w) / (V tauQ); r likewise from v,
  // negative (v points left).
  scaleQ_ = scaleW_ / (speed * tauQ);
  scaleR_ = -scaleV_ / (speed * tauR);
  // u along where the wind blows to: from theta means towards (-sin, -cos).
  if (c.windFromDegrees != fromDegrees_) {
    const double a = c.windFromDegrees * (kPi / 180.0);
    alongX_ = -std::sin(a);
    alongY_ = -std::cos(a);
    fromDegrees_ = c.windFromDegrees;
  }
}

Vec3 DrydenTurbulence::Linear() const {
  if (scaleW_ == 0.0) return {};
  const double u = scaleU_ * u_.x, v = scaleV_ * v_.Y(), w = scaleW_ * w_.Y();
  // v's unit vector is u's turned 90 degrees to the left: (-alongY, alongX).
  return {u * alongX_ - v * alongY_, u * alongY_ + v * alongX_, w};
}

Vec3 DrydenTurbulence::Rates() const {
  if (scaleW_ == 0.0) return {};
  return {scaleP_ * p_.x, scaleQ_ * w_.HighPass(), scaleR_ * v_.HighPass()};
}

}  // namespace veltrane
