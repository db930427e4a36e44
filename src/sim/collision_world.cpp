#include "sim/collision_world.h"

#include <utility>

namespace veltrane {
namespace {

using collision::ToFloat;
using collision::ToPoint;

// Ground probes look straight down over a segment long enough for any landscape.
constexpr float kProbeLength = 1e10f;
constexpr double kProbeStart = 100000.0;

}  // namespace

CollisionWorld::CollisionWorld(collision::CollisionModel model) : model_(std::move(model)) {
  if (!model_.IsFinalized()) model_.finalize();
}

double CollisionWorld::GroundHeightAt(double x, double y) const {
  return GroundHeightBelow({x, y, kProbeStart});
}

double CollisionWorld::GroundHeightBelow(const Vec3& p) const {
  const auto hit = model_.Ray(ToFloat(p), {0.0f, 0.0f, -1.0f}, true, 0.0f, kProbeLength);
  return hit ? hit->point.z : 0.0;
}

bool CollisionWorld::SphereCollision(const Vec3& centre, double radius) const {
  return model_.Sphere(ToFloat(centre), static_cast<float>(radius)).has_value();
}

bool CollisionWorld::ContactRay(const Vec3& origin, const Vec3& dir, RayHit& hit) const {
  const auto h = model_.Ray(ToFloat(origin), ToFloat(dir), true, 0.0f, 1.0f);
  if (!h) return false;
  hit.a = ToPoint(h->triangle.a);
  hit.b = ToPoint(h->triangle.b);
  hit.c = ToPoint(h->triangle.c);
  hit.point = ToPoint(h->point);
  return true;
}

}  // namespace veltrane
