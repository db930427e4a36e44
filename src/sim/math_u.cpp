#include "sim/math_u.h"

#include <cmath>

namespace veltrane {

namespace {
constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;
}  // namespace

double VecDot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

double VecLength(const Vec3& a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

void VecCross(const Vec3& a, const Vec3& b, Vec3& out) {
  const Vec3 p = a;
  const Vec3 q = b;
  out = {p.y * q.z - p.z * q.y, p.z * q.x - p.x * q.z, p.x * q.y - p.y * q.x};
}

void VecAdd(const Vec3& a, const Vec3& b, Vec3& out) {
  const Vec3 p = a;
  const Vec3 q = b;
  out = {p.x + q.x, p.y + q.y, p.z + q.z};
}

void VecSub(const Vec3& a, const Vec3& b, Vec3& out) {
  const Vec3 p = a;
  const Vec3 q = b;
  out = {q.x - p.x, q.y - p.y, q.z - p.z};
}

void VecScale(const Vec3& a, Vec3& out, double s) {
  const Vec3 p = a;
  out = {p.x * s, p.y * s, p.z * s};
}

void VecNormalize(Vec3& a) {
  const double len = VecLength(a);
  if (len != 0.0) {
    a.x /= len;
    a.y /= len;
    a.z /= len;
  }
}

double VecAngle(const Vec3& a, const Vec3& b) {
  return ArcCos(VecDot(a, b) / (VecLength(a) * VecLength(b)));
}

double VecComponent(const Vec3& a, const Vec3& b) { return VecDot(a, b) / VecLength(b); }

void BodyToWorld(const Vec3& v, const Vec3& a, const Vec3& b, const Vec3& c, Vec3& out) {
  const Vec3 w = v;
  const Vec3 p = a;
  const Vec3 q = b;
  const Vec3 r = c;
  out = {w.x * p.x + w.y * q.x + w.z * r.x, w.x * p.y + w.y * q.y + w.z * r.y,
         w.x * p.z + w.y * q.z + w.z * r.z};
}

void WorldToBody(const Vec3& v, const Vec3& a, const Vec3& b, const Vec3& c, Vec3& out) {
  const Vec3 w = v;
  const Vec3 p = a;
  const Vec3 q = b;
  const Vec3 r = c;
  out = {VecDot(w, p), VecDot(w, q), VecDot(w, r)};
}

namespace {
// The platform's sine and cosine, with 0 where an argument cannot be reduced.
double SafeSin(double a) {
  const double s = std::sin(a);
  return std::isfinite(s) ? s : 0.0;
}
double SafeCos(double a) {
  const double c = std::cos(a);
  return std::isfinite(c) ? c : 0.0;
}
}  // namespace

void RotateEuler(const Vec3& v, const Vec3& angles, Vec3& out) {
  Vec3 p = v;
  const Vec3 ang = angles;
  double s = SafeSin(ang.z);
  double c = SafeCos(ang.z);
  double x = p.x * c + p.y * s;
  double y = p.y * c - p.x * s;
  p.x = x;
  p.y = y;
  s = SafeSin(ang.y);
  c = SafeCos(ang.y);
  double z = p.x * s + p.z * c;
  x = p.x * c - p.z * s;
  p.z = z;
  p.x = x;
  s = SafeSin(ang.x);
  c = SafeCos(ang.x);
  y = p.z * s + p.y * c;
  z = p.z * c - p.y * s;
  p.y = y;
  p.z = z;
  out = p;
}

double ArcCos(double x) {
  if (x > 1.0) x = 1.0;
  if (x < -1.0) x = -1.0;
  if (x == 0.0) return kHalfPi;
  double r = std::atan(std::sqrt(1.0 - x * x) / x);
  if (x < 0.0) r += kPi;
  return r;
}

double Sign(double x) { return x >= 0.0 ? 1.0 : -1.0; }

}  // namespace veltrane
