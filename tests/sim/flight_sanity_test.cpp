#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "aerobatic_params.h"
#include "base/clock/clock.h"
#include "base/trace/trace.h"
#include "sim/lifecycle.h"
#include "sim/tick.h"

namespace veltrane {
namespace {

// The aerobatic model flown through the real tick at about 60 frames a second.
class AerobaticFlight : public ::testing::Test {
 protected:
  void SetUp() override {
    s.Airplane = testing::AerobaticParams();
    s.GroundClearance = 0.15;
    s.Thermals.iBubbles = 0;  // still air: the airframe alone
    ApplyScenePlaces(s, world, 0.0, -20.0, 0.0, 0.0);
    SimInit(s, world, tick, Trace());
    tick.hooks.readRadio = [this] { s.FunctionValue = controls; };
  }

  // Flies for the given time, recording the extremes.
  void Fly(double seconds) {
    const int frames = static_cast<int>(seconds / 0.016);
    for (int i = 0; i < frames; ++i) {
      clock.Advance(16);
      tick.Tick();
      maxSpeed = std::max(maxSpeed, s.Airspeed);
      minUp = std::min(minUp, s.AxisUp.z);
      maxHeight = std::max(maxHeight, s.ModelPosition.z);
      if (s.Airborne && liftOff < 0.0) liftOff = elapsed;
      elapsed += 0.016;
    }
  }

  SimState s;
  FlatWorld world;
  ManualClock clock;
  SimTick tick{s, clock, Trace(), &world};
  std::array<double, 8> controls{0, 0, 0, -1, 0, 0, 0, -1};
  double elapsed = 0.0;
  double maxSpeed = 0.0;
  double minUp = 1.0;
  double maxHeight = 0.0;
  double liftOff = -1.0;
};

TEST_F(AerobaticFlight, FullThrottleTakesOffAndClimbs) {
  controls[3] = 1.0;
  Fly(3.0);
  EXPECT_FALSE(s.Airborne);
  EXPECT_GT(s.Airspeed, 5.0);  // accelerating down the runway
  EXPECT_NEAR(s.ModelPosition.x, 0.0, 1e-6);
  Fly(37.0);
  EXPECT_FALSE(s.Crashed);
  EXPECT_GT(liftOff, 3.0);
  EXPECT_LT(liftOff, 15.0);
  EXPECT_GT(s.ModelPosition.z, 40.0);
  EXPECT_GT(minUp, 0.5);  // climbs out without looping
  EXPECT_LT(maxSpeed, 30.0);
}

TEST_F(AerobaticFlight, IdleGlideFrom50MetresLandsWithoutOverspeed) {
  s.ModelPosition = {0.0, 0.0, 50.0};
  s.ModelVelocity = {0.0, 14.0, 0.0};
  Fly(60.0);
  EXPECT_LT(maxSpeed, 30.0);
  EXPECT_LT(maxHeight, 51.0);
  EXPECT_FALSE(s.Crashed);
  EXPECT_FALSE(s.Airborne);
  EXPECT_GT(s.ModelPosition.y, 150.0);  // it glided, not dropped
  EXPECT_LT(s.Airspeed, 0.5);           // and rolled to a stop
}

TEST_F(AerobaticFlight, WinchLaunchClimbsAndReleases) {
  AttachWinch(s);
  Fly(30.0);
  EXPECT_FALSE(s.WinchAttached);
  EXPECT_FALSE(s.Crashed);
  EXPECT_GT(maxHeight, 30.0);
}

TEST_F(AerobaticFlight, AileronBanksAndTurns) {
  s.PilotPosition = {0.0, -5.0, 100.0};
  Handstart(s, Trace());
  Fly(3.0);
  controls[2] = -0.3;  // right wing down
  Fly(0.5);
  EXPECT_LT(s.AxisRight.z, -0.3);
  EXPECT_LT(std::fabs(s.ModelVelocity.x), 2.0);
  controls[2] = 0.0;
  Fly(2.5);
  EXPECT_GT(s.ModelVelocity.x, 10.0);  // turned right, away from +y
  EXPECT_GT(s.AxisUp.z, 0.5);          // and the dihedral levels the wings again
  EXPECT_FALSE(s.Crashed);
}

// The parameter file handed to model authors holds the same numbers as the fixture.
TEST(AerobaticParamFile, MatchesTheFixture) {
  std::ifstream in(std::string(VELTRANE_TEST_DIR) + "/data/aerobatic.par");
  ASSERT_TRUE(in.good());
  std::vector<double> values;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream first(line);
    double v = 0.0;
    if (first >> v) values.push_back(v);
  }
  const AirplaneParams p = testing::AerobaticParams();
  const std::vector<double> expected = {0.0,
                                        p.MaxThrust,
                                        p.RudderGain,
                                        p.ElevatorGain,
                                        p.AileronGain,
                                        p.MaxLift,
                                        p.MinLift,
                                        p.LiftSlope,
                                        p.StallLiftSlope,
                                        p.ProfileDrag,
                                        p.ParasiteDrag,
                                        p.WheelFriction,
                                        p.StallDragSlope,
                                        p.PitchMomentCoef,
                                        p.WingIncidence,
                                        p.WingSpan,
                                        p.WingChord,
                                        p.CgPosition,
                                        p.Mass,
                                        p.YawInertia,
                                        p.PitchInertia,
                                        p.RollInertia,
                                        p.StabilizerArea,
                                        p.FinArea,
                                        p.TailArm,
                                        p.Dihedral};
  EXPECT_EQ(values, expected);
  EXPECT_DOUBLE_EQ(p.WingArea, p.WingSpan * p.WingChord);
}

}  // namespace
}  // namespace veltrane
