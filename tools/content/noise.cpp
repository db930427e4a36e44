#include "noise.h"

#include <cmath>

namespace veltrane::content {

std::uint32_t Hash(std::int32_t x, std::int32_t y, std::uint32_t seed) {
  std::uint32_t h = seed * 0x9E3779B9u;
  h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double Hash01(std::int32_t x, std::int32_t y, std::uint32_t seed) {
  return static_cast<double>(Hash(x, y, seed) >> 8) / 16777216.0;
}

namespace {

int Wrap(int v, int period) {
  if (period <= 0) return v;
  const int m = v % period;
  return m < 0 ? m + period : m;
}

double Smooth(double t) { return t * t * (3.0 - 2.0 * t); }

}  // namespace

double ValueNoise(double x, double y, std::uint32_t seed, int period) {
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  const int ix = static_cast<int>(fx);
  const int iy = static_cast<int>(fy);
  const double tx = Smooth(x - fx);
  const double ty = Smooth(y - fy);
  const int x0 = Wrap(ix, period), x1 = Wrap(ix + 1, period);
  const int y0 = Wrap(iy, period), y1 = Wrap(iy + 1, period);
  const double a = Hash01(x0, y0, seed), b = Hash01(x1, y0, seed);
  const double c = Hash01(x0, y1, seed), d = Hash01(x1, y1, seed);
  const double top = a + (b - a) * tx;
  const double bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

double FractalNoise(double x, double y, int octaves, std::uint32_t seed, int period) {
  double sum = 0.0;
  double amplitude = 1.0;
  double total = 0.0;
  double scale = 1.0;
  for (int o = 0; o < octaves; ++o) {
    const int p = period > 0 ? period * static_cast<int>(scale) : 0;
    sum += amplitude * ValueNoise(x * scale, y * scale, seed + 101u * o, p);
    total += amplitude;
    amplitude *= 0.5;
    scale *= 2.0;
  }
  return sum / total;
}

double Sequence::Next() {
  state_ = state_ * 1664525u + 1013904223u;
  return static_cast<double>(state_ >> 8) / 16777216.0;
}

}  // namespace veltrane::content
