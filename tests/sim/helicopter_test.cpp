#include "sim/helicopter.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

#include "loaders/par_file.h"
#include "sim/math_u.h"

namespace veltrane {
namespace {

constexpr double kDt = 0.005;

TEST(HeliCurves, ExpoShapesTheStick) {
  EXPECT_DOUBLE_EQ(Expo(0.5, 0), 0.5);
  EXPECT_DOUBLE_EQ(Expo(0.5, 100), 0.125);
  EXPECT_DOUBLE_EQ(Expo(-0.5, 100), -0.125);
  EXPECT_NEAR(Expo(0.5, -100), std::cbrt(0.5), 1e-12);
  EXPECT_NEAR(Expo(0.5, -100), 0.794, 1e-3);
  for (double p : {-100.0, 0.0, 50.0, 100.0}) {
    EXPECT_EQ(Expo(0.0, p), 0.0) << p;
    EXPECT_DOUBLE_EQ(Expo(1.0, p), 1.0) << p;
    EXPECT_DOUBLE_EQ(Expo(-1.0, p), -1.0) << p;
  }
}

TEST(HeliCurves, CoefficientLimits) {
  AirplaneParams a;
  a.LiftSlope = 5.0;
  a.MaxLift = 0.8;
  a.MinLift = -0.6;
  a.ProfileDrag = 0.01;
  EXPECT_DOUBLE_EQ(BladeLiftCoef(a, 0.1), 0.5);
  EXPECT_DOUBLE_EQ(BladeLiftCoef(a, 0.5), 0.8);
  EXPECT_DOUBLE_EQ(BladeLiftCoef(a, -0.5), -0.6);
  // The lower limit wins when the limits cross.
  a.MinLift = 0.9;
  EXPECT_DOUBLE_EQ(BladeLiftCoef(a, 0.5), 0.9);
  EXPECT_DOUBLE_EQ(TailLiftCoef(a, 0.1), 0.5);
  EXPECT_DOUBLE_EQ(TailLiftCoef(a, 1.0), 0.8);
  EXPECT_DOUBLE_EQ(TailLiftCoef(a, -1.0), -0.8);
  HelicopterParams h;
  h.BladeDragSlope = 0.3;
  EXPECT_DOUBLE_EQ(BladeDragCoef(a, h, 0.1), 0.04);
}

TEST(HeliRigidBody, TorqueUsesTheInertiaOfEachBodyAxis) {
  SimState s;
  s.TimeStep = 0.1;
  s.Heli.HeliInertia = {2.0, 4.0, 8.0};
  // Yawed a quarter turn: forward is world -x, right is world +y.
  s.AxisForward = {-1, 0, 0};
  s.AxisRight = {0, 1, 0};
  s.AxisUp = {0, 0, 1};
  ApplyTorque(s, {-1.0, 0.0, 0.0});  // 1 N m about the forward axis
  EXPECT_NEAR(s.AngularVelocity.x, -0.05, 1e-15);
  ApplyTorque(s, {0.0, 2.0, 4.0});
  EXPECT_NEAR(s.AngularVelocity.y, 0.05, 1e-15);
  EXPECT_NEAR(s.AngularVelocity.z, 0.05, 1e-15);
}

TEST(HeliRigidBody, RotationKeepsAxesOrthonormalAndRightHanded) {
  SimState s;
  for (int i = 0; i < 1000; ++i) RotateAttitude(s, {0.013, -0.007, 0.021});
  const Vec3 &F = s.AxisForward, &R = s.AxisRight, &U = s.AxisUp;
  EXPECT_NEAR(VecLength(F), 1.0, 1e-12);
  EXPECT_NEAR(VecLength(R), 1.0, 1e-12);
  EXPECT_NEAR(VecLength(U), 1.0, 1e-12);
  EXPECT_NEAR(VecDot(F, R), 0.0, 1e-12);
  EXPECT_NEAR(VecDot(F, U), 0.0, 1e-12);
  Vec3 rxf;
  VecCross(R, F, rxf);
  EXPECT_NEAR(VecDot(rxf, U), 1.0, 1e-12);
  // A turn about world z moves the nose the way RotateEuler turns (0,1,0) to +x.
  SimState t;
  RotateAttitude(t, {0.0, 0.0, 0.1});
  EXPECT_GT(t.AxisForward.x, 0.0);
}

// A rotor with only what a test switches on: no drag, no tail, no contacts.
SimState BareRotor() {
  SimState s;
  s.TimeStep = kDt;
  s.Airplane.Mass = 2.0;
  s.Airplane.LiftSlope = 5.0;
  s.Airplane.MaxLift = 1.0;
  s.Airplane.MinLift = -1.0;
  s.Airplane.ProfileDrag = 0.0;
  s.Airplane.ParasiteDrag = 0.0;
  HelicopterParams& h = s.Heli;
  h.HeliInertia = {0.1, 0.2, 0.3};
  h.RotorRadius = 0.75;
  h.BladeArea = 0.02;
  h.RotorRpm = 1500;
  h.CollectiveGain = 0.1;
  h.PitchCyclicGain = 0.05;
  h.RollCyclicGain = 0.05;
  h.RotorHeight = 0.3;
  h.TailRotorRadius = 0.1;
  h.TailRotorRpm = 6000;
  h.TailRotorArm = 0.8;
  s.ModelPosition = {0, 0, 10};
  s.FunctionValue[fn::kCollective] = 0.5;
  return s;
}

TEST(HeliRotor, EqualLiftOnTheElementsGivesNoTorque) {
  SimState s = BareRotor();
  FlatWorld w;
  MoveHelicopter(s, w);
  EXPECT_NEAR(VecLength(s.AngularVelocity), 0.0, 1e-12);
  EXPECT_GT(s.ModelVelocity.z, 0.0);  // the lift is there, pointing up
  EXPECT_NEAR(s.ModelVelocity.x, 0.0, 1e-12);
  EXPECT_NEAR(s.ModelVelocity.y, 0.0, 1e-12);
}

TEST(HeliRotor, CyclicActsAQuarterTurnLater) {
  FlatWorld w;
  // Pitch stick changes the right and left elements: the model pitches nose down.
  SimState p = BareRotor();
  p.FunctionValue[fn::kPitchCyclic] = 0.5;
  for (int i = 0; i < 40; ++i) MoveHelicopter(p, w);
  EXPECT_LT(p.AxisForward.z, -0.01);
  EXPECT_NEAR(p.AxisRight.z, 0.0, 1e-9);
  // Roll stick changes the front and back elements: the right side rises.
  SimState r = BareRotor();
  r.FunctionValue[fn::kRollCyclic] = 0.5;
  for (int i = 0; i < 40; ++i) MoveHelicopter(r, w);
  EXPECT_GT(r.AxisRight.z, 0.01);
  EXPECT_NEAR(r.AxisForward.z, 0.0, 1e-9);
  // The tilted rotor pulls the model the way it leans.
  EXPECT_LT(r.ModelVelocity.x, 0.0);
}

TEST(HeliRotor, BladeDragTurnsTheFuselageAgainstTheRotor) {
  SimState s = BareRotor();
  s.Airplane.ProfileDrag = 0.02;
  FlatWorld w;
  for (int i = 0; i < 20; ++i) MoveHelicopter(s, w);
  // The rotor turns anticlockwise seen from above, so the fuselage goes clockwise:
  // the nose swings towards +x (right).
  EXPECT_GT(s.AxisForward.x, 0.0);
  EXPECT_NEAR(s.AxisUp.z, 1.0, 1e-9);
}

// Vertical speed gained from the lift in one sub-step at height z above flat ground.
double LiftGain(double z) {
  SimState s = BareRotor();
  s.ModelPosition.z = z;
  FlatWorld w;
  MoveHelicopter(s, w);
  return s.ModelVelocity.z + 9.81 * kDt;
}

TEST(HeliRotor, GroundEffectNearTheGround) {
  const double free = LiftGain(5.0);
  EXPECT_GT(free, 0.0);
  EXPECT_DOUBLE_EQ(LiftGain(3.5), free);
  EXPECT_NEAR(LiftGain(1.0) / free, 1.4, 1e-12);
  EXPECT_NEAR(LiftGain(0.0) / free, 1.6, 1e-12);
}

// Terrain that reports its surface above the model, as a model sunk into it sees.
class SunkenWorld final : public World {
 public:
  double GroundHeightAt(double, double) const override { return 4.0; }
  double GroundHeightBelow(const Vec3&) const override { return 4.0; }
  bool SphereCollision(const Vec3&, double) const override { return false; }
  bool ContactRay(const Vec3&, const Vec3&, RayHit&) const override { return false; }
};

// A collision module that divides by zero while answering, as ray tests may.
class FaultyQueriesWorld final : public World {
 public:
  static double Raise() { return std::feraiseexcept(FE_DIVBYZERO | FE_INVALID); }
  double GroundHeightAt(double, double) const override { return (Raise(), 0.0); }
  double GroundHeightBelow(const Vec3&) const override { return (Raise(), 0.0); }
  bool SphereCollision(const Vec3&, double) const override { return (Raise(), false); }
  bool ContactRay(const Vec3&, const Vec3&, RayHit&) const override { return (Raise(), false); }
};

TEST(HeliFaults, FlagsRaisedInsideTheWorldQueriesAreNotTheModels) {
  SimState s = BareRotor();
  s.ModelPosition.z = 10.0;
  s.Heli.ContactCount = 1;
  s.Heli.Contacts[0].Position = {0, 0, -0.3};
  std::feclearexcept(FE_ALL_EXCEPT);
  MoveHelicopter(s, FaultyQueriesWorld());
  EXPECT_EQ(std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW), 0);
}

TEST(HeliRotor, GroundEffectStopsGrowingBelowTheGround) {
  const double free = LiftGain(5.0);
  SimState s = BareRotor();
  s.ModelPosition.z = 1.0;  // 3 m below the surface
  MoveHelicopter(s, SunkenWorld());
  EXPECT_NEAR((s.ModelVelocity.z + 9.81 * kDt) / free, 1.6, 1e-12);
}

// Yaw-rate change of one sub-step caused by the gyro alone.
double GyroResponse(double yawStick) {
  SimState s = BareRotor();
  s.Heli.BladeArea = 0.0;
  s.Heli.TailRotorArea = 0.01;
  s.Heli.GyroGain = 0.01;
  s.Heli.GyroStickReduction = 100;
  s.FunctionValue[fn::kTailRotor] = yawStick;  // TailPitchGain 0: the stick only weakens the gyro
  s.AngularVelocity = {0, 0, 2.0};
  MoveHelicopter(s, FlatWorld());
  return s.AngularVelocity.z - 2.0;
}

TEST(HeliTail, GyroReductionFollowsTheYawStick) {
  const double full = GyroResponse(0.0);
  EXPECT_LT(full, 0.0);  // the gyro holds the heading: it slows the yaw
  EXPECT_NEAR(GyroResponse(1.0), 0.0, 1e-12);
  EXPECT_NEAR(GyroResponse(-1.0), 0.0, 1e-12);
  EXPECT_NEAR(GyroResponse(0.5) / full, 0.5, 1e-9);
  EXPECT_NEAR(GyroResponse(-0.5) / full, 0.5, 1e-9);
}

// One contact straight below the reference point, `depth` m into flat ground.
SimState PressedContact(double depth) {
  SimState s = BareRotor();
  s.FunctionValue[fn::kCollective] = 0.0;  // no rotor lift
  s.Heli.ContactCount = 1;
  HeliContact& c = s.Heli.Contacts[0];
  c.Position = {0.0, 0.0, -0.5};
  c.ContactStiffness = 1000;
  c.ContactMaxForce = 150;
  c.ContactDamping = 10;
  s.ModelPosition = {0, 0, 0.5 - depth};
  return s;
}

TEST(HeliContacts, OverloadedContactCrashesAndTheModelFreezes) {
  FlatWorld w;
  SimState s = PressedContact(0.2);  // 1000 * 0.2 = 200 N > 150 N
  MoveHelicopter(s, w);
  EXPECT_TRUE(s.Crashed);
  // The crashing sub-step still finishes: the spring has pushed the model up.
  EXPECT_GT(s.ModelVelocity.z, 0.0);
  const SimState frozen = s;
  s.GroundHeight = -99;
  MoveHelicopter(s, w);
  EXPECT_EQ(s.ModelPosition, frozen.ModelPosition);
  EXPECT_EQ(s.ModelVelocity, frozen.ModelVelocity);
  EXPECT_EQ(s.GroundHeight, -99);

  SimState light = PressedContact(0.1);  // 100 N: holds
  MoveHelicopter(light, w);
  EXPECT_FALSE(light.Crashed);
  EXPECT_GT(light.ModelVelocity.z, 0.0);
}

TEST(HeliContacts, ContactAboveTheGroundDoesNothing) {
  SimState s = PressedContact(-0.1);
  SimState none = s;
  none.Heli.ContactCount = 0;
  MoveHelicopter(s, FlatWorld());
  MoveHelicopter(none, FlatWorld());
  EXPECT_FALSE(s.Crashed);
  EXPECT_EQ(s.ModelVelocity, none.ModelVelocity);
  EXPECT_EQ(s.AngularVelocity, none.AngularVelocity);
}

// The tick finds a broken parameter set through the floating-point flags.
bool RaisesFpFault(SimState s) {
  std::feclearexcept(FE_ALL_EXCEPT);
  MoveHelicopter(s, FlatWorld());
  return std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW) != 0;
}

