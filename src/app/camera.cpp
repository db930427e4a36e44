#include "app/camera.h"

#include <algorithm>
#include <cmath>

#include "sim/lifecycle.h"
#include "sim/math_u.h"

namespace veltrane {

namespace {

double Distance(const SimState& s) { return Length(s.ModelPosition - s.PilotPosition); }

void KeepAboveGround(Vec3& p, const World& world) {
  const double ground = world.GroundHeightAt(p.x, p.y) + kFollowClearance;
  if (ground > p.z) p.z = ground;
}

}  // namespace

ViewportZoom CameraZoom(double d, const Vec3& boxMin, const Vec3& boxMax, double zoom) {
  double nearPlane = d - Length(boxMin) - Length(boxMax);
  if (nearPlane < 0.1) nearPlane = 0.1;
  if (nearPlane > zoom) return {zoom, 0.5};
  return {nearPlane, nearPlane * 0.5 / zoom};
}

double AutoZoomTarget(const CameraSettings& cam, double d) {
  const double n = cam.fNoZoom;
  const double f = cam.fFullZoom;
  const double m = (f + n) / 2.0;
  if (d < n) return cam.fZoom;
  if (d < f) return cam.fZoom * d / (n + (d - n) / (f - n) * (m - n));
  return cam.fZoom * d / m;
}

CameraPose CameraFrameStep(CameraSettings& cam, SimState& s, const World& world) {
  CameraPose pose;
  pose.position = s.PilotPosition;
  pose.zoom = cam.Zoom;
  const bool paused = s.Flags.Pause;
  if (cam.AutoZoom) {
    if (!paused) {
      const double target = AutoZoomTarget(cam, Distance(s));
      // Within the dialog's speeds (25..200) and frames of at most 0.1 s the step
      // never passes the target; a speed from outside must not make it diverge.
      const double k = std::clamp(cam.fZoomSpeed * s.TimeStep / 20.0, 0.0, 1.0);
      cam.aZoom = cam.aZoom - (cam.aZoom - target) * k;
    }
    pose.zoom = cam.aZoom;
  }
  if (cam.Hinterherflug && !paused) {
    const Vec3 goal = FollowFlightGoal(s);
    s.PilotPosition = s.PilotPosition + (goal - s.PilotPosition) * s.TimeStep;
    KeepAboveGround(s.PilotPosition, world);
    pose.position = s.PilotPosition;
  }
  const Vec3 aim = s.ModelPosition - s.PilotPosition;
  const double len = Length(aim);
  pose.direction = len > 0.0 ? aim * (1.0 / len) : aim;
  return pose;
}

void CameraImmediate(CameraSettings& cam, SimState& s, const World& world) {
  if (cam.AutoZoom) cam.aZoom = AutoZoomTarget(cam, Distance(s));
  if (cam.Hinterherflug) {
    s.PilotPosition = FollowFlightGoal(s);
    KeepAboveGround(s.PilotPosition, world);
  }
}

bool ZoomIn(CameraSettings& cam) {
  if (cam.AutoZoom) {
    cam.fZoom *= 1.2;
    return false;
  }
  cam.Zoom *= 1.2;
  return true;
}

bool ZoomOut(CameraSettings& cam) {
  if (cam.AutoZoom) {
    cam.fZoom /= 1.2;
    return false;
  }
  cam.Zoom /= 1.2;
  return true;
}

void ToggleFollowFlight(CameraSettings& cam, SimState& s, const World& world) {
  cam.Hinterherflug = !cam.Hinterherflug;
  if (cam.Hinterherflug)
    cam.pStandort = s.PilotPosition;
  else
    s.PilotPosition = cam.pStandort;
  CameraImmediate(cam, s, world);
}

}  // namespace veltrane
