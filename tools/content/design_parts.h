#pragma once

#include <vector>

#include "shape.h"

namespace veltrane::content {

// A fuselage cross-section: position along the body, centre height, half width and
// half height, and the super-ellipse exponent.
struct Station {
  double x, zc, w, h, exponent;
};

std::vector<std::vector<Vec3>> Rings(const std::vector<Station>& st, int n);
// A ring collapsed to one point on the centre line: closes a loft there.
std::vector<Vec3> Point(double x, double z, int n);

// One wing half as a tapered loft; side = +1 right, -1 left. Sections at the given span
// fractions; band colours per section gap.
void AddWingHalf(Model& m, int side, double root_le, double root_chord, double tip_le,
                 double tip_chord, double half_span, double z_root, double dihedral_rise,
                 double t_root, double t_tip, double camber, const std::vector<double>& fractions,
                 const std::vector<int>& bands, int points);

// An upright fin from z_root to z_tip on the centre line.
void AddFin(Model& m, double root_le, double root_chord, double tip_le, double tip_chord,
            double z_root, double z_tip, double t, int color, int points);

// Two crossing thin blades around a hub, in the plane normal to `axis` (x or z).
void AddBlades(Model& m, const Vec3& hub, bool vertical_axis, double radius, double chord,
               int color);

}  // namespace veltrane::content
