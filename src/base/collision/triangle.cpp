#include "base/collision/triangle.h"

#include <algorithm>
#include <cmath>

namespace veltrane::collision {
namespace {

// Barycentric slack: 1e-7 of an edge is far below float resolution of the
// vertices but well above the rounding of the double-precision test.
constexpr double kEdgeSlack = 1e-7;

// A triangle counts as having no area when its normal is this small relative
// to its edges; such slivers give meaningless plane intersections.
constexpr double kFlatness = 1e-12;

bool HasArea(const Vec3& e1, const Vec3& e2) {
  const Vec3 n = Cross(e1, e2);
  return Dot(n, n) > kFlatness * Dot(e1, e1) * Dot(e2, e2);
}

Vec3 ClosestOnSegment(const Vec3& p, const Vec3& a, const Vec3& b) {
  const Vec3 ab = b - a;
  const double len2 = Dot(ab, ab);
  if (len2 <= 0.0) return a;
  const double t = std::clamp(Dot(p - a, ab) / len2, 0.0, 1.0);
  return a + ab * t;
}

}  // namespace

bool IntersectRayTriangle(const Ray& ray, const Triangle& tri, RayTriangleHit& hit) {
  const Vec3 a = ToPoint(tri.a);
  const Vec3 e1 = ToPoint(tri.b) - a;
  const Vec3 e2 = ToPoint(tri.c) - a;
  if (!HasArea(e1, e2)) return false;
  const Vec3& d = ray.direction;
  const Vec3 p = Cross(d, e2);
  const double det = Dot(e1, p);
  // Parallel rays (det relative to |n||d| close to 0) cannot hit a plane crossing.
  const Vec3 n = Cross(e1, e2);
  if (!(std::fabs(det) > 1e-12 * std::sqrt(Dot(n, n) * Dot(d, d)))) return false;
  const double inv = 1.0 / det;
  const Vec3 s = ray.origin - a;
  const double u = Dot(s, p) * inv;
  if (!(u >= -kEdgeSlack && u <= 1.0 + kEdgeSlack)) return false;
  const Vec3 q = Cross(s, e1);
  const double v = Dot(d, q) * inv;
  if (!(v >= -kEdgeSlack && u + v <= 1.0 + kEdgeSlack)) return false;
  const double t = Dot(e2, q) * inv;
  if (!(t >= ray.tmin && t <= ray.tmax)) return false;
  hit.t = t;
  // The point from the triangle's own coordinates keeps the full precision of
  // the vertices, even when the origin is far away (probes start 100 km up).
  hit.point = a + (e1 * u + e2 * v);
  return true;
}

double ClosestPointOnTriangle(const Vec3& p, const Triangle& tri, Vec3& closest) {
  const Vec3 a = ToPoint(tri.a), b = ToPoint(tri.b), c = ToPoint(tri.c);
  const Vec3 ab = b - a, ac = c - a;
  auto dist2 = [&](const Vec3& q) {
    const Vec3 d = p - q;
    return Dot(d, d);
  };
  if (!HasArea(ab, ac)) {
    // A sliver or a point: the nearest of its three edges.
    const Vec3 c1 = ClosestOnSegment(p, a, b), c2 = ClosestOnSegment(p, b, c),
               c3 = ClosestOnSegment(p, c, a);
    const double d1 = dist2(c1), d2 = dist2(c2), d3 = dist2(c3);
    if (d1 <= d2 && d1 <= d3) {
      closest = c1;
      return d1;
    }
    closest = d2 <= d3 ? c2 : c3;
    return std::min(d2, d3);
  }
  // Voronoi regions of the vertices, edges and face.
  const Vec3 ap = p - a;
  const double d1 = Dot(ab, ap), d2 = Dot(ac, ap);
  if (d1 <= 0.0 && d2 <= 0.0) {
    closest = a;
    return dist2(closest);
  }
  const Vec3 bp = p - b;
  const double d3 = Dot(ab, bp), d4 = Dot(ac, bp);
  if (d3 >= 0.0 && d4 <= d3) {
    closest = b;
    return dist2(closest);
  }
  const double vc = d1 * d4 - d3 * d2;
  if (vc <= 0.0 && d1 >= 0.0 && d3 <= 0.0) {
    closest = a + ab * (d1 / (d1 - d3));
    return dist2(closest);
  }
  const Vec3 cp = p - c;
  const double d5 = Dot(ab, cp), d6 = Dot(ac, cp);
  if (d6 >= 0.0 && d5 <= d6) {
    closest = c;
    return dist2(closest);
  }
  const double vb = d5 * d2 - d1 * d6;
  if (vb <= 0.0 && d2 >= 0.0 && d6 <= 0.0) {
    closest = a + ac * (d2 / (d2 - d6));
    return dist2(closest);
  }
  const double va = d3 * d6 - d5 * d4;
  if (va <= 0.0 && (d4 - d3) >= 0.0 && (d5 - d6) >= 0.0) {
    closest = b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    return dist2(closest);
  }
  const double denom = 1.0 / (va + vb + vc);
  closest = a + (ab * (vb * denom) + ac * (vc * denom));
  return dist2(closest);
}

bool IsFinite(const Triangle& tri) {
  for (const Vec3f* v : {&tri.a, &tri.b, &tri.c})
    if (!std::isfinite(v->x) || !std::isfinite(v->y) || !std::isfinite(v->z)) return false;
  return true;
}

}  // namespace veltrane::collision
