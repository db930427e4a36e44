#include "sim/air/air_random.h"

#include <bit>
#include <cmath>

namespace veltrane {

namespace {

std::uint64_t Mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

// ln x for normal x > 0 without the C library's log, whose last bit differs
// between libraries: x = m 2^e with m in [sqrt(1/2), sqrt(2)) taken from the
// bits, and ln m = 2 atanh t, t = (m - 1) / (m + 1), |t| < 0.172, summed to
// t^21 (the first term left out is below 1e-17 of the result).
double Ln(double x) {
  const auto bits = std::bit_cast<std::uint64_t>(x);
  int e = static_cast<int>((bits >> 52) & 0x7ff) - 1022;
  double m =
      std::bit_cast<double>((bits & 0x000fffffffffffffull) | 0x3fe0000000000000ull);  // [0.5, 1)
  if (m < 0.70710678118654752) {
    m *= 2.0;
    --e;
  }
  const double t = (m - 1.0) / (m + 1.0);
  const double t2 = t * t;
  constexpr double kInverseOdd[] = {1.0 / 3,  1.0 / 5,  1.0 / 7,  1.0 / 9,  1.0 / 11,
                                    1.0 / 13, 1.0 / 15, 1.0 / 17, 1.0 / 19, 1.0 / 21};
  double sum = kInverseOdd[9];
  for (int k = 8; k >= 0; --k) sum = sum * t2 + kInverseOdd[k];
  sum = sum * t2 + 1.0;
  // ln 2 split so that e * kLn2Hi is exact for |e| < 2^11.
  constexpr double kLn2Hi = 6.93147180369123816490e-01;
  constexpr double kLn2Lo = 1.90821492927058770002e-10;
  return e * kLn2Hi + (2.0 * t * sum + e * kLn2Lo);
}

}  // namespace

AirRandom::AirRandom(std::uint32_t seed, std::uint64_t stream)
    : state_(Mix(stream ^ (static_cast<std::uint64_t>(seed) * 0x9e3779b97f4a7c15ull))) {}

std::uint64_t AirRandom::NextBits() {
  state_ += 0x9e3779b97f4a7c15ull;
  return Mix(state_);
}

double AirRandom::Uniform() { return static_cast<double>(NextBits() >> 11) * 0x1.0p-53; }

double AirRandom::Normal() {
  if (hasSpare_) {
    hasSpare_ = 0;
    return spare_;
  }
  double u = 0.0, v = 0.0, s = 0.0;
  do {
    u = 2.0 * Uniform() - 1.0;
    v = 2.0 * Uniform() - 1.0;
    s = u * u + v * v;
  } while (s >= 1.0 || s == 0.0);
  const double f = std::sqrt(-2.0 * Ln(s) / s);
  spare_ = v * f;
  hasSpare_ = 1;
  return u * f;
}

}  // namespace veltrane
