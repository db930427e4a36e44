#include "app/tasks/course_world.h"

namespace veltrane::tasks {
namespace {

double Distance2(const Vec3& a, const Vec3& b) {
  const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
  return dx * dx + dy * dy + dz * dz;
}

}  // namespace

void CourseWorld::SetObstacles(const std::vector<std::array<Vec3, 3>>& triangles) {
  if (triangles.empty()) {
    obstacles_.reset();
    return;
  }
  collision::CollisionModel model;
  model.reserve(triangles.size());
  for (const auto& t : triangles) {
    float v[3][3];
    for (int i = 0; i < 3; ++i) {
      v[i][0] = static_cast<float>(t[static_cast<std::size_t>(i)].x);
      v[i][1] = static_cast<float>(t[static_cast<std::size_t>(i)].y);
      v[i][2] = static_cast<float>(t[static_cast<std::size_t>(i)].z);
    }
    model.addTriangle(v[0], v[1], v[2]);
  }
  obstacles_.emplace(std::move(model));
}

bool CourseWorld::SphereCollision(const Vec3& centre, double radius) const {
  return land_.SphereCollision(centre, radius) ||
         (obstacles_ && obstacles_->SphereCollision(centre, radius));
}

bool CourseWorld::ContactRay(const Vec3& origin, const Vec3& dir, RayHit& hit) const {
  const bool onLand = land_.ContactRay(origin, dir, hit);
  if (!obstacles_) return onLand;
  RayHit other;
  if (!obstacles_->ContactRay(origin, dir, other)) return onLand;
  if (!onLand || Distance2(origin, other.point) < Distance2(origin, hit.point)) hit = other;
  return true;
}

}  // namespace veltrane::tasks
