#pragma once

#include <cstdint>

namespace veltrane::content {

// Integer hash of a lattice point and a seed: the only source of randomness in the
// generators, so their output is the same on every machine and every run.
std::uint32_t Hash(std::int32_t x, std::int32_t y, std::uint32_t seed);

// Uniform value in [0, 1) for a lattice point.
double Hash01(std::int32_t x, std::int32_t y, std::uint32_t seed);

// Smooth value noise in [0, 1]. With period > 0 the lattice wraps, so a texture
// built from it tiles without seams when its size is a multiple of the period.
double ValueNoise(double x, double y, std::uint32_t seed, int period = 0);

// Sum of octaves of value noise, normalised to [0, 1].
double FractalNoise(double x, double y, int octaves, std::uint32_t seed, int period = 0);

// A small deterministic sequence generator for scattering objects and shaping sounds.
class Sequence {
 public:
  explicit Sequence(std::uint32_t seed) : state_(seed) {}
  double Next();  // [0, 1)
  double Range(double lo, double hi) { return lo + (hi - lo) * Next(); }

 private:
  std::uint32_t state_;
};

}  // namespace veltrane::content
