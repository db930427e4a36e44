#pragma once

#include <memory>

#include "base/rm/light.h"
#include "base/rm/mesh_builder.h"
#include "base/rm/types.h"

namespace veltrane::rm {

// Planar shadow of a visual, cast by a light onto a plane. It is added as a
// visual to the frame that carries the shadowed visual, so the visual is placed
// by that frame; the plane point and normal are in scene coordinates.
struct Shadow {
  std::shared_ptr<MeshBuilder> visual;
  std::shared_ptr<Light> light;
  Vector planePoint;
  Vector planeNormal{0.0f, 1.0f, 0.0f};
  bool trueAlpha = false;  // blend the shadow over the ground instead of stippling

  void SetVisual(std::shared_ptr<MeshBuilder> v) { visual = std::move(v); }
  void SetPlane(Vector point, Vector normal) {
    planePoint = point;
    planeNormal = normal;
  }
  void SetOptions(bool trueAlphaOn) { trueAlpha = trueAlphaOn; }
};

}  // namespace veltrane::rm
