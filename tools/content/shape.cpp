#include "shape.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace veltrane::content {

int Model::Color(const Rgba& c) {
  for (size_t i = 0; i < colors.size(); ++i) {
    const Rgba& o = colors[i];
    if (o.r == c.r && o.g == c.g && o.b == c.b && o.a == c.a) return static_cast<int>(i);
  }
  colors.push_back(c);
  return static_cast<int>(colors.size() - 1);
}

double SignedVolume(const std::vector<Face>& faces) {
  double v = 0.0;
  for (const Face& f : faces)
    for (size_t k = 1; k + 1 < f.corners.size(); ++k)
      v += Dot(f.corners[0], Cross(f.corners[k], f.corners[k + 1])) / 6.0;
  return v;
}

void Model::AddClosed(std::vector<Face> part) {
  if (SignedVolume(part) < 0.0)
    for (Face& f : part) std::reverse(f.corners.begin(), f.corners.end());
  for (Face& f : part) faces.push_back(std::move(f));
}

namespace {

bool Degenerate(const std::vector<Vec3>& ring) {
  for (const Vec3& p : ring)
    if (Length(p - ring[0]) > 1e-9) return false;
  return true;
}

Vec3 Centre(const std::vector<Vec3>& ring) {
  Vec3 c;
  for (const Vec3& p : ring) c = c + p;
  return c * (1.0 / static_cast<double>(ring.size()));
}

}  // namespace

void Model::AddLoft(const std::vector<std::vector<Vec3>>& rings, int color) {
  AddLoft(rings, std::vector<int>(rings.size(), color), color);
}

void Model::AddLoft(const std::vector<std::vector<Vec3>>& rings,
                    const std::vector<int>& band_colors, int cap_color) {
  std::vector<Face> part;
  const size_t n = rings.front().size();
  for (size_t i = 0; i + 1 < rings.size(); ++i) {
    const auto& a = rings[i];
    const auto& b = rings[i + 1];
    const bool da = Degenerate(a), db = Degenerate(b);
    for (size_t j = 0; j < n; ++j) {
      const size_t k = (j + 1) % n;
      Face f;
      f.color = band_colors[i];
      if (da)
        f.corners = {a[0], b[k], b[j]};
      else if (db)
        f.corners = {a[j], a[k], b[0]};
      else
        f.corners = {a[j], a[k], b[k], b[j]};
      part.push_back(f);
    }
  }
  // End caps: fans around the ring centre.
  for (const auto* ring : {&rings.front(), &rings.back()}) {
    if (Degenerate(*ring)) continue;
    const Vec3 c = Centre(*ring);
    const bool front = ring == &rings.front();
    for (size_t j = 0; j < n; ++j) {
      const size_t k = (j + 1) % n;
      Face f;
      f.color = cap_color;
      f.corners = front ? std::vector<Vec3>{c, (*ring)[k], (*ring)[j]}
                        : std::vector<Vec3>{c, (*ring)[j], (*ring)[k]};
      part.push_back(f);
    }
  }
  AddClosed(std::move(part));
}

void Model::AddBox(const Vec3& lo, const Vec3& hi, int color) {
  const Vec3 c[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z},
                     {lo.x, hi.y, lo.z}, {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z},
                     {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
  const int q[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                       {2, 3, 7, 6}, {1, 2, 6, 5}, {3, 0, 4, 7}};
  std::vector<Face> part;
  for (const auto& quad : q)
    part.push_back({{c[quad[0]], c[quad[1]], c[quad[2]], c[quad[3]]}, color});
  AddClosed(std::move(part));
}

void Model::AddStrut(const Vec3& a, const Vec3& b, double width, double depth, int color) {
  Vec3 d = b - a;
  const Vec3 ref = std::fabs(d.z) > 0.9 * Length(d) ? Vec3{1, 0, 0} : Vec3{0, 0, 1};
  Vec3 s = Cross(d, ref);
  s = s * (0.5 * width / Length(s));
  Vec3 t = Cross(s, d);
  t = t * (0.5 * depth / Length(t));
  auto ring = [&](const Vec3& m) {
    return std::vector<Vec3>{m + s + t, m - s + t, m - s - t, m + s - t};
  };
  AddLoft({ring(a), ring(b)}, color);
}

std::vector<Vec3> EllipseRing(double x, double zc, double w, double h, int n, double exponent) {
  std::vector<Vec3> ring;
  for (int j = 0; j < n; ++j) {
    const double q = 2.0 * std::numbers::pi * j / n;
    const double c = std::cos(q), s = std::sin(q);
    const double e = 2.0 / exponent;
    const double cy = std::copysign(std::pow(std::fabs(c), e), c);
    const double sz = std::copysign(std::pow(std::fabs(s), e), s);
    ring.push_back({x, w * cy, zc + h * sz});
  }
  return ring;
}

namespace {

// Half thickness of a four-digit style section at chord fraction u.
double Thickness(double u, double t) {
  return 5.0 * t *
         (0.2969 * std::sqrt(u) - 0.1260 * u - 0.3516 * u * u + 0.2843 * u * u * u -
          0.1036 * u * u * u * u);
}

double Camber(double u, double m) {
  const double p = 0.4;
  return u < p ? m / (p * p) * (2 * p * u - u * u)
               : m / ((1 - p) * (1 - p)) * ((1 - 2 * p) + 2 * p * u - u * u);
}

// Chord stations bunched at the leading edge.
std::vector<double> Stations(int n) {
  std::vector<double> u;
  for (int i = 0; i < n; ++i) {
    const double q = std::numbers::pi * i / (n - 1);
    u.push_back(0.5 * (1.0 - std::cos(q)));
  }
  return u;
}

}  // namespace

std::vector<Vec3> AirfoilRing(double x_le, double y, double z, double c, double t, double m,
                              int n) {
  const std::vector<double> u = Stations(n);
  std::vector<Vec3> ring;
  // Upper surface from the trailing edge to the leading edge, lower surface back.
  for (int i = n - 1; i >= 0; --i)
    ring.push_back({x_le + u[i] * c, y, z + c * (Camber(u[i], m) + Thickness(u[i], t))});
  for (int i = 1; i < n - 1; ++i)
    ring.push_back({x_le + u[i] * c, y, z + c * (Camber(u[i], m) - Thickness(u[i], t))});
  return ring;
}

std::vector<Vec3> FinRing(double x_le, double y, double z, double c, double t, int n) {
  const std::vector<double> u = Stations(n);
  std::vector<Vec3> ring;
  for (int i = n - 1; i >= 0; --i) ring.push_back({x_le + u[i] * c, y + c * Thickness(u[i], t), z});
  for (int i = 1; i < n - 1; ++i) ring.push_back({x_le + u[i] * c, y - c * Thickness(u[i], t), z});
  return ring;
}

}  // namespace veltrane::content