TEST(HeliFaults, ZeroDivisorsRaiseFloatingPointFlags) {
  EXPECT_FALSE(RaisesFpFault(BareRotor()));
  SimState noMass = BareRotor();
  noMass.Airplane.Mass = 0.0;
  EXPECT_TRUE(RaisesFpFault(noMass));
  SimState noInertia = BareRotor();
  noInertia.Heli.HeliInertia.z = 0.0;
  EXPECT_TRUE(RaisesFpFault(noInertia));
  SimState stillRotor = BareRotor();
  stillRotor.Heli.RotorRpm = 0.0;
  EXPECT_TRUE(RaisesFpFault(stillRotor));
  SimState noSpring = PressedContact(0.05);
  EXPECT_FALSE(RaisesFpFault(noSpring));
  noSpring.Heli.Contacts[0].ContactStiffness = 0.0;
  EXPECT_TRUE(RaisesFpFault(noSpring));
}

class HeliFlight : public ::testing::Test {
 protected:
  void SetUp() override {
    loaders::LoadPAR(s, std::string(VELTRANE_TEST_DIR) + "/data/heli.par", Trace());
    ASSERT_EQ(s.iModelStyle, 1);
    ASSERT_EQ(s.Heli.ContactCount, 4);
    s.TimeStep = kDt;
    s.ModelPosition = {0, 0, 0.28};  // skids just touching
    s.FunctionValue[fn::kCollective] = -1.0;
  }
  // Runs `seconds`; returns the lowest AxisUp.z seen.
  double Fly(double seconds) {
    double lowestUp = 1.0;
    for (int i = 0; i < static_cast<int>(seconds / kDt); ++i) {
      MoveHelicopter(s, w);
      lowestUp = std::min(lowestUp, s.AxisUp.z);
    }
    return lowestUp;
  }

