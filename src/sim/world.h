#pragma once

#include "base/math/vec3.h"

namespace veltrane {

// What the flight code asks of the landscape. Heights are in simulation
// coordinates (z up); where nothing is hit the height is 0.
class World {
 public:
  struct RayHit {
    Vec3 a, b, c;  // the hit triangle's vertices
    Vec3 point;    // the closest hit point
  };

  virtual ~World() = default;
  // Terrain height under (x, y), probing from far above.
  virtual double GroundHeightAt(double x, double y) const = 0;
  // Height of the first surface straight below p (a surface above p is not seen).
  virtual double GroundHeightBelow(const Vec3& p) const = 0;
  // Whether a sphere touches any triangle of the world.
  virtual bool SphereCollision(const Vec3& centre, double radius) const = 0;
  // Closest hit of origin + t * dir for t in [0, 1].
  virtual bool ContactRay(const Vec3& origin, const Vec3& dir, RayHit& hit) const = 0;
};

// An endless flat plane at height 0: rays hit it with a horizontal triangle,
// spheres touch nothing. Used until a landscape is loaded.
class FlatWorld final : public World {
 public:
  double GroundHeightAt(double, double) const override { return 0.0; }
  double GroundHeightBelow(const Vec3&) const override { return 0.0; }
  bool SphereCollision(const Vec3&, double) const override { return false; }
  bool ContactRay(const Vec3& origin, const Vec3& dir, RayHit& hit) const override;
};

}  // namespace veltrane
