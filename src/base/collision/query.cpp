#include "base/collision/query.h"

#include <cmath>

namespace veltrane::collision {
namespace {

bool Finite(const Vec3& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace

bool IsUsable(const Ray& ray) {
  return Finite(ray.origin) && Finite(ray.direction) && !std::isnan(ray.tmin) &&
         !std::isnan(ray.tmax) && ray.tmin <= ray.tmax;
}

bool IsUsable(const Vec3& centre, double radius) {
  return Finite(centre) && radius >= 0.0 && std::isfinite(radius);
}

bool ScanRay(const std::vector<Triangle>& tris, const Ray& ray, bool closest, QueryHit& hit) {
  if (!IsUsable(ray)) return false;
  bool found = false;
  Ray r = ray;
  for (std::size_t i = 0; i < tris.size(); ++i) {
    RayTriangleHit h;
    if (!IntersectRayTriangle(r, tris[i], h)) continue;
    if (found && h.t >= hit.t) continue;
    found = true;
    hit.triangle = static_cast<std::uint32_t>(i);
    hit.point = h.point;
    hit.t = h.t;
    if (!closest) break;
    r.tmax = h.t;
  }
  return found;
}

bool ScanSphere(const std::vector<Triangle>& tris, const Vec3& centre, double radius,
                QueryHit& hit) {
  if (!IsUsable(centre, radius)) return false;
  const double r2 = radius * radius;
  for (std::size_t i = 0; i < tris.size(); ++i) {
    Vec3 q;
    if (ClosestPointOnTriangle(centre, tris[i], q) <= r2) {
      hit.triangle = static_cast<std::uint32_t>(i);
      hit.point = q;
      hit.t = 0.0;
      return true;
    }
  }
  return false;
}

}  // namespace veltrane::collision
