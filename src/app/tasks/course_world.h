#pragma once

#include <array>
#include <optional>
#include <vector>

#include "sim/collision_world.h"
#include "sim/world.h"

namespace veltrane::tasks {

// The landscape with a task's obstacles standing on it: the model collides
// with both, while the ground's height stays the landscape's.
class CourseWorld final : public World {
 public:
  explicit CourseWorld(const World& land) : land_(land) {}

  // Replaces the obstacles (none: an empty list).
  void SetObstacles(const std::vector<std::array<Vec3, 3>>& triangles);

  double GroundHeightAt(double x, double y) const override { return land_.GroundHeightAt(x, y); }
  double GroundHeightBelow(const Vec3& p) const override { return land_.GroundHeightBelow(p); }
  bool SphereCollision(const Vec3& centre, double radius) const override;
  bool ContactRay(const Vec3& origin, const Vec3& dir, RayHit& hit) const override;

 private:
  const World& land_;
  std::optional<CollisionWorld> obstacles_;
};

}  // namespace veltrane::tasks
