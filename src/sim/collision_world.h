#pragma once

#include "base/collision/collision_model.h"
#include "sim/world.h"

namespace veltrane {

// The landscape as the flight code sees it: a finalised triangle collision
// model in simulation coordinates (z up). Queries go through 32-bit floats.
class CollisionWorld final : public World {
 public:
  // Finalises the model if that has not happened yet.
  explicit CollisionWorld(collision::CollisionModel model);

  double GroundHeightAt(double x, double y) const override;
  double GroundHeightBelow(const Vec3& p) const override;
  bool SphereCollision(const Vec3& centre, double radius) const override;
  bool ContactRay(const Vec3& origin, const Vec3& dir, RayHit& hit) const override;

  const collision::CollisionModel& Model() const { return model_; }

 private:
  collision::CollisionModel model_;
};

}  // namespace veltrane
