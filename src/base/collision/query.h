#pragma once

#include <cstdint>
#include <vector>

#include "base/collision/triangle.h"

namespace veltrane::collision {

// The triangle a query found (its index in the order of addition) and the point.
// For a ray the point is where it crosses the triangle; for a sphere it is the
// triangle's point nearest to the centre.
struct QueryHit {
  std::uint32_t triangle = 0;
  Vec3 point;
  double t = 0.0;  // ray parameter; 0 for spheres
};

// Whether the inputs of a query are usable at all: NaN or infinite origins and
// directions, or a NaN segment, find nothing instead of poisoning the search.
bool IsUsable(const Ray& ray);
bool IsUsable(const Vec3& centre, double radius);

// Linear scans over every triangle. They answer queries on a model that has
// not been finalised yet and are the reference the tree is checked against.
// With closest, the smallest t wins and ties go to the lowest index.
bool ScanRay(const std::vector<Triangle>& tris, const Ray& ray, bool closest, QueryHit& hit);
bool ScanSphere(const std::vector<Triangle>& tris, const Vec3& centre, double radius,
                QueryHit& hit);

}  // namespace veltrane::collision
