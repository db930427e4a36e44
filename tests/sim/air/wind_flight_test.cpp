#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/collision/collision_model.h"
#include "base/trace/trace.h"
#include "loaders/par_file.h"
#include "ridge.h"
#include "sim/airplane.h"
#include "sim/collision_world.h"
#include "sim/lifecycle.h"
#include "sim/math_u.h"

namespace veltrane {
namespace {

constexpr double kDt = 0.005;

SimState Glider() {
  SimState s;
  loaders::LoadPAR(s, std::string(VELTRANE_DATA_DIR) + "/Model/glider.par", Trace());
  s.GroundClearance = 0.1;
  s.Thermals.iBubbles = 0;
  return s;
}

// In a uniform wind the air carries the glider along: relative to the air it
// flies exactly as in still air, so over the ground its track is the still-air
// track plus the wind times the time.
TEST(UniformWind, GroundTrackIsTheStillTrackCarriedByTheWind) {
  const FlatWorld world;
  for (const Vec3 wind : {Vec3{4.0, -3.0, 0.0}, Vec3{0.0, -12.0, 0.0}, Vec3{-7.0, 2.0, 0.5}}) {
    SimState still = Glider();
    still.ModelPosition = {10.0, 20.0, 150.0};
    still.ModelVelocity = {0.0, 11.0, 0.0};
    still.TimeStep = kDt;
    still.Airborne = true;
    SimState moving = still;
    moving.Air.SetUniform(wind);
    moving.ModelVelocity = still.ModelVelocity + wind;

    double worst = 0.0;
    for (int i = 1; i <= 6000; ++i) {  // 30 s with turns from the ailerons
      const double aileron = 0.3 * std::sin(i * kDt * 0.4);
      still.FunctionValue[fn::kAileron] = moving.FunctionValue[fn::kAileron] = aileron;
      MoveAirplane(still, world);
      MoveAirplane(moving, world);
      const Vec3 expected = still.ModelPosition + wind * (i * kDt);
      worst = std::max(worst, VecLength(moving.ModelPosition - expected));
      ASSERT_FALSE(still.Crashed || moving.Crashed);
    }
    EXPECT_LT(worst, 1e-6) << wind.x << "," << wind.y << "," << wind.z;
    EXPECT_NEAR(moving.Airspeed, still.Airspeed, 1e-9);
  }
}

// In a wind the pilot turns to face it and throws at launch speed through the air;
// in still air the throw goes along +y as always.
TEST(HandLaunch, GoesIntoTheWindAtTenMetresASecondThroughTheAir) {
  for (const double from : {0.0, 90.0, 225.0, -1.0}) {
    SimState s = Glider();
    s.PilotPosition = {100.0, 200.0, 2.0};
    if (from >= 0.0) {
      WindSettings wind;
      wind.speed = 6.0;
      wind.fromDegrees = from;
      s.Air.SetWind(wind);
    }
    Handstart(s, Trace());
    const double a = (from >= 0.0 ? from : 0.0) * M_PI / 180.0;
    const Vec3 into{std::sin(a), std::cos(a), 0.0};
    EXPECT_LT(VecLength(s.AxisForward - into), 1e-12) << from;
    EXPECT_LT(VecLength(s.ModelPosition - (s.PilotPosition + into * 5.0)), 1e-9) << from;
    const Vec3 through = s.ModelVelocity - s.Air.SteadyAt(s.ModelPosition);
    EXPECT_LT(VecLength(through - into * 10.0), 1e-9) << from;
    EXPECT_NEAR(VecDot(s.AxisRight, s.AxisForward), 0.0, 1e-12);
  }
}

using testing::MakeRidge;
using testing::Ridge;

// A pilot at the ridge's edge keeps the glider in the lift band: beats along
// the ridge, crabbing into the wind, turning out over the slope at each end and
// moving the beat nearer or farther from the slope to stay in front of it.
void PilotTheRidge(SimState& s) {
  const Vec3& f = s.AxisForward;
  const bool goingEast = f.x >= 0.0;
  const bool turn =
      (goingEast && s.ModelPosition.x > 650.0) || (!goingEast && s.ModelPosition.x < 350.0);
  const double east = turn ? -Sign(f.x) * 0.2 : (goingEast ? 1.0 : -1.0);
  // Crab into the wind: about 52 degrees holds a 7.4 m/s glider over the slope in a
  // 5 to 6 m/s wind; more when it has drifted back, less when it is too far out.
  const double out = std::clamp((500.0 - s.ModelPosition.y) / 25.0 + 1.3, 0.3, 3.0);
  const double north = turn ? 1.0 : out;
  const double wanted = std::atan2(north, east);
  double error = wanted - std::atan2(f.y, f.x);
  while (error > M_PI) error -= 2.0 * M_PI;
  while (error < -M_PI) error += 2.0 * M_PI;
  const double bankLeft = std::asin(std::clamp(s.AxisRight.z, -1.0, 1.0));
  const double wantedBank = std::clamp(1.2 * error, -0.5, 0.5);
  s.FunctionValue[fn::kAileron] = std::clamp(3.0 * (wantedBank - bankLeft), -1.0, 1.0);
  s.FunctionValue[fn::kElevator] =
      -0.25 * std::fabs(bankLeft);  // a little up elevator in the turns
}

struct RidgeFlight {
  double highest = -1e9;    // above the launch point, m
  double lowestLate = 1e9;  // above the launch point after the first minute
  double endHeight = 0.0;   // above the launch point
  bool crashed = false;
};

RidgeFlight FlyFromTheRidge(double windSpeed, bool piloted, double seconds) {
  Ridge ridge = MakeRidge();
  SimState s = Glider();
  s.Air.SetTerrain(ridge.grid);
  WindSettings wind;
  wind.speed = windSpeed;
  wind.fromDegrees = 0.0;  // straight at the slope
  s.Air.SetWind(wind);
  s.PilotPosition = {500.0, 450.0, ridge.grid->HeightAt(500.0, 450.0) + 2.0};
  Handstart(s, Trace());
  s.TimeStep = kDt;
  const double launch = s.ModelPosition.z;
  RidgeFlight r;
  const int steps = static_cast<int>(seconds / kDt);
  for (int i = 0; i < steps && !s.Crashed; ++i) {
    if (piloted) PilotTheRidge(s);
    MoveAirplane(s, *ridge.world);
    const double above = s.ModelPosition.z - launch;
    if (i * kDt < 60.0)
      r.highest = std::max(r.highest, above);
    else
      r.lowestLate = std::min(r.lowestLate, above);
  }
  r.crashed = s.Crashed;
  r.endHeight = s.ModelPosition.z - launch;
  return r;
}

TEST(RidgeLift, AGliderThrownIntoTheWindClimbsAndStillAirLetsItDown) {
  const RidgeFlight windy = FlyFromTheRidge(7.0, false, 60.0);
  EXPECT_FALSE(windy.crashed);
  EXPECT_GT(windy.highest, 15.0) << "climb in the first minute, sticks neutral";
  // In still air the throw's speed above the glider's trimmed 7.4 m/s buys it a zoom of
  // about 2.3 m, and no more.
  const RidgeFlight still = FlyFromTheRidge(0.0, false, 60.0);
  EXPECT_LT(still.endHeight, 0.0);
  EXPECT_LT(still.highest, 3.5);
}

TEST(RidgeLift, APilotKeepsItUpForFiveMinutes) {
  // A wind the slow thermal glider can still crab against at its trimmed speed.
  const RidgeFlight r = FlyFromTheRidge(5.0, true, 300.0);
  EXPECT_FALSE(r.crashed);
  EXPECT_GT(r.lowestLate, 0.0) << "never below the launch point after the first minute";
  EXPECT_GT(r.endHeight, 10.0);
}

}  // namespace
}  // namespace veltrane
