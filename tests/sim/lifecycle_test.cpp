#include "sim/lifecycle.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/clock/clock.h"
#include "base/trace/trace.h"
#include "sim/math_u.h"
#include "sim/tick.h"

namespace veltrane {
namespace {

// Terrain rising to the east: height = x / 10, so the probes are visible.
class SlopeWorld final : public World {
 public:
  double GroundHeightAt(double x, double) const override { return x / 10.0; }
  double GroundHeightBelow(const Vec3& p) const override { return p.x / 10.0; }
  bool SphereCollision(const Vec3&, double) const override { return false; }
  bool ContactRay(const Vec3&, const Vec3&, RayHit&) const override { return false; }
};

// A model in flight, rolled, crashed, on the winch, with the controls away from neutral.
SimState Disturbed() {
  SimState s;
  s.GroundClearance = 0.3;
  s.StartPosition = {20.0, 30.0, 0.0};
  s.PilotPosition = {10.0, -4.0, 7.0};
  s.ModelPosition = {50.0, 60.0, 40.0};
  s.ModelVelocity = {3.0, 4.0, -5.0};
  s.AxisForward = {1.0, 0.0, 0.0};
  s.AxisUp = {0.0, 1.0, 0.0};
  s.AxisRight = {0.0, 0.0, 1.0};
  s.Airspeed = 7.0;
  s.PitchRate = s.YawRate = s.RollRate = 0.4;
  s.AngularVelocity = {1.0, 2.0, 3.0};
  s.WinchAttached = true;
  s.Crashed = true;
  s.FunctionValue = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8};
  return s;
}

void ExpectRestingUpright(const SimState& s) {
  EXPECT_EQ(s.AxisForward, (Vec3{0, 1, 0}));
  EXPECT_EQ(s.AxisUp, (Vec3{0, 0, 1}));
  EXPECT_EQ(s.AxisRight, (Vec3{1, 0, 0}));
  EXPECT_EQ(s.Airspeed, 0.0);
  EXPECT_EQ(s.PitchRate, 0.0);
  EXPECT_EQ(s.YawRate, 0.0);
  EXPECT_EQ(s.RollRate, 0.0);
  EXPECT_EQ(s.AngularVelocity, (Vec3{}));
  EXPECT_FALSE(s.WinchAttached);
  EXPECT_FALSE(s.Crashed);
}

TEST(Lifecycle, InitFlightRestsOnTheStartPointWithControlsReset) {
  SimState s = Disturbed();
  TraceCapture cap;
  InitFlight(s, SlopeWorld(), cap.Sink());
  EXPECT_EQ(cap.Lines(), std::vector<std::string>{"Simulate.InitFlight\r\n"});
  ExpectRestingUpright(s);
  EXPECT_EQ(s.ModelVelocity, (Vec3{0.0, 1e-8, 0.0}));
  EXPECT_EQ(s.ModelPosition, (Vec3{20.0, 30.0, 2.0 + 0.3}));
  EXPECT_EQ(s.FunctionValue, (std::array<double, 8>{0, 0, 0, -1, 0, 0, 0, -1}));
}

TEST(Lifecycle, RestartFlightStaysWhereItIsAndKeepsTheControls) {
  SimState s = Disturbed();
  TraceCapture cap;
  RestartFlight(s, SlopeWorld(), cap.Sink());
  EXPECT_EQ(cap.Lines(), std::vector<std::string>{"Simulate.RestartFlight\r\n"});
  ExpectRestingUpright(s);
  EXPECT_EQ(s.ModelVelocity, (Vec3{0.0, 1e-8, 0.0}));
  EXPECT_EQ(s.ModelPosition, (Vec3{50.0, 60.0, 5.0 + 0.3}));
  EXPECT_EQ(s.FunctionValue, (std::array<double, 8>{0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8}));
}

TEST(Lifecycle, HandstartThrowsFromBesideThePilot) {
  SimState s = Disturbed();
  TraceCapture cap;
  Handstart(s, cap.Sink());
  EXPECT_EQ(cap.Lines(), std::vector<std::string>{"Simulate.Handstart\r\n"});
  ExpectRestingUpright(s);
  EXPECT_EQ(s.ModelVelocity, (Vec3{0.0, 10.0, 0.0}));
  EXPECT_EQ(s.ModelPosition, (Vec3{10.0, 1.0, 7.0}));
  EXPECT_EQ(s.FunctionValue, (std::array<double, 8>{0, 0, 0, -1, 0.5, 0.6, 0.7, 0.8}));
}

TEST(Lifecycle, WinchAndReinitialiseWithFollowFlight) {
  SimState s = Disturbed();
  s.WinchAttached = false;
  AttachWinch(s);
  EXPECT_TRUE(s.WinchAttached);
  Reinitialise(s, SlopeWorld(), Trace(), false);
  EXPECT_EQ(s.PilotPosition, (Vec3{10.0, -4.0, 7.0}));
  Reinitialise(s, SlopeWorld(), Trace(), true);
  EXPECT_EQ(s.PilotPosition, (Vec3{20.0, 22.0, 2.3}));
}

TEST(Lifecycle, ScenePlacesFollowTheTerrain) {
  SimState s;
  ApplyScenePlaces(s, SlopeWorld(), 40.0, 5.0, 60.0, -10.0);
  EXPECT_EQ(s.PilotPosition, (Vec3{40.0, 5.0, 4.0 + 2.0}));
  EXPECT_EQ(s.StartPosition.x, 60.0);
  EXPECT_EQ(s.StartPosition.y, -10.0);
  EXPECT_EQ(s.WinchPosition, (Vec3{60.0, 190.0, 6.0 + 0.1}));
}

TEST(Lifecycle, SimInitScattersThermalsInitialisesAndStartsTheClock) {
  SimState s = Disturbed();
  ManualClock clock;
  clock.Set(123'456);
  TraceCapture cap;
  SimTick tick(s, clock, Trace());
  bool displayInitialised = false;
  SimInit(s, FlatWorld(), tick, cap.Sink(), [&] {
    displayInitialised = true;
    EXPECT_TRUE(s.Crashed);  // the display comes up before InitFlight
  });
  EXPECT_TRUE(displayInitialised);
  EXPECT_EQ(cap.Lines(),
            (std::vector<std::string>{"TMainForm.SimInit\r\n", "ThermalFrm.RandomizeThermal\r\n",
                                      "Simulate.InitFlight\r\n"}));
  EXPECT_DOUBLE_EQ(s.TimeStep, 0.05);
  EXPECT_EQ(s.LastTickTime, 123'456);
  EXPECT_FALSE(s.Crashed);
  // Scattered around where the model was before InitFlight.
  EXPECT_LE(std::fabs(s.Thermals.Thermals[0].x - 50.0), 2500.0);
  EXPECT_EQ(s.Thermals.Thermals[0].radius, 60.0);
}

// The pilot-position keys, on flat ground with the model in the air.
class PilotKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    s.ModelPosition = {0.0, 0.0, 20.0};
    s.PilotPosition = {0.0, -100.0, 2.0};
  }
  void Press(char key, int times = 1) {
    for (int i = 0; i < times; ++i) Standort(s, w, key, cap.Sink());
  }
  double Horizontal() const {
    Vec3 d = s.PilotPosition - s.ModelPosition;
    d.z = 0.0;
    return VecLength(d);
  }
  SimState s;
  FlatWorld w;
  TraceCapture cap;
};

TEST_F(PilotKeys, EightWalksTowardsTheModelButNotCloserThanOneMetre) {
  Press('8', 12);
  EXPECT_NEAR(Horizontal(), 100.0 * std::pow(0.925, 12), 1e-9);
  EXPECT_NEAR(Horizontal(), 39.24, 0.01);
  EXPECT_EQ(s.PilotPosition.z, 2.0);
  EXPECT_EQ(cap.Count("Simulate.Standort\r\n"), 12u);
  s.PilotPosition = {0.0, -0.5, 2.0};
  Press('8');
  EXPECT_EQ(s.PilotPosition, (Vec3{0.0, -0.5, 2.0}));
}

TEST_F(PilotKeys, TwoWalksAwayUpToThreeKilometres) {
  Press('2');
  EXPECT_NEAR(Horizontal(), 107.5, 1e-9);
  s.PilotPosition = {0.0, -3000.0, 2.0};
  Press('2');
  EXPECT_EQ(s.PilotPosition.y, -3000.0);
}

TEST_F(PilotKeys, FourAndSixCircleTheModelAndReturn) {
  const Vec3 start = s.PilotPosition;
  Press('4');
  // Left as seen by the pilot looking at the model along +y: towards -x.
  EXPECT_LT(s.PilotPosition.x, 0.0);
  EXPECT_NEAR(Horizontal(), 100.0, 1e-9);
  EXPECT_NEAR(s.PilotPosition.z, 2.0, 1e-12);
  Press('4', 52);
  Press('6', 53);
  EXPECT_NEAR(s.PilotPosition.x, start.x, 1e-9);
  EXPECT_NEAR(s.PilotPosition.y, start.y, 1e-9);
  EXPECT_NEAR(s.PilotPosition.z, start.z, 1e-9);
}

TEST_F(PilotKeys, NineAndThreeMoveVerticallyAboveTheTerrain) {
  const double d = VecLength(s.PilotPosition - s.ModelPosition);
  Press('9');
  EXPECT_NEAR(s.PilotPosition.z, 2.0 + 0.075 * d, 1e-12);
  Press('3', 5);
  EXPECT_DOUBLE_EQ(s.PilotPosition.z, 0.5);
  // Standing on the model's spot the step is the bare factor.
  s.ModelPosition = s.PilotPosition = {0.0, 0.0, 10.0};
  Press('9');
  EXPECT_DOUBLE_EQ(s.PilotPosition.z, 10.075);
}

TEST_F(PilotKeys, AnyKeyLiftsAPilotBelowTheTerrain) {
  SlopeWorld slope;
  s.PilotPosition = {100.0, 0.0, 3.0};  // terrain at 10 there
  Standort(s, slope, 'x');
  EXPECT_DOUBLE_EQ(s.PilotPosition.z, 10.5);
}

}  // namespace
}  // namespace veltrane
