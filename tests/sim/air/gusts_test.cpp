#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <vector>

#include "sim/air/gusts.h"

namespace veltrane {
namespace {

// Time where the autocorrelation pooled over the runs first falls to 1/e, on
// a grid of lags (and of samples) 50 ms apart.
double CorrelationTime(const std::vector<std::vector<double>>& runs, double dt) {
  const std::size_t step = std::max<std::size_t>(1, static_cast<std::size_t>(0.05 / dt));
  double before = 1.0;
  for (std::size_t lag = step; lag * dt < 120.0; lag += step) {
    double sum = 0.0, norm = 0.0;
    for (const auto& s : runs)
      for (std::size_t i = 0; i + lag < s.size(); i += step) sum += s[i] * s[i + lag], norm += s[i] * s[i];
    const double now = sum / norm;
    if (now <= std::exp(-1.0)) return (lag - step + step * (before - std::exp(-1.0)) / (before - now)) * dt;
    before = now;
  }
  return 1e9;
}

// Eight independent flights of ten minutes each at strength 1, at the physics
// step and at half-second steps: the same statistics, and at the physics step no
// jump from one step to the next.
TEST(Gusts, StatisticsPeriodsAndSmoothness) {
  struct Case {
    double dt;
    bool smooth;
  } cases[] = {{0.005, true}, {0.5, false}};
  for (const Case& k : cases) {
    std::vector<std::vector<double>> speed, direction;
    double sum = 0.0, sum2 = 0.0, dir2 = 0.0, n = 0.0, lowest = 1.0, maxSpeedStep = 0.0, maxDirStep = 0.0;
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
      Gusts g(seed);
      speed.emplace_back();
      direction.emplace_back();
      double lastS = g.SpeedFactor(1.0), lastD = g.DirectionOffsetDegrees(1.0);
      for (int i = 0; i < static_cast<int>(600.0 / k.dt); ++i) {
        g.Advance(k.dt);
        const double s = g.SpeedFactor(1.0), d = g.DirectionOffsetDegrees(1.0);
        speed.back().push_back(s - 1.0);
        direction.back().push_back(d);
        sum += s, sum2 += (s - 1.0) * (s - 1.0), dir2 += d * d, n += 1.0;
        lowest = std::min(lowest, s);
        maxSpeedStep = std::max(maxSpeedStep, std::abs(s - lastS));
        maxDirStep = std::max(maxDirStep, std::abs(d - lastD));
        lastS = s, lastD = d;
      }
    }
    const double speedSigma = std::sqrt(sum2 / n), dirSigma = std::sqrt(dir2 / n);
    const double speedTime = CorrelationTime(speed, k.dt), dirTime = CorrelationTime(direction, k.dt);
    std::cout << "  gusts dt " << k.dt << " s: speed factor mean " << sum / n << " sigma " << speedSigma
              << ", direction sigma " << dirSigma << " deg, correlation time " << speedTime << " / " << dirTime
              << " s, largest step " << maxSpeedStep << " / " << maxDirStep << " deg\n";
    EXPECT_NEAR(sum / n, 1.0, 0.03);
    EXPECT_NEAR(speedSigma, 0.28, 0.03);
    EXPECT_NEAR(dirSigma, 18.0, 2.5);
    EXPECT_GE(lowest, 0.0);
    for (double t : {speedTime, dirTime}) {
      EXPECT_GT(t, 3.0);
      EXPECT_LT(t, 30.0);
    }
    if (k.smooth) {
      // Rough (first-order) noise of these figures would jump ten times as far.
      EXPECT_LT(maxSpeedStep, 0.01);
      EXPECT_LT(maxDirStep, 0.6);
    }
  }
}

TEST(Gusts, CalmSeededAndScaled) {
  Gusts a(5), b(5), other(5);
  other.Reset(6);
  int differ = 0;
  for (int i = 0; i < 1000; ++i) {
    a.Advance(0.005);
    b.Advance(0.0);
    b.Advance(0.005);
    other.Advance(0.005);
    EXPECT_EQ(a.SpeedFactor(0.0), 1.0);
    EXPECT_EQ(a.DirectionOffsetDegrees(0.0), 0.0);
    EXPECT_FALSE(std::signbit(a.DirectionOffsetDegrees(0.0)));
    EXPECT_EQ(a.SpeedFactor(1.0), b.SpeedFactor(1.0));
    EXPECT_EQ(a.DirectionOffsetDegrees(1.0), b.DirectionOffsetDegrees(1.0));
    differ += a.SpeedFactor(1.0) != other.SpeedFactor(1.0);
    EXPECT_NEAR(a.SpeedFactor(0.5) - 1.0, 0.5 * (a.SpeedFactor(1.0) - 1.0), 1e-12);
    EXPECT_NEAR(a.DirectionOffsetDegrees(0.25), 0.25 * a.DirectionOffsetDegrees(1.0), 1e-12);
  }
  EXPECT_EQ(differ, 1000);
}

}  // namespace
}  // namespace veltrane
