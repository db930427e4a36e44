// Every shipped model flies like its kind: checked with the same flights that print the
// flying-qualities table (tools/flying_qualities).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "qualities.h"

namespace veltrane::qualities {
namespace {

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
  if (k == Kind::Trainer || IsGlider(k)) {
    // Stable hands-off: the path settles without coming near the stall.
    EXPECT_LE(f.settlingTime, 20.0);
    EXPECT_GE(f.minSpeedRatio, 1.2);
  }
  if (IsGlider(k)) {
    EXPECT_GE(f.winchHeight, 80.0);
    EXPECT_GT(f.glideRatio, 7.0);
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
