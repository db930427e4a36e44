#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "base/trace/trace.h"
#include "loaders/par_file.h"
#include "ridge.h"
#include "sim/airplane.h"
#include "sim/math_u.h"

namespace veltrane {
namespace {

constexpr double kDt = 0.005;  // the longest sub-step the tick takes
constexpr double kG = 9.81;

using Sticks = std::function<void(double t, SimState&)>;

double Square(double t, double period) { return std::fmod(t, period) < period / 2.0 ? 1.0 : -1.0; }

struct Abuse {
  const char* name;
  Sticks sticks;
};

// Stalls, tumbles and spins, held for a minute and a half: the air's forces may
// turn the model any way, but never speed it up through the air, so in still air
// its height plus v^2 / 2g must not rise in any step, and in wind it stays bounded.
TEST(AbusiveSticks, NoModelGainsEnergyFromNothing) {
  const char* const models[] = {"glider", "slope-racer", "hlg", "sailplane", "slope-wing", "su-26"};
  const Abuse abuses[] = {
      {"push held", [](double, SimState& s) { s.FunctionValue[fn::kElevator] = 0.25; }},
      {"full up held", [](double, SimState& s) { s.FunctionValue[fn::kElevator] = -1.0; }},
      {"full down and aileron",
       [](double, SimState& s) {
         s.FunctionValue[fn::kElevator] = 1.0;
         s.FunctionValue[fn::kAileron] = 1.0;
       }},
      {"stirred",
       [](double t, SimState& s) {
         s.FunctionValue[fn::kElevator] = Square(t, 0.7);
         s.FunctionValue[fn::kAileron] = Square(t, 1.1);
         s.FunctionValue[fn::kRudder] = Square(t, 1.7);
       }},
  };
  const testing::Ridge ridge = testing::MakeRidge();
  for (const char* model : models) {
    for (const Abuse& abuse : abuses) {
      for (const double windSpeed : {0.0, 7.0}) {
        SimState s;
        loaders::LoadPAR(s, std::string(VELTRANE_DATA_DIR) + "/Model/" + model + ".par", Trace());
        s.Thermals.iBubbles = 0;
        s.GroundClearance = 0.1;
        s.Air.SetTerrain(ridge.grid);
        WindSettings wind;
        wind.speed = windSpeed;
        s.Air.SetWind(wind);
        s.FunctionValue[fn::kThrottle] = -1.0;
        s.ModelPosition = {500.0, 500.0, 220.0};  // 200 m over the slope, in its lift
        s.ModelVelocity = {0.0, 15.0, 0.0};
        s.TimeStep = kDt;
        s.Airborne = true;
        const std::string what = std::string(model) + ", " + abuse.name + ", wind " +
                                 std::to_string(static_cast<int>(windSpeed));
        double energy = s.ModelPosition.z + 15.0 * 15.0 / (2.0 * kG);
        double fastest = 0.0;
        for (int i = 0; i < static_cast<int>(90.0 / kDt) && s.Airborne && !s.Crashed; ++i) {
          abuse.sticks(i * kDt, s);
          MoveAirplane(s, *ridge.world);
          ASSERT_TRUE(std::isfinite(s.ModelPosition.z) && std::isfinite(s.Airspeed)) << what;
          fastest = std::max(fastest, s.Airspeed);
          const double v = VecLength(s.ModelVelocity);
          const double now = s.ModelPosition.z + v * v / (2.0 * kG);
          if (windSpeed == 0.0 && s.Airborne) {
            ASSERT_LE(now, energy + 1e-9) << what << " at " << i * kDt << " s";
          }
          energy = now;
        }
        EXPECT_LT(fastest, 60.0) << what;
      }
    }
  }
}

}  // namespace
}  // namespace veltrane
