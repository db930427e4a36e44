#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

#include "base/collision/aabb_tree.h"
#include "base/collision/query.h"
#include "base/collision/triangle.h"

namespace veltrane::collision {

// A static triangle collision model in 32-bit floats, built once and queried
// in its own (world) coordinates.
//
// The six lower-case operations keep the call pattern the flight code was
// written against: a query remembers its hit for getCollidingTriangles and
// getCollisionPoint. The const Ray/Sphere queries return the hit instead and
// are what the world adapter uses.
//
// The model never moves, so the model-space flags of the two result getters
// change nothing: model and world coordinates are the same.
//
// Before finalize (or after triangles are added to a finalised model) queries
// still answer correctly, by a linear scan; finalize builds the tree.
class CollisionModel {
 public:
  struct Hit {
    Triangle triangle;      // the hit triangle's vertices as added
    std::size_t index = 0;  // its position in the order of addition
    Vec3f point;            // ray crossing, or nearest point to a sphere centre
    double t = 0.0;         // ray parameter (0 for spheres)
  };

  // Stores the triangle; one with a NaN or infinite coordinate is dropped
  // (returns false) because it would poison the bounds of everything near it.
  bool addTriangle(const float* v1, const float* v2, const float* v3);
  void finalize();
  // Room for this many triangles before finalize, so a large model grows once.
  void reserve(std::size_t triangles);

  // Hit of origin + t * direction for t in [segmin, segmax]; closest picks the
  // nearest, otherwise any hit will do.
  bool rayCollision(const float* origin, const float* direction, bool closest = false,
                    float segmin = 0.0f, float segmax = std::numeric_limits<float>::max());
  bool sphereCollision(const float* centre, float radius);
  // After a hit: t1 receives the three vertices of the hit triangle. t2 is the
  // other model's triangle in a model-to-model test, which this model never
  // does, so it is left untouched. False (and t1 untouched) after a miss.
  bool getCollidingTriangles(float* t1, float* t2, bool model_space = true) const;
  // After a hit: the hit point. False (and p untouched) after a miss.
  bool getCollisionPoint(float* p, bool model_space = true) const;

  std::optional<Hit> Ray(const Vec3f& origin, const Vec3f& direction, bool closest, float segmin,
                         float segmax) const;
  std::optional<Hit> Sphere(const Vec3f& centre, float radius) const;

  std::size_t TriangleCount() const { return finalized_ ? tree_.TriangleCount() : tris_.size(); }
  bool IsFinalized() const { return finalized_; }
  const AabbTree& Tree() const { return tree_; }

 private:
  std::optional<Hit> MakeHit(bool found, const QueryHit& q) const;

  std::vector<Triangle> tris_;
  AabbTree tree_;
  bool finalized_ = false;
  std::optional<Hit> last_;
};

}  // namespace veltrane::collision
