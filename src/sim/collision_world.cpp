#include "sim/collision_world.h"

#include <utility>

namespace veltrane {
namespace {

collision::Float3 ToFloat3(const Vec3& v) {
  return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

Vec3 ToVec3(const collision::Float3& f) { return {f[0], f[1], f[2]}; }

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
  const auto hit = model_.Ray(ToFloat3(p), {0.0f, 0.0f, -1.0f}, true, 0.0f, kProbeLength);
  return hit ? hit->point[2] : 0.0;
}

bool CollisionWorld::SphereCollision(const Vec3& centre, double radius) const {
  return model_.Sphere(ToFloat3(centre), static_cast<float>(radius)).has_value();
}

bool CollisionWorld::ContactRay(const Vec3& origin, const Vec3& dir, RayHit& hit) const {
  const auto h = model_.Ray(ToFloat3(origin), ToFloat3(dir), true, 0.0f, 1.0f);
  if (!h) return false;
  hit.a = ToVec3(h->triangle.a);
  hit.b = ToVec3(h->triangle.b);
  hit.c = ToVec3(h->triangle.c);
  hit.point = ToVec3(h->point);
  return true;
}

}  // namespace veltrane
