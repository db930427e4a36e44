#include "sim/air/gusts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <vector>

namespace veltrane {
namespace {

// Time where the autocorrelation pooled over the runs first falls to 1/e, lags
// and samples on a 50 ms grid.
double CorrelationTime(const std::vector<std::vector<double>>& runs, double dt) {
  const auto step = std::max<std::size_t>(1, static_cast<std::size_t>(0.05 / dt));
  double before = 1.0;
  for (std::size_t lag = step; lag * dt < 120.0; lag += step) {
    double sum = 0.0, norm = 0.0;
    for (const auto& s : runs)
      for (std::size_t i = 0; i + lag < s.size(); i += step)
        sum += s[i] * s[i + lag], norm += s[i] * s[i];
    if (sum / norm <= std::exp(-1.0))
      return (lag - step + step * (before - std::exp(-1.0)) / (before - sum / norm)) * dt;
    before = sum / norm;
  }
  return 1e9;
}

// Eight flights of ten minutes at strength 1, at the physics step and at
// half-second steps: the same statistics, and at the physics step no jumps.
TEST(Gusts, StatisticsPeriodsAndSmoothness) {
  for (double dt : {0.005, 0.5}) {
    std::vector<std::vector<double>> speed(8), direction(8);
    double sum = 0.0, lowest = 1.0, maxSpeedStep = 0.0, maxDirStep = 0.0;
    for (int k = 0; k < 8; ++k) {
      Gusts g(k + 1);
      for (int i = 0; i < static_cast<int>(600.0 / dt); ++i) {
        const double lastS = g.SpeedFactor(1.0), lastD = g.DirectionOffsetDegrees(1.0);
        g.Advance(dt);
        speed[k].push_back(g.SpeedFactor(1.0) - 1.0);
        direction[k].push_back(g.DirectionOffsetDegrees(1.0));
        sum += g.SpeedFactor(1.0), lowest = std::min(lowest, g.SpeedFactor(1.0));
        maxSpeedStep = std::max(maxSpeedStep, std::abs(g.SpeedFactor(1.0) - lastS));
        maxDirStep = std::max(maxDirStep, std::abs(g.DirectionOffsetDegrees(1.0) - lastD));
      }
    }
    auto rms = [](const std::vector<std::vector<double>>& runs) {
      double s2 = 0.0, n = 0.0;
      for (const auto& r : runs)
        for (double x : r) s2 += x * x, n += 1.0;
      return std::sqrt(s2 / n);
    };
    const double mean = sum / (8 * speed[0].size()),
                 times[] = {CorrelationTime(speed, dt), CorrelationTime(direction, dt)};
    std::cout << "  gusts dt " << dt << " s: speed factor mean " << mean << " sigma " << rms(speed)
              << ", direction sigma " << rms(direction) << " deg, correlation time " << times[0]
              << " / " << times[1] << " s, largest step " << maxSpeedStep << " / " << maxDirStep
              << " deg\n";
    EXPECT_NEAR(mean, 1.0, 0.03);
    EXPECT_NEAR(rms(speed), 0.28, 0.03);
    EXPECT_NEAR(rms(direction), 18.0, 2.5);
    EXPECT_GE(lowest, 0.0);
    for (double t : times) EXPECT_TRUE(t > 3.0 && t < 30.0) << t;
    if (dt == 0.005) {
      EXPECT_TRUE(maxSpeedStep < 0.01 && maxDirStep < 0.6);  // rough noise: ten times that
    }
  }
}

TEST(Gusts, CalmSeededAndScaled) {
  Gusts a(5), b(5), other(5);
  other.Reset(6);
  for (int i = 0; i < 1000; ++i) {
    a.Advance(0.005), b.Advance(0.0), b.Advance(0.005), other.Advance(0.005);
    EXPECT_TRUE(a.SpeedFactor(0.0) == 1.0 && a.DirectionOffsetDegrees(0.0) == 0.0);
    EXPECT_FALSE(std::signbit(a.DirectionOffsetDegrees(0.0)));
    EXPECT_TRUE(a.SpeedFactor(1.0) == b.SpeedFactor(1.0) &&
                a.DirectionOffsetDegrees(1.0) == b.DirectionOffsetDegrees(1.0));
    EXPECT_NE(a.SpeedFactor(1.0), other.SpeedFactor(1.0));
    EXPECT_NEAR(a.SpeedFactor(0.5) - 1.0, 0.5 * (a.SpeedFactor(1.0) - 1.0), 1e-12);
    EXPECT_NEAR(a.DirectionOffsetDegrees(0.25), 0.25 * a.DirectionOffsetDegrees(1.0), 1e-12);
  }
}

}  // namespace
}  // namespace veltrane
