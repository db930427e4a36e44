#include "sim/airplane.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sim/math_u.h"
#include "sim/sim_state.h"
#include "sim/world.h"

namespace veltrane {
namespace {

// A world whose obstacle test always hits, to see who asks for it.
class ObstacleWorld final : public World {
 public:
  double GroundHeightAt(double, double) const override { return 0.0; }
  double GroundHeightBelow(const Vec3&) const override { return 0.0; }
  bool SphereCollision(const Vec3&, double r) const override {
    lastRadius = r;
    return true;
  }
  bool ContactRay(const Vec3&, const Vec3&, RayHit&) const override { return false; }
  mutable double lastRadius = -1.0;
};

// A model with lift, in the air at 50 m, no thermals.
SimState Flying(double speed) {
  SimState s;
  AirplaneParams& p = s.Airplane;
  p.LiftSlope = 5.0;
  p.MaxLift = 1.2;
  p.MinLift = -1.2;
  p.WingSpan = 2.0;
  p.WingChord = 0.3;
  p.WingArea = 0.6;
  p.CgPosition = 0.09;
  p.StabilizerArea = 0.1;
  p.FinArea = 0.05;
  p.TailArm = 0.9;
  s.Thermals.iBubbles = 0;
  s.GroundClearance = 0.2;
  s.ModelPosition = {0.0, 0.0, 50.0};
  s.ModelVelocity = {0.0, speed, 0.0};
  s.Airborne = true;
  s.TimeStep = 0.005;
  s.FunctionValue[fn::kThrottle] = -1.0;
  return s;
}

// A model on the point of touching the ground with the given velocity.
SimState Landing(Vec3 velocity) {
  SimState s;
  s.Thermals.iBubbles = 0;
  s.GroundClearance = 0.2;
  s.ModelPosition = {0.0, 0.0, 0.2 + 1e-4};
  s.ModelVelocity = velocity;
  s.Airborne = true;
  s.TimeStep = 0.005;
  s.FunctionValue[fn::kThrottle] = -1.0;
  return s;
}

void UpsideDown(SimState& s) {
  s.AxisUp = {0.0, 0.0, -1.0};
  s.AxisRight = {-1.0, 0.0, 0.0};
}

TEST(Airplane, StandingStillOnTheGroundStaysStill) {
  SimState s;
  s.Thermals.iBubbles = 0;
  s.GroundClearance = 0.3;
  s.ModelPosition = {5.0, 7.0, 0.3};
  s.ModelVelocity = {0.0, 1e-8, 0.0};
  s.FunctionValue[fn::kThrottle] = -1.0;
  s.TimeStep = 0.005;
  const FlatWorld w;
  for (int i = 0; i < 2000; ++i) MoveAirplane(s, w);
  EXPECT_NEAR(s.ModelPosition.x, 5.0, 1e-9);
  EXPECT_NEAR(s.ModelPosition.y, 7.0, 1e-6);
  EXPECT_DOUBLE_EQ(s.ModelPosition.z, 0.3);
  EXPECT_EQ(s.ModelVelocity.z, 0.0);
  EXPECT_FALSE(s.Airborne);
  EXPECT_FALSE(s.Crashed);
  EXPECT_EQ(s.AxisForward, (Vec3{0, 1, 0}));
  EXPECT_EQ(s.AxisUp, (Vec3{0, 0, 1}));
}

TEST(Airplane, ThrottleScalesThrustFromZeroToMax) {
  const FlatWorld w;
  for (double throttle : {-1.0, 0.0, 1.0}) {
    SimState s;
    s.Thermals.iBubbles = 0;
    s.Airplane.MaxThrust = 10.0;
    s.Airplane.Mass = 2.0;
    s.ModelPosition = {0, 0, 100};
    s.Airborne = true;
    s.TimeStep = 0.005;
    s.FunctionValue[fn::kThrottle] = throttle;
    MoveAirplane(s, w);
    // From rest no drag acts: the whole thrust accelerates the model along +y.
    const double thrust = (throttle + 1.0) / 2.0 * 10.0;
    EXPECT_DOUBLE_EQ(s.ModelVelocity.y, thrust / 2.0 * 0.005) << throttle;
    EXPECT_DOUBLE_EQ(s.ModelVelocity.z, -9.81 * 0.005);
  }
}

TEST(Airplane, WheelFrictionHoldsBackOnTheRunway) {
  const FlatWorld w;
  auto run = [&](double friction) {
    SimState s = Landing({0.0, 5.0, 0.0});
    s.ModelPosition.z = 0.2;
    s.Airborne = false;
    s.Airplane.Mass = 2.0;
    s.Airplane.MaxThrust = 10.0;
    s.Airplane.WheelFriction = friction;
    s.FunctionValue[fn::kThrottle] = 1.0;
    MoveAirplane(s, w);
    return s.ModelVelocity.y;
  };
  // Per half |g m / 2 - L| * friction, no lift: the whole weight times friction.
  EXPECT_NEAR(run(0.0) - run(0.1), 0.1 * 9.81 * 2.0 / 2.0 * 0.005, 1e-9);
  EXPECT_GT(run(0.1), 5.0);
}

TEST(Airplane, CrashCriteriaOnGroundContact) {
  const FlatWorld w;
  struct Case {
    const char* name;
    Vec3 velocity;
    bool upsideDown;
    bool crash;
  };
  const Case cases[] = {
      {"sink 3.5", {0, 0, -3.5}, false, true}, {"sink 2.5", {0, 0, -2.5}, false, false},
      {"31 m/s", {0, 31, 0}, false, true},     {"29 m/s", {0, 29, 0}, false, false},
      {"inverted", {0, 1, 0}, true, true},
  };
  for (const Case& c : cases) {
    SimState s = Landing(c.velocity);
    if (c.upsideDown) UpsideDown(s);
    s.WinchAttached = true;
    s.RollRate = 0.5;
    MoveAirplane(s, w);
    EXPECT_EQ(s.Crashed, c.crash) << c.name;
    EXPECT_FALSE(s.Airborne) << c.name;
    EXPECT_DOUBLE_EQ(s.ModelPosition.z, 0.2) << c.name;
    if (c.crash) {
      EXPECT_FALSE(s.WinchAttached) << c.name;
      EXPECT_EQ(s.RollRate, 0.0) << c.name;
      EXPECT_LT(VecLength(s.ModelVelocity), 32.0 / 10000.0) << c.name;
    } else {
      EXPECT_EQ(s.ModelVelocity.z, 0.0) << c.name;  // the gear took the sink
    }
  }
}

TEST(Airplane, IndestructibleSurvivesAndFlipsUpright) {
  const FlatWorld w;
  for (Vec3 v : {Vec3{0, 0, -8}, Vec3{0, 40, 0}}) {
    SimState s = Landing(v);
    s.Flags.Autorestart = true;
    MoveAirplane(s, w);
    EXPECT_FALSE(s.Crashed);
    EXPECT_TRUE(s.CrashAbsorbed) << "the crash it came through is told";
  }
  SimState soft = Landing({0, 1, -0.2});
  soft.Flags.Autorestart = true;
  MoveAirplane(soft, w);
  EXPECT_FALSE(soft.CrashAbsorbed) << "a gentle landing is no crash";
  SimState s = Landing({0, 1, 0});
  UpsideDown(s);
  s.Flags.Autorestart = true;
  MoveAirplane(s, w);
  EXPECT_FALSE(s.Crashed);
  EXPECT_TRUE(s.CrashAbsorbed);
  EXPECT_GT(s.AxisUp.z, 0.99);
  EXPECT_NEAR(s.AxisRight.x, 1.0, 1e-9);
}

TEST(Airplane, ObstacleCrashesUnlessIndestructible) {
  ObstacleWorld w;
  SimState s = Flying(15.0);
  s.GroundClearance = 0.4;
  MoveAirplane(s, w);
  EXPECT_TRUE(s.Crashed);
  EXPECT_DOUBLE_EQ(w.lastRadius, 0.2);
  // A crashed model is frozen where it is.
  const Vec3 at = s.ModelPosition;
  for (int i = 0; i < 10; ++i) MoveAirplane(s, w);
  EXPECT_EQ(s.ModelPosition, at);

  ObstacleWorld w2;
  SimState t = Flying(15.0);
  t.Flags.Autorestart = true;
  MoveAirplane(t, w2);
  EXPECT_FALSE(t.Crashed);
  EXPECT_EQ(w2.lastRadius, -1.0);
}

TEST(Airplane, SideslipWithDihedralRollsAwayFromTheSlip) {
  const FlatWorld w;
  for (double slip : {-2.0, 2.0}) {
    SimState s = Flying(20.0);
    s.ModelVelocity.x = slip;  // negative: sliding to the left
    s.Airplane.Dihedral = 0.1;
    MoveAirplane(s, w);
    // Positive roll rate raises the right wing: a left slip rolls right.
    if (slip < 0) {
      EXPECT_LT(s.RollRate, 0.0);
    } else {
      EXPECT_GT(s.RollRate, 0.0);
    }
  }
  SimState flat = Flying(20.0);
  flat.ModelVelocity.x = -2.0;
  MoveAirplane(flat, w);
  EXPECT_EQ(flat.RollRate, 0.0);
}

TEST(Airplane, RollOnlyDecaysWithFlatWingAndNoAileron) {
  const FlatWorld w;
  SimState s = Flying(20.0);
  s.ModelVelocity.z = -1.0;  // some angle of attack, so both halves lift
  s.RollRate = 1.0;
  MoveAirplane(s, w);
  const AirplaneParams& p = s.Airplane;
  const double damped =
      1.0 - p.WingArea * std::pow(p.WingSpan / 3.0, 2) * 1.2 / p.RollInertia * 0.005;
  EXPECT_NEAR(s.RollRate, damped, 1e-15);
  double last = s.RollRate;
  for (int i = 0; i < 200; ++i) {
    MoveAirplane(s, w);
    ASSERT_LT(s.RollRate, last);
    ASSERT_GT(s.RollRate, 0.0);
    last = s.RollRate;
  }
}

TEST(Airplane, AileronRollsAndElevatorPitches) {
  const FlatWorld w;
  SimState s = Flying(20.0);
  s.Airplane.AileronGain = 0.1;
  s.FunctionValue[fn::kAileron] = 1.0;  // positive aileron raises the right wing
  MoveAirplane(s, w);
  EXPECT_GT(s.RollRate, 0.0);

  auto noseAfter = [&](double elevator) {
    SimState t = Flying(20.0);
    t.Airplane.ElevatorGain = 0.2;
    t.FunctionValue[fn::kElevator] = elevator;
    for (int i = 0; i < 40; ++i) MoveAirplane(t, w);
    return t.AxisForward.z;
  };
  EXPECT_GT(noseAfter(-1.0), 0.01);  // negative elevator raises the nose
  EXPECT_LT(noseAfter(1.0), -0.01);
}

TEST(Airplane, RudderYawsTheNoseLeft) {
  const FlatWorld w;
  SimState s = Flying(20.0);
  s.Airplane.RudderGain = 0.2;
  s.FunctionValue[fn::kRudder] = 1.0;
  MoveAirplane(s, w);
  EXPECT_LT(s.YawRate, 0.0);
  for (int i = 0; i < 40; ++i) MoveAirplane(s, w);
  EXPECT_LT(s.AxisForward.x, -0.01);
}

TEST(Airplane, WinchPullsWithTheWeightAndReleasesBehindTheNose) {
  const FlatWorld w;
  SimState s;
  s.Thermals.iBubbles = 0;
  s.Airplane.Mass = 2.0;
  s.ModelPosition = {0.0, 0.0, 10.0};
  s.WinchPosition = {0.0, 30.0, 0.1};
  s.WinchAttached = true;
  s.Airborne = true;
  s.TimeStep = 0.005;
  s.FunctionValue[fn::kThrottle] = -1.0;
  MoveAirplane(s, w);
  Vec3 dir = Vec3{0.0, 30.0, -9.9};
  VecNormalize(dir);
  EXPECT_TRUE(s.WinchAttached);
  EXPECT_NEAR(s.ModelVelocity.y, 1.2 * 9.81 * dir.y * 0.005, 1e-12);
  EXPECT_NEAR(s.ModelVelocity.z, (1.2 * 9.81 * dir.z - 9.81) * 0.005, 1e-12);

  // Once past the winch the line comes free by itself and pulls no more.
  s.ModelPosition = {0.0, 31.0, 10.0};
  const double vy = s.ModelVelocity.y;
  MoveAirplane(s, w);
  EXPECT_FALSE(s.WinchAttached);
  EXPECT_LE(s.ModelVelocity.y, vy);
  MoveAirplane(s, w);
  EXPECT_FALSE(s.WinchAttached);
}

TEST(Airplane, ThermalLiftMovesTheModelButNotItsVelocity) {
  const FlatWorld w;
  SimState s;
  s.Thermals.iBubbles = 1;
  s.Thermals.Thermals[0] = {0.0, 0.0, 2.0, 60.0};
  s.ModelPosition = {0.0, 0.0, 30.0};
  s.Airborne = true;
  s.TimeStep = 0.005;
  s.FunctionValue[fn::kThrottle] = -1.0;
  MoveAirplane(s, w);
  EXPECT_DOUBLE_EQ(s.ThermalLift, 0.97);
  EXPECT_DOUBLE_EQ(s.ModelVelocity.z, -9.81 * 0.005);
  EXPECT_DOUBLE_EQ(s.ModelPosition.z, 30.0 + (-9.81 * 0.005 + 0.97) * 0.005);
}

TEST(Airplane, AttitudeAxesStayOrthonormal) {
  const FlatWorld w;
  SimState s = Flying(20.0);
  s.Airplane.AileronGain = 0.1;
  s.Airplane.ElevatorGain = 0.2;
  s.Airplane.RudderGain = 0.2;
  s.Airplane.MaxThrust = 20.0;
  s.FunctionValue = {0.3, -0.5, 0.4, 1.0, 0, 0, 0, 0};
  for (int i = 0; i < 1000; ++i) MoveAirplane(s, w);
  EXPECT_NEAR(VecLength(s.AxisForward), 1.0, 1e-9);
  EXPECT_NEAR(VecLength(s.AxisUp), 1.0, 1e-9);
  EXPECT_NEAR(VecLength(s.AxisRight), 1.0, 1e-9);
  EXPECT_NEAR(VecDot(s.AxisUp, s.AxisForward), 0.0, 1e-6);
  EXPECT_NEAR(VecDot(s.AxisUp, s.AxisRight), 0.0, 1e-6);
}

}  // namespace
}  // namespace veltrane
