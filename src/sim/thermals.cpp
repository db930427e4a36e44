#include "sim/thermals.h"

#include <algorithm>
#include <cmath>

namespace veltrane {

namespace {
constexpr double kScatter = 2500.0;
constexpr double kRecycleWindow = 1250.0;
constexpr double kRadius = 60.0;
constexpr double kHeightScale = 30.0;
constexpr double kAirSink = 0.03;
constexpr double kLiftCap = 6.0;

int ActiveCount(const ThermalTable& t) { return std::clamp(t.iBubbles, 0, kMaxThermals); }

double RandomStrength(ProgramRandom& r, double bubbleZ) {
  return (0.75 * r.Next() + 0.25) * bubbleZ;
}
}  // namespace

void RandomizeThermal(SimState& s, double x, double y, const Trace& trace) {
  trace("ThermalFrm.RandomizeThermal\r\n");
  ThermalTable& t = s.Thermals;
  const int n = ActiveCount(t);
  for (int i = 0; i < n; ++i) {
    Thermal& e = t.Thermals[static_cast<std::size_t>(i)];
    // Three draws per entry in this order, so the sequence is reproducible.
    e.x = x + (2.0 * s.Random.Next() - 1.0) * kScatter;
    e.y = y + (2.0 * s.Random.Next() - 1.0) * kScatter;
    e.strength = RandomStrength(s.Random, t.BubbleZ);
    e.radius = kRadius;
  }
}

int ThermalRandomDraws(const ThermalTable& t) { return 3 * ActiveCount(t); }

void RecycleThermals(SimState& s, double x, double y) {
  ThermalTable& t = s.Thermals;
  const int n = ActiveCount(t);
  for (int i = 0; i < n; ++i) {
    Thermal& e = t.Thermals[static_cast<std::size_t>(i)];
    if (std::fabs(e.x - x) > kRecycleWindow || std::fabs(e.y - y) > kRecycleWindow) {
      e.x = x + (s.Random.Next() - 0.5) * kScatter;
      e.y = y + (s.Random.Next() - 0.5) * kScatter;
      e.strength = RandomStrength(s.Random, t.BubbleZ);
      e.radius = kRadius;
    }
  }
}

void DriftThermals(ThermalTable& t, double dx, double dy) {
  const int n = ActiveCount(t);
  for (int i = 0; i < n; ++i) {
    t.Thermals[static_cast<std::size_t>(i)].x += dx;
    t.Thermals[static_cast<std::size_t>(i)].y += dy;
  }
}

double ThermalLiftAt(const ThermalTable& t, double x, double y, double h) {
  double sum = 0.0;
  const int n = ActiveCount(t);
  for (int i = 0; i < n; ++i) {
    const Thermal& e = t.Thermals[static_cast<std::size_t>(i)];
    const double dx = x - e.x;
    const double dy = y - e.y;
    const double d2 = dx * dx + dy * dy;
    const double r2 = e.radius * e.radius;
    const double r4 = r2 * r2;
    const double denom = d2 * d2 + r4;
    // A zero-radius entry exactly at its own centre would be 0/0; it gives nothing.
    if (denom > 0.0) sum += e.strength * r4 / denom;
  }
  // At 30 m or more below the terrain the fade-in term would divide by zero or
  // flip sign; no thermal reaches there.
  const double scaled = h / kHeightScale + 1.0;
  const double fade = scaled > 0.0 ? 1.0 - 1.0 / scaled : 0.0;
  double lift = fade * sum - kAirSink;
  if (lift > kLiftCap) lift = kLiftCap;
  return lift;
}

}  // namespace veltrane
