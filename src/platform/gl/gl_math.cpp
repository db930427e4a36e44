#include "platform/gl/gl_math.h"

#include <cmath>

namespace veltrane::gl {

Mat4 operator*(const Mat4& a, const Mat4& b) {
  Mat4 r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += a.at(i, k) * b.at(k, j);
      r.at(i, j) = s;
    }
  return r;
}

std::array<float, 4> TransformClip(const Mat4& a, Vec3f p) {
  std::array<float, 4> r{};
  const float in[4] = {p.x, p.y, p.z, 1.0f};
  for (int i = 0; i < 4; ++i) {
    float s = 0;
    for (int k = 0; k < 4; ++k) s += a.at(i, k) * in[k];
    r[static_cast<std::size_t>(i)] = s;
  }
  return r;
}

Vec3f TransformPoint(const Mat4& a, Vec3f p) {
  auto c = TransformClip(a, p);
  float w = c[3] != 0 ? c[3] : 1.0f;
  return {c[0] / w, c[1] / w, c[2] / w};
}

Vec3f TransformDir(const Mat4& a, Vec3f d) {
  return {a.at(0, 0) * d.x + a.at(0, 1) * d.y + a.at(0, 2) * d.z,
          a.at(1, 0) * d.x + a.at(1, 1) * d.y + a.at(1, 2) * d.z,
          a.at(2, 0) * d.x + a.at(2, 1) * d.y + a.at(2, 2) * d.z};
}

namespace {

// Orthonormal basis of a placement; falls back to the identity axes when the
// direction is zero or up is parallel to it.
void Basis(Vec3f direction, Vec3f up, Vec3f& x, Vec3f& y, Vec3f& z) {
  z = Normalize(direction);
  if (Length(z) == 0) z = {0, 0, 1};
  Vec3f u = up - z * Dot(up, z);
  if (Length(u) < 1e-6f)
    u = std::fabs(z.y) < 0.9f ? Vec3f{0, 1, 0} - z * z.y : Vec3f{1, 0, 0} - z * z.x;
  y = Normalize(u);
  x = Cross(y, z);  // left-handed: x = up x direction
}

}  // namespace

Mat4 FrameMatrix(Vec3f position, Vec3f direction, Vec3f up) {
  Vec3f x, y, z;
  Basis(direction, up, x, y, z);
  Mat4 r;
  r.at(0, 0) = x.x;
  r.at(1, 0) = x.y;
  r.at(2, 0) = x.z;
  r.at(0, 1) = y.x;
  r.at(1, 1) = y.y;
  r.at(2, 1) = y.z;
  r.at(0, 2) = z.x;
  r.at(1, 2) = z.y;
  r.at(2, 2) = z.z;
  r.at(0, 3) = position.x;
  r.at(1, 3) = position.y;
  r.at(2, 3) = position.z;
  return r;
}

Mat4 ViewMatrix(Vec3f p, Vec3f direction, Vec3f up) {
  Vec3f x, y, z;
  Basis(direction, up, x, y, z);
  // Rows: camera right, camera up, and minus camera forward (GL looks down -z).
  Mat4 r;
  r.at(0, 0) = x.x;
  r.at(0, 1) = x.y;
  r.at(0, 2) = x.z;
  r.at(0, 3) = -Dot(x, p);
  r.at(1, 0) = y.x;
  r.at(1, 1) = y.y;
  r.at(1, 2) = y.z;
  r.at(1, 3) = -Dot(y, p);
  r.at(2, 0) = -z.x;
  r.at(2, 1) = -z.y;
  r.at(2, 2) = -z.z;
  r.at(2, 3) = Dot(z, p);
  return r;
}

Mat4 ProjectionMatrix(float n, float f, float field, float aspect) {
  if (!(n > 0)) n = 0.01f;
  if (!(f > n)) f = n * 2;
  if (!(field > 0)) field = n * 0.5f;
  if (!(aspect > 0)) aspect = 1;
  float r = field, t = field / aspect;
  Mat4 m;
  m.m.fill(0);
  m.at(0, 0) = n / r;
  m.at(1, 1) = n / t;
  m.at(2, 2) = -(f + n) / (f - n);
  m.at(2, 3) = -2 * f * n / (f - n);
  m.at(3, 2) = -1;
  return m;
}

Mat4 PlanarShadowMatrix(Vec3f l, Vec3f point, Vec3f normal) {
  Vec3f nrm = Normalize(normal);
  float nl = Dot(nrm, l);
  Mat4 m;
  if (std::fabs(nl) < 1e-6f) return m;
  float d = -Dot(nrm, point);
  // p' = p - l * (n.p + d) / (n.l)
  const float lv[3] = {l.x, l.y, l.z};
  const float nv[4] = {nrm.x, nrm.y, nrm.z, d};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 4; ++j) m.at(i, j) -= lv[i] * nv[j] / nl;
  return m;
}

Frustum FrustumOf(const Mat4& m) {
  Frustum f;
  // Gribb and Hartmann: -w <= x, y, z <= w, each a sum or difference of rows.
  for (int axis = 0; axis < 3; ++axis)
    for (int side = 0; side < 2; ++side) {
      const float s = side ? -1.0f : 1.0f;
      auto& p = f.planes[static_cast<std::size_t>(axis * 2 + side)];
      for (int c = 0; c < 4; ++c) p[static_cast<std::size_t>(c)] = m.at(3, c) + s * m.at(axis, c);
    }
  return f;
}

bool BoxOutside(const Frustum& f, Vec3f lo, Vec3f hi) {
  for (const auto& p : f.planes) {
    // The box corner farthest along the plane's normal.
    const float x = p[0] >= 0 ? hi.x : lo.x;
    const float y = p[1] >= 0 ? hi.y : lo.y;
    const float z = p[2] >= 0 ? hi.z : lo.z;
    if (p[0] * x + p[1] * y + p[2] * z + p[3] < 0) return true;
  }
  return false;
}

}  // namespace veltrane::gl
