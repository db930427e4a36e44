#pragma once

#include <string>
#include <vector>

#include "base/math/vec3.h"

namespace veltrane::content {

struct Rgba {
  double r = 0.0;
  double g = 0.0;
  double b = 0.0;
  double a = 1.0;
  std::string name;  // shown as a comment in the files
};

// Model geometry in one neutral frame shared by all writers: X towards the tail,
// Y towards the right wing tip, Z up (right-handed), metres, origin at the centre
// of gravity. Faces turn counter-clockwise as seen from outside; each writer converts
// axes and turning sense into what its file format expects.
struct Face {
  std::vector<Vec3> corners;  // 3 or 4
  int color = 0;              // index into Model::colors
};

struct Model {
  std::vector<Rgba> colors;
  std::vector<Face> faces;

  int Color(const Rgba& c);  // index of c, appended when new

  // Adds a closed part; flips the turning sense of all its faces when they were given
  // clockwise (negative enclosed volume), so every part ends up facing outwards.
  void AddClosed(std::vector<Face> faces);

  // Rings of equal size joined by quads, closed with a fan at both ends. A ring whose
  // points all coincide closes the loft to a point.
  void AddLoft(const std::vector<std::vector<Vec3>>& rings, int color);
  // The same with one colour per quad band: band_colors[i] colours rings i..i+1.
  void AddLoft(const std::vector<std::vector<Vec3>>& rings, const std::vector<int>& band_colors,
               int cap_color);

  // Axis-aligned box between two corners.
  void AddBox(const Vec3& lo, const Vec3& hi, int color);
  // A box along the segment a..b with the given cross-section (width across, height up).
  void AddStrut(const Vec3& a, const Vec3& b, double width, double depth, int color);
};

// Signed volume enclosed by the faces (positive when they face outwards).
double SignedVolume(const std::vector<Face>& faces);

// Ring of n points of a super-ellipse around centre (X fixed), half width w, half height h,
// starting at the right side and turning up; exponent 2 is an ellipse, larger is boxier.
std::vector<Vec3> EllipseRing(double x, double zc, double w, double h, int n,
                              double exponent = 2.0);

// Airfoil section in the X-Z plane at span position y: leading edge at x_le, chord c,
// relative thickness t, camber m (fraction of chord), n points per surface.
std::vector<Vec3> AirfoilRing(double x_le, double y, double z, double c, double t, double m, int n);

// Same section standing upright (for fins): in the X-Y plane at height z.
std::vector<Vec3> FinRing(double x_le, double y, double z, double c, double t, int n);

}  // namespace veltrane::content
