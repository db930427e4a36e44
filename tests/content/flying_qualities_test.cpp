// Every shipped model flies like its kind: checked with the same flights that print the
// flying-qualities table (tools/flying_qualities).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "qualities.h"

namespace veltrane::qualities {
namespace {

// What a real model of each glider's kind does in a steady glide with the stick neutral.
struct GlideRow {
  const char* file;
  double ratio;  // at least
  double sink;   // m/s, at most
  double speed;  // m/s, at least
};
constexpr double kAny = std::numeric_limits<double>::infinity();
constexpr GlideRow kGlides[] = {
    {"Model/rudder-glider.par", 15.0, 0.45, 0.0}, {"Model/glider.par", 18.0, 0.45, 0.0},
    {"Model/sailplane.par", 22.0, 0.5, 0.0},      {"Model/hlg.par", 12.0, 0.45, 0.0},
    {"Model/throw-glider.par", 12.0, 0.45, 0.0},  {"Model/motor-glider.par", 14.0, 0.6, 0.0},
    {"Model/slope-racer.par", 18.0, kAny, 15.0},
};

class FlyingQualities : public ::testing::TestWithParam<ShippedModel> {};

TEST_P(FlyingQualities, MatchItsKind) {
  const ShippedModel& m = GetParam();
  const Figures f = Measure(m, VELTRANE_DATA_DIR);
  const Kind k = m.kind;
  if (HasEngine(k)) {
    // Off the runway at full throttle with a little up elevator, and down again at idle.
    EXPECT_LT(f.takeoffDistance, 150.0);
    EXPECT_GT(f.climbRate, 1.0);
    EXPECT_TRUE(f.landed) << "crashed or never touched down at idle";
  }
  if (k == Kind::Trainer) {
    // Stable hands-off: the path settles without coming near the stall.
    EXPECT_LE(f.settlingTime, 20.0);
    EXPECT_GE(f.minSpeedRatio, 1.2);
  }
  if (IsGlider(k)) {
    EXPECT_GE(f.winchHeight, 60.0);
    // A stall at the top of the zoom is allowed; a crash or a spin is not.
    EXPECT_TRUE(f.winchHandsOff) << "crashed or banked past 30 degrees after the winch";
    // Hands off, the pitch swings of the launch die out instead of keeping up or growing.
    EXPECT_LT(f.winchPitchSwingLate, 0.5 * f.winchPitchSwingEarly)
        << "pitch swings of " << f.winchPitchSwingEarly << " degrees 20-40 s after the release, "
        << f.winchPitchSwingLate << " degrees 40-60 s after";
    EXPECT_TRUE(f.handLaunchHandsOff) << "crashed or banked past 30 degrees after the throw";
    // A clean glider's phugoid is lightly damped; the pilot flies it out. Its period
    // follows from the speed, and it dies away rather than grows.
    ASSERT_FALSE(std::isnan(f.phugoid.expected)) << "no steady neutral glide";
    EXPECT_GE(f.phugoid.swings, 3);
    EXPECT_NEAR(f.phugoid.period, f.phugoid.expected, 0.35 * f.phugoid.expected);
    EXPECT_TRUE(f.phugoid.shrinking) << "a swing as large as the one before";
    EXPECT_GT(f.phugoid.damping, 0.0);
    for (const GlideRow& row : kGlides) {
      if (m.file != row.file) continue;
      EXPECT_GE(f.neutral.ratio, row.ratio);
      EXPECT_LE(f.neutral.sink, row.sink);
      EXPECT_GE(f.neutral.speed, row.speed);
    }
  }
  if (k == Kind::Aerobatic) {
    EXPECT_GE(f.rollRate, 360.0);
    EXPECT_TRUE(f.holdsInverted);
  }
  if (IsHelicopter(k)) {
    EXPECT_GT(f.hoverCollective, -1.0);
    EXPECT_LT(f.hoverCollective, 1.0);
    EXPECT_LE(f.hoverSpread, 0.5);
    EXPECT_GT(f.climbRate, 1.0);
  }
  if (k == Kind::HeliTrainer) {
    EXPECT_TRUE(f.uprightHandsOff);
  }
  // No model rolls like a flick in a spin.
  if (!std::isnan(f.rollRate)) {
    EXPECT_LT(f.rollRate, 900.0);
  }
}

INSTANTIATE_TEST_SUITE_P(Shipped, FlyingQualities, ::testing::ValuesIn(ShippedModels()),
                         [](const ::testing::TestParamInfo<ShippedModel>& info) {
                           std::string n = info.param.file.substr(info.param.file.find('/') + 1);
                           for (char& c : n)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

}  // namespace
}  // namespace veltrane::qualities
