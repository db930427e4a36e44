#pragma once

#include <cstdint>

namespace veltrane {

// The program-wide pseudo-random generator: s <- s * 134775813 + 1 (mod 2^32),
// uniform value s / 2^32. Never seeded from the clock, so the same actions give
// the same thermals and terrain shades on every run.
class ProgramRandom {
 public:
  double Next() {
    state_ = state_ * 134775813u + 1u;
    return static_cast<double>(state_) / 4294967296.0;
  }
  // Integer part of range times the next uniform value: 0 .. range-1.
  int NextInt(int range) { return static_cast<int>(Next() * range); }
  std::uint32_t State() const { return state_; }
  void SetState(std::uint32_t s) { state_ = s; }

 private:
  std::uint32_t state_ = 0;
};

}  // namespace veltrane
