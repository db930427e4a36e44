#include "app/camera.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sim/math_u.h"

namespace veltrane {
namespace {

// Ground as a slope z = 0.1 x, so clearance checks see a non-flat terrain.
class SlopeWorld : public World {
 public:
  double GroundHeightAt(double x, double) const override { return 0.1 * x; }
  double GroundHeightBelow(const Vec3& p) const override { return 0.1 * p.x; }
  bool SphereCollision(const Vec3&, double) const override { return false; }
  bool ContactRay(const Vec3&, const Vec3&, RayHit&) const override { return false; }
};

SimState ModelAt(const Vec3& model) {
  SimState s;
  s.PilotPosition = {0, 0, 0};
  s.ModelPosition = model;
  s.TimeStep = 0.05;
  return s;
}

TEST(CameraZoom, FrontPlaneAndFieldKeepTheViewAngle) {
  const Vec3 lo{-0.5, -0.5, -0.5}, hi{0.5, 0.5, 0.5};
  const double r = std::sqrt(0.75);
  ViewportZoom far = CameraZoom(50.0, lo, hi, 2.0);
  EXPECT_DOUBLE_EQ(far.front, 2.0);
  EXPECT_DOUBLE_EQ(far.field, 0.5);
  ViewportZoom close = CameraZoom(2.0, lo, hi, 2.0);
  EXPECT_DOUBLE_EQ(close.front, 2.0 - 2 * r);
  EXPECT_DOUBLE_EQ(close.field / close.front, 0.5 / 2.0);
  // Inside the box radius: the front plane stays at 0.1, the angle unchanged.
  ViewportZoom inside = CameraZoom(0.5, lo, hi, 3.0);
  EXPECT_DOUBLE_EQ(inside.front, 0.1);
  EXPECT_DOUBLE_EQ(inside.field, 0.1 * 0.5 / 3.0);
}

TEST(AutoZoomTarget, PiecesJoinAtTheirLimits) {
  CameraSettings cam;
  const double n = cam.fNoZoom, f = cam.fFullZoom, m = (n + f) / 2;
  EXPECT_DOUBLE_EQ(AutoZoomTarget(cam, 0.0), cam.fZoom);
  EXPECT_DOUBLE_EQ(AutoZoomTarget(cam, n), cam.fZoom);
  EXPECT_NEAR(AutoZoomTarget(cam, n - 1e-9), AutoZoomTarget(cam, n), 1e-9);
  EXPECT_NEAR(AutoZoomTarget(cam, f - 1e-9), cam.fZoom * f / m, 1e-9);
  EXPECT_DOUBLE_EQ(AutoZoomTarget(cam, f), cam.fZoom * f / m);
  EXPECT_DOUBLE_EQ(AutoZoomTarget(cam, 2 * f), 2 * AutoZoomTarget(cam, f));
  // Between the limits, by hand: at 35 m the divisor is 10 + 25 / 50 * 25 = 22.5.
  EXPECT_DOUBLE_EQ(AutoZoomTarget(cam, 35.0), 2.0 * 35.0 / 22.5);
}

TEST(CameraFrameStep, SettledAutozoomDoublesWithDistanceBeyondFullZoom) {
  FlatWorld world;
  CameraSettings cam;
  cam.AutoZoom = true;
  auto settle = [&](double d) {
    SimState s = ModelAt({0, d, 0});
    for (int i = 0; i < 400; ++i) CameraFrameStep(cam, s, world);
    return cam.aZoom;
  };
  const double at100 = settle(100.0);
  const double at200 = settle(200.0);
  EXPECT_NEAR(at200, 2.0 * at100, 1e-9);
  EXPECT_NEAR(at100, cam.fZoom * 100.0 / 35.0, 1e-9);
}

TEST(CameraFrameStep, AdaptsOneEighthOfTheGapPerFrameAtDefaultSpeed) {
  FlatWorld world;
  CameraSettings cam;
  cam.AutoZoom = true;
  SimState s = ModelAt({0, 70, 0});
  // At 70 m, beyond full zoom (60 m): target 2 * 70 / 35 = 4; an eighth of the
  // gap from 2 is 2.25.
  const CameraPose pose = CameraFrameStep(cam, s, world);
  EXPECT_NEAR(cam.aZoom, 2.25, 1e-12);
  EXPECT_DOUBLE_EQ(pose.zoom, cam.aZoom);
  cam.AutoZoom = false;
  EXPECT_DOUBLE_EQ(CameraFrameStep(cam, s, world).zoom, cam.Zoom);
}

TEST(CameraFrameStep, AdaptationNeverOvershootsWhateverTheStoredSpeed) {
  FlatWorld world;
  for (int speed : {-50, 0, 200, 100000}) {
    CameraSettings cam;
    cam.AutoZoom = true;
    cam.fZoomSpeed = speed;
    SimState s = ModelAt({0, 100, 0});
    s.TimeStep = 0.1;
    const double target = AutoZoomTarget(cam, 100.0);
    for (int i = 0; i < 50; ++i) {
      CameraFrameStep(cam, s, world);
      EXPECT_GE(cam.aZoom, 2.0) << speed;
      EXPECT_LE(cam.aZoom, target + 1e-12) << speed;
    }
  }
}

TEST(CameraFrameStep, PauseFreezesAutozoomAndFollowFlight) {
  FlatWorld world;
  CameraSettings cam;
  cam.AutoZoom = true;
  cam.Hinterherflug = true;
  cam.aZoom = 3.0;
  SimState s = ModelAt({0, 80, 5});
  s.PilotPosition = {1, 2, 3};
  s.Flags.Pause = true;
  for (int i = 0; i < 10; ++i) {
    const CameraPose pose = CameraFrameStep(cam, s, world);
    EXPECT_DOUBLE_EQ(pose.zoom, 3.0);  // still applied
    EXPECT_EQ(pose.position, (Vec3{1, 2, 3}));
  }
  EXPECT_DOUBLE_EQ(cam.aZoom, 3.0);
  EXPECT_EQ(s.PilotPosition, (Vec3{1, 2, 3}));
}

TEST(CameraFrameStep, FollowFlightLagsBehindTheModelAndStaysAboveGround) {
  SlopeWorld world;
  CameraSettings cam;
  cam.Hinterherflug = true;
  SimState s = ModelAt({40, 100, 0});  // model below the slope's 4 m
  s.AxisForward = {0, 1, 0};
  s.PilotPosition = {40, 0, 10};
  const CameraPose pose = CameraFrameStep(cam, s, world);
  // 5 % of the way to 8 m behind the model.
  EXPECT_NEAR(s.PilotPosition.y, 0 + (92 - 0) * 0.05, 1e-12);
  EXPECT_NEAR(s.PilotPosition.z, 10 + (0 - 10) * 0.05, 1e-12);
  EXPECT_EQ(pose.position, s.PilotPosition);
  for (int i = 0; i < 300; ++i) CameraFrameStep(cam, s, world);
  EXPECT_NEAR(s.PilotPosition.y, 92.0, 1e-3);
  EXPECT_DOUBLE_EQ(s.PilotPosition.z, 4.0 + 0.5);  // clearance over the slope
}

TEST(CameraFrameStep, AimIsTheUnitDirectionOrZero) {
  FlatWorld world;
  CameraSettings cam;
  SimState s = ModelAt({3, 4, 0});
  CameraPose pose = CameraFrameStep(cam, s, world);
  EXPECT_NEAR(pose.direction.x, 0.6, 1e-15);
  EXPECT_NEAR(pose.direction.y, 0.8, 1e-15);
  s.ModelPosition = s.PilotPosition;
  pose = CameraFrameStep(cam, s, world);
  EXPECT_EQ(pose.direction, (Vec3{0, 0, 0}));
}

TEST(FollowFlight, SwitchingOffReturnsToTheStandingPlace) {
  FlatWorld world;
  CameraSettings cam;
  SimState s = ModelAt({0, 50, 10});
  s.PilotPosition = {-3, 7, 1.75};
  ToggleFollowFlight(cam, s, world);
  EXPECT_TRUE(cam.Hinterherflug);
  EXPECT_EQ(cam.pStandort, (Vec3{-3, 7, 1.75}));
  EXPECT_EQ(s.PilotPosition, (Vec3{0, 42, 10}));  // put behind the model at once
  for (int i = 0; i < 30; ++i) {
    s.ModelPosition.y += 1.0;
    CameraFrameStep(cam, s, world);
  }
  ToggleFollowFlight(cam, s, world);
  EXPECT_FALSE(cam.Hinterherflug);
  EXPECT_EQ(s.PilotPosition, (Vec3{-3, 7, 1.75}));
}

TEST(CameraImmediate, SettlesAutozoomWithoutSmoothingEvenWhenPaused) {
  FlatWorld world;
  CameraSettings cam;
  cam.AutoZoom = true;
  SimState s = ModelAt({0, 120, 0});
  s.Flags.Pause = true;
  CameraImmediate(cam, s, world);
  EXPECT_DOUBLE_EQ(cam.aZoom, AutoZoomTarget(cam, 120.0));
}

TEST(ZoomCommands, FiveZoomInsAndTheAutozoomBase) {
  CameraSettings cam;
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(ZoomIn(cam));
  EXPECT_NEAR(cam.Zoom, 2.0 * std::pow(1.2, 5), 1e-12);
  EXPECT_NEAR(cam.Zoom, 4.98, 0.005);
  EXPECT_TRUE(ZoomOut(cam));
  EXPECT_NEAR(cam.Zoom, 2.0 * std::pow(1.2, 4), 1e-12);
  cam.AutoZoom = true;
  EXPECT_FALSE(ZoomIn(cam));
  EXPECT_DOUBLE_EQ(cam.fZoom, 2.4);
  EXPECT_FALSE(ZoomOut(cam));
  EXPECT_DOUBLE_EQ(cam.fZoom, 2.0);
}

}  // namespace
}  // namespace veltrane
