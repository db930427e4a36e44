#pragma once

#include <cstdint>

namespace veltrane {

// The moving air's own random numbers: splitmix64 and a polar-method normal
// deviate built from +, -, *, /, sqrt and frexp only (all exact in IEEE 754), so
// a seed gives the same numbers bit for bit with every compiler and C library.
// Plain data without padding: it is part of the flight state's bytes.
class AirRandom {
 public:
  // stream separates generators that share the pilot's seed (gusts, turbulence).
  AirRandom(std::uint32_t seed, std::uint64_t stream);
  std::uint64_t NextBits();
  double Uniform();  // [0, 1), 53 bits
  double Normal();   // mean 0, variance 1

 private:
  std::uint64_t state_;
  double spare_ = 0.0;
  std::uint64_t hasSpare_ = 0;
};

}  // namespace veltrane
