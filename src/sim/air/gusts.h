#pragma once

#include <cstdint>

#include "sim/air/air_random.h"
#include "sim/air/lag_chain.h"

namespace veltrane {

// Slow changes of the wind's speed and direction around the set wind: periods of
// several seconds to half a minute. Driven by its own seeded generator (never the
// program-wide one), so the same seed and the same steps give the same gusts.
class Gusts {
 public:
  explicit Gusts(std::uint32_t seed = 1);
  void Reset(std::uint32_t seed);
  // Advances the gust state by dt seconds.
  void Advance(double dt);
  // At the given strength (0..1): the factor on the wind speed (around 1, never
  // negative) and the change of the direction the wind blows from, degrees.
  double SpeedFactor(double strength) const;
  double DirectionOffsetDegrees(double strength) const;

 private:
  // Each signal is the sum of a quick and a slow smooth component.
  static constexpr int kParts = 2;
  double Signal(const LagChain (&parts)[kParts]) const;

  AirRandom rng_;
  LagChain speed_[kParts];
  LagChain direction_[kParts];
  // The steps prepared for the last step length (it rarely changes).
  double preparedDt_ = 0.0;
  LagChain::Step prepared_[kParts]{};
};

}  // namespace veltrane
