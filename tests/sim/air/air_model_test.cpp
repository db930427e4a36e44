#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "sim/air/air.h"
#include "sim/math_u.h"

namespace veltrane {
namespace {

WindSettings Windy(double speed, int gusts, int turbulence, std::uint32_t seed = 3) {
  WindSettings w;
  w.speed = speed;
  w.fromDegrees = 40.0;
  w.gusts = gusts;
  w.turbulence = turbulence;
  w.turbulenceSeed = seed;
  return w;
}

TEST(AirModel, StillAirAnswersExactlyZeroWhateverElseIsSet) {
  AirModel air;
  air.SetWind(Windy(0.0, 100, 100));
  const Vec3 p{10.0, 20.0, 30.0};
  for (int i = 0; i < 100; ++i) air.Advance(0.005, p, {0.0, 12.0, 0.0}, 2.0);
  for (const Vec3 v : {air.SteadyAt(p), air.MeanAt(p), air.AtModel(p), air.TurbulenceRates()}) {
    EXPECT_EQ(v.x, 0.0);
    EXPECT_EQ(v.y, 0.0);
    EXPECT_EQ(v.z, 0.0);
  }
}

// The generators run at their own steps and the model meets a blend of them:
// the air must stay smooth from one sub-step to the next and keep the strength
// the turbulence gives (at 100 %, vertical gusts of a tenth of the wind 6 m up).
TEST(AirModel, GustsAndTurbulenceAreSmoothAndKeepTheirStrength) {
  AirModel air;
  air.SetWind(Windy(8.0, 100, 100));
  const Vec3 p{0.0, 0.0, 30.0};
  const int steps = 120000;  // ten minutes at 5 ms
  double sum = 0.0, sumSq = 0.0, largestJump = 0.0;
  Vec3 before = air.AtModel(p);
  for (int i = 0; i < steps; ++i) {
    air.Advance(0.005, p, {0.0, 15.0, 0.0}, 2.0);
    const Vec3 now = air.AtModel(p);
    largestJump = std::max(largestJump, VecLength(now - before));
    before = now;
    sum += now.z;
    sumSq += now.z * now.z;
  }
  const double mean = sum / steps;
  const double sigmaW = std::sqrt(sumSq / steps - mean * mean);
  const double expected = 0.1 * air.ProfileSpeed(6.0);
  EXPECT_NEAR(sigmaW, expected, 0.2 * expected);
  EXPECT_LT(largestJump, 0.25) << "m/s between two 5 ms sub-steps";
}

TEST(AirModel, SavedStateResumesExactlyAndDamagedStateIsRefused) {
  AirModel a;
  a.SetWind(Windy(6.0, 70, 100));
  const Vec3 p{5.0, 5.0, 12.0};
  for (int i = 0; i < 777; ++i) a.Advance(0.004, p, {11.0, 0.0, 0.0}, 1.5);
  AirModel b;
  b.SetWind(Windy(6.0, 70, 100));
  ASSERT_TRUE(b.SetDynamicState(a.DynamicState()));
  for (int i = 0; i < 2000; ++i) {
    a.Advance(0.004, p, {11.0, 0.0, 0.0}, 1.5);
    b.Advance(0.004, p, {11.0, 0.0, 0.0}, 1.5);
    const Vec3 va = a.AtModel(p), vb = b.AtModel(p);
    ASSERT_EQ(va, vb) << i;
  }
  std::string bytes = a.DynamicState();
  EXPECT_FALSE(b.SetDynamicState(bytes.substr(1)));
  // Every double of the blends set to NaN in turn: none may be taken.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  int refused = 0;
  for (std::size_t at = bytes.size() - 24 * sizeof(double); at + sizeof(double) <= bytes.size();
       at += sizeof(double)) {
    std::string bad = bytes;
    std::memcpy(bad.data() + at, &nan, sizeof nan);
    refused += b.SetDynamicState(bad) ? 0 : 1;
  }
  EXPECT_EQ(refused, 24);
}

}  // namespace
}  // namespace veltrane
