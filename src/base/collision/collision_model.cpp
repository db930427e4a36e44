#include "base/collision/collision_model.h"

#include <utility>

namespace veltrane::collision {
namespace {

// Writes v as three floats, the layout of the pointer-based interface.
void Put(const Vec3f& v, float* out) {
  out[0] = v.x;
  out[1] = v.y;
  out[2] = v.z;
}

}  // namespace

bool CollisionModel::addTriangle(const float* v1, const float* v2, const float* v3) {
  Triangle t{{v1[0], v1[1], v1[2]}, {v2[0], v2[1], v2[2]}, {v3[0], v3[1], v3[2]}};
  if (!IsFinite(t)) return false;
  // The tree holds the only copy once finalised.
  if (finalized_) tris_ = tree_.TrianglesInOrder();
  tris_.push_back(t);
  // The tree no longer covers everything; scans answer until the next finalize.
  finalized_ = false;
  return true;
}

void CollisionModel::finalize() {
  if (finalized_) return;
  // A landscape has some hundred thousand triangles: one copy, the tree's, is
  // enough. Moved from, the list is left empty and without capacity.
  tree_ = AabbTree(std::move(tris_));
  finalized_ = true;
}

void CollisionModel::reserve(std::size_t triangles) {
  if (!finalized_) tris_.reserve(triangles);
}

std::optional<CollisionModel::Hit> CollisionModel::MakeHit(bool found, const QueryHit& q) const {
  if (!found) return std::nullopt;
  Hit h;
  h.index = q.triangle;
  h.triangle = finalized_ ? tree_.TriangleById(q.triangle) : tris_[q.triangle];
  h.point = ToFloat(q.point);
  h.t = q.t;
  return h;
}

std::optional<CollisionModel::Hit> CollisionModel::Ray(const Vec3f& origin, const Vec3f& direction,
                                                       bool closest, float segmin,
                                                       float segmax) const {
  collision::Ray ray{ToPoint(origin), ToPoint(direction), segmin, segmax};
  QueryHit q;
  const bool found = finalized_ ? tree_.CastRay(ray, closest, q) : ScanRay(tris_, ray, closest, q);
  return MakeHit(found, q);
}

std::optional<CollisionModel::Hit> CollisionModel::Sphere(const Vec3f& centre, float radius) const {
  QueryHit q;
  const Vec3 c = ToPoint(centre);
  const bool found = finalized_ ? tree_.TouchSphere(c, radius, q) : ScanSphere(tris_, c, radius, q);
  return MakeHit(found, q);
}

bool CollisionModel::rayCollision(const float* origin, const float* direction, bool closest,
                                  float segmin, float segmax) {
  last_ = Ray({origin[0], origin[1], origin[2]}, {direction[0], direction[1], direction[2]},
              closest, segmin, segmax);
  return last_.has_value();
}

bool CollisionModel::sphereCollision(const float* centre, float radius) {
  last_ = Sphere({centre[0], centre[1], centre[2]}, radius);
  return last_.has_value();
}

bool CollisionModel::getCollidingTriangles(float* t1, float* /*t2*/, bool /*model_space*/) const {
  if (!last_) return false;
  const Triangle& t = last_->triangle;
  Put(t.a, t1);
  Put(t.b, t1 + 3);
  Put(t.c, t1 + 6);
  return true;
}

bool CollisionModel::getCollisionPoint(float* p, bool /*model_space*/) const {
  if (!last_) return false;
  Put(last_->point, p);
  return true;
}

}  // namespace veltrane::collision
