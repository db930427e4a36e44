#include "sim/world.h"

namespace veltrane {

bool FlatWorld::ContactRay(const Vec3& origin, const Vec3& dir, RayHit& hit) const {
  // Crossing z = 0 within the segment; a ray lying in the plane does not count.
  if (dir.z == 0.0) return false;
  const double t = -origin.z / dir.z;
  if (t < 0.0 || t > 1.0) return false;
  hit.point = {origin.x + t * dir.x, origin.y + t * dir.y, 0.0};
  // A large horizontal triangle around the hit point, wound counter-clockwise from above.
  hit.a = {hit.point.x - 1000.0, hit.point.y - 1000.0, 0.0};
  hit.b = {hit.point.x + 1000.0, hit.point.y - 1000.0, 0.0};
  hit.c = {hit.point.x, hit.point.y + 1000.0, 0.0};
  return true;
}

}  // namespace veltrane