  SimState s;
  FlatWorld w;
};

TEST_F(HeliFlight, RestsOnItsSkidsAtLowestCollective) {
  const double lowestUp = Fly(5.0);
  EXPECT_FALSE(s.Crashed);
  EXPECT_GT(lowestUp, 0.999);
  EXPECT_NEAR(s.ModelPosition.z, 0.25, 0.03);
  EXPECT_LT(VecLength(s.ModelVelocity), 1e-3);
  EXPECT_LT(std::hypot(s.ModelPosition.x, s.ModelPosition.y), 0.01);
}

TEST_F(HeliFlight, LiftsOffWithCollectiveAndHoversNearItsWeight) {
  Fly(1.0);
  s.FunctionValue[fn::kCollective] = 0.6;
  Fly(2.0);
  EXPECT_GT(s.ModelPosition.z, 3.0);
  EXPECT_GT(s.ModelVelocity.z, 0.5);
  // Hands off at about the collective that carries its weight, knocked a little.
  s.FunctionValue[fn::kCollective] = 0.347;
  s.AngularVelocity = {0.3, 0.2, 0.0};
  s.ModelVelocity = {1.0, 0.0, 0.0};
  const double z0 = s.ModelPosition.z;
  const double lowestUp = Fly(5.0);
  EXPECT_FALSE(s.Crashed);
  EXPECT_GT(lowestUp, 0.95);
  EXPECT_NEAR(s.ModelPosition.z, z0, 1.0);
  EXPECT_LT(VecLength(s.ModelVelocity), 3.0);
  EXPECT_LT(std::fabs(VecDot(s.AngularVelocity, s.AxisUp)), 0.3);
}

TEST_F(HeliFlight, WithoutContactsItFallsThroughTheGround) {
  s.Heli.ContactCount = 0;
  Fly(2.0);
  EXPECT_FALSE(s.Crashed);
  EXPECT_LT(s.ModelPosition.z, -5.0);
}

}  // namespace
}  // namespace veltrane
