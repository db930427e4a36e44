#pragma once

#include "base/math/vec3.h"
#include "sim/sim_state.h"
#include "sim/world.h"

namespace veltrane {

// The persisted zoom and follow-flight settings with their built-in values.
struct CameraSettings {
  double Zoom = 2.0;        // manual zoom factor
  double aZoom = 2.0;       // autozoom factor in force
  double fZoom = 2.0;       // autozoom factor at short range
  double fNoZoom = 10.0;    // m
  double fFullZoom = 60.0;  // m
  int fZoomSpeed = 50;
  bool AutoZoom = false;
  bool Hinterherflug = false;
  Vec3 pStandort;  // standing place kept while following
};

constexpr double kFollowClearance = 0.5;

// Front clipping distance and field (half-width of the view at the front plane).
struct ViewportZoom {
  double front = 0.0;
  double field = 0.0;
};

// A zoom factor for a model at distance d whose bounding box has these corners.
ViewportZoom CameraZoom(double d, const Vec3& boxMin, const Vec3& boxMax, double zoom);

// The factor autozoom aims at for distance d.
double AutoZoomTarget(const CameraSettings& cam, double d);

// Where the camera stands and looks after the per-frame steps, in simulation axes.
struct CameraPose {
  Vec3 position;
  Vec3 direction;     // zero when viewer and model coincide
  double zoom = 2.0;  // the factor to apply with CameraZoom
};

// The per-frame camera: zoom, autozoom adaptation, follow flight, aim. Frozen by Pause.
CameraPose CameraFrameStep(CameraSettings& cam, SimState& s, const World& world);

// The jump after a re-initialisation or a load: autozoom settled, viewer at its goal.
void CameraImmediate(CameraSettings& cam, SimState& s, const World& world);

// Zoom commands. True when the manual zoom changed and must be applied at once.
bool ZoomIn(CameraSettings& cam);
bool ZoomOut(CameraSettings& cam);

// Follow flight on or off: on saves the standing place, off returns to it.
void ToggleFollowFlight(CameraSettings& cam, SimState& s, const World& world);

}  // namespace veltrane
