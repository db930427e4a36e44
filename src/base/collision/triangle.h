#pragma once

#include <cstdint>

#include "base/math/vec3.h"
#include "base/math/vec3f.h"

namespace veltrane::collision {

// A triangle as it was added: three float vertices in the caller's order.
struct Triangle {
  Vec3f a, b, c;
};

// The exact tests run in double; the stored data stay float.
inline Vec3 ToPoint(const Vec3f& f) { return {f.x, f.y, f.z}; }
inline Vec3f ToFloat(const Vec3& p) {
  return {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)};
}

// A ray origin + t * direction, searched for t in [tmin, tmax]. The direction
// is not normalised: t is measured in units of its length.
struct Ray {
  Vec3 origin;
  Vec3 direction;
  double tmin = 0.0;
  double tmax = 0.0;
};

// Where a ray crosses a triangle.
struct RayTriangleHit {
  double t = 0.0;
  Vec3 point;  // on the triangle's plane, from barycentric coordinates
};

// Two-sided ray/triangle test. Triangles with no area and rays parallel to the
// plane never hit. Edges are accepted with a tiny tolerance so that a ray through
// a shared edge of a closed mesh is never lost between its two triangles.
bool IntersectRayTriangle(const Ray& ray, const Triangle& tri, RayTriangleHit& hit);

// Nearest point of the triangle (or of its edges, if it has no area) to p,
// returned with the squared distance.
double ClosestPointOnTriangle(const Vec3& p, const Triangle& tri, Vec3& closest);

// Whether every coordinate of the triangle is a finite number.
bool IsFinite(const Triangle& tri);

}  // namespace veltrane::collision
