#include <gtest/gtest.h>

#include <utility>

#include "aerobatic_params.h"
#include "base/clock/clock.h"
#include "base/collision/collision_model.h"
#include "base/trace/trace.h"
#include "sim/collision_world.h"
#include "sim/lifecycle.h"
#include "sim/tick.h"

namespace veltrane {
namespace {

void AddQuad(collision::CollisionModel& m, float x0, float y0, float x1, float y1, float z) {
  const float a[3] = {x0, y0, z}, b[3] = {x1, y0, z}, c[3] = {x1, y1, z}, d[3] = {x0, y1, z};
  m.addTriangle(a, b, c);
  m.addTriangle(a, c, d);
}

// A plateau at 12 m with a tall wall across the far end.
CollisionWorld Airfield() {
  collision::CollisionModel m;
  AddQuad(m, -2000, -2000, 2000, 2000, 12.0f);
  const float w1[3] = {-500, 400, 0}, w2[3] = {500, 400, 0}, w3[3] = {500, 400, 300},
              w4[3] = {-500, 400, 300};
  m.addTriangle(w1, w2, w3);
  m.addTriangle(w1, w3, w4);
  return CollisionWorld(std::move(m));
}

// The real tick, airplane and collision world together: the collision
// module's own arithmetic must not count as a fault of the flight model.
TEST(AirplaneOnCollisionWorld, TakesOffFromThePlateauAndHitsTheWall) {
  const CollisionWorld world = Airfield();
  SimState s;
  s.Airplane = testing::AerobaticParams();
  s.GroundClearance = 0.15;
  ManualClock clock;
  TraceCapture cap;
  SimTick tick(s, clock, cap.Sink(), &world);
  ApplyScenePlaces(s, world, 0.0, -20.0, 0.0, 0.0);
  EXPECT_DOUBLE_EQ(s.PilotPosition.z, 14.0);
  SimInit(s, world, tick, Trace());
  EXPECT_DOUBLE_EQ(s.ModelPosition.z, 12.15);
  tick.hooks.readRadio = [&] { s.FunctionValue[fn::kThrottle] = 1.0; };

  bool wasAirborne = false;
  for (int i = 0; i < 2500 && !s.Crashed; ++i) {
    clock.Advance(16);
    tick.Tick();
    wasAirborne = wasAirborne || s.ModelPosition.z > 14.0;
  }
  EXPECT_TRUE(wasAirborne);
  EXPECT_DOUBLE_EQ(s.GroundHeight, 12.0);
  EXPECT_TRUE(s.Crashed);  // the wall stands in the climb-out
  EXPECT_NEAR(s.ModelPosition.y, 400.0, 2.0);
  EXPECT_FALSE(cap.Contains("Exception in MoveAirplane\r\n"));
  EXPECT_EQ(cap.Count("MainFrorm.DXTimerTimer Model crashed\r\n"), 1u);
}

}  // namespace
}  // namespace veltrane
