#include "sim/air/gusts.h"

#include <algorithm>
#include <cmath>

namespace veltrane {

namespace {
constexpr std::uint64_t kStream = 0x67757374ull;
// Two equal lags in a row per part: the strongest swings come at a period of
// 2 pi sqrt(3) tau, about 9 s and 35 s here, and the signal is smooth (its
// slope is finite), so no 5 ms step shows a jump. Variance shares sum to 1.
constexpr double kTau[2] = {0.8, 3.2};
constexpr double kShare[2] = {0.4, 0.6};
// At strength 1: the wind speed's standard deviation relative to the set wind,
// and the direction's in degrees.
constexpr double kSpeedSigma = 0.28;
constexpr double kDirectionSigma = 18.0;
}  // namespace

Gusts::Gusts(std::uint32_t seed) : rng_(seed, kStream) { Reset(seed); }

void Gusts::Reset(std::uint32_t seed) {
  rng_ = AirRandom(seed, kStream);
  preparedDt_ = 0.0;
  // Started in the steady state, so the first seconds gust like any others.
  for (int i = 0; i < kParts; ++i) {
    speed_[i].Start(kTau[i], 1.0, false, rng_);
    direction_[i].Start(kTau[i], 1.0, false, rng_);
  }
}

void Gusts::Advance(double dt) {
  if (!(dt > 0.0)) return;
  if (dt != preparedDt_) {
    for (int i = 0; i < kParts; ++i) prepared_[i] = LagChain::Prepare(dt, kTau[i], 1.0, false);
    preparedDt_ = dt;
  }
  for (int i = 0; i < kParts; ++i) {
    speed_[i].Advance(prepared_[i], rng_);
    direction_[i].Advance(prepared_[i], rng_);
  }
}

double Gusts::Signal(const LagChain (&parts)[kParts]) const {
  // x2 has variance 1/2 in the steady state.
  double sum = 0.0;
  for (int i = 0; i < kParts; ++i) sum += std::sqrt(2.0 * kShare[i]) * parts[i].x[1];
  return sum;
}

double Gusts::SpeedFactor(double strength) const {
  if (!(strength > 0.0)) return 1.0;
  return std::max(0.0, 1.0 + kSpeedSigma * std::min(strength, 1.0) * Signal(speed_));
}

double Gusts::DirectionOffsetDegrees(double strength) const {
  if (!(strength > 0.0)) return 0.0;
  return kDirectionSigma * std::min(strength, 1.0) * Signal(direction_);
}

}  // namespace veltrane
