#include "design.h"

#include <cmath>
#include <numbers>

#include "design_parts.h"

namespace veltrane::content {

namespace {

const Rgba kWhite{0.95, 0.95, 0.93, 1.0, "white"};
const Rgba kRed{0.85, 0.09, 0.08, 1.0, "red"};
const Rgba kBlue{0.08, 0.2, 0.62, 1.0, "blue"};
const Rgba kDark{0.13, 0.13, 0.14, 1.0, "dark grey"};
const Rgba kSilver{0.78, 0.78, 0.8, 1.0, "silver"};
const Rgba kCanopy{0.16, 0.24, 0.36, 0.7, "tinted canopy"};
const Rgba kPilot{0.25, 0.2, 0.15, 1.0, "pilot"};
const Rgba kOrange{0.98, 0.45, 0.05, 1.0, "orange"};
const Rgba kYellow{0.98, 0.8, 0.1, 1.0, "yellow"};

}  // namespace

std::vector<std::vector<Vec3>> Rings(const std::vector<Station>& st, int n) {
  std::vector<std::vector<Vec3>> rings;
  for (const Station& s : st) rings.push_back(EllipseRing(s.x, s.zc, s.w, s.h, n, s.exponent));
  return rings;
}

std::vector<Vec3> Point(double x, double z, int n) { return std::vector<Vec3>(n, Vec3{x, 0.0, z}); }

void AddWingHalf(Model& m, int side, double root_le, double root_chord, double tip_le,
                 double tip_chord, double half_span, double z_root, double dihedral_rise,
                 double t_root, double t_tip, double camber, const std::vector<double>& fractions,
                 const std::vector<int>& bands, int points) {
  std::vector<std::vector<Vec3>> rings;
  for (double f : fractions) {
    const double le = root_le + (tip_le - root_le) * f;
    const double c = root_chord + (tip_chord - root_chord) * f;
    const double t = t_root + (t_tip - t_root) * f;
    rings.push_back(
        AirfoilRing(le, side * half_span * f, z_root + dihedral_rise * f, c, t, camber, points));
  }
  m.AddLoft(rings, bands, bands.back());
}

void AddFin(Model& m, double root_le, double root_chord, double tip_le, double tip_chord,
            double z_root, double z_tip, double t, int color, int points) {
  m.AddLoft({FinRing(root_le, 0.0, z_root, root_chord, t, points),
             FinRing(tip_le, 0.0, z_tip, tip_chord, t, points)},
            color);
}

void AddBlades(Model& m, const Vec3& hub, bool vertical_axis, double radius, double chord,
               int color) {
  if (vertical_axis) {
    m.AddBox({hub.x - radius, hub.y - chord / 2, hub.z - 0.004},
             {hub.x + radius, hub.y + chord / 2, hub.z + 0.004}, color);
  } else {
    m.AddBox({hub.x - 0.006, hub.y - radius, hub.z - chord / 2},
             {hub.x + 0.006, hub.y + radius, hub.z + chord / 2}, color);
  }
}

Model WithWheelGeometry(const Design& d, int segments) {
  Model m = d.body;
  for (const Wheel& w : d.wheels) {
    for (int side : {1, -1}) {
      if (side < 0 && !w.mirrored) break;
      const Vec3 c{w.centre.x, side * w.centre.y, w.centre.z};
      auto ring = [&](double y, double r) {
        std::vector<Vec3> pts;
        for (int k = 0; k < segments; ++k) {
          const double q = 2.0 * std::numbers::pi * k / segments;
          pts.push_back({c.x + r * std::cos(q), y, c.z + r * std::sin(q)});
        }
        return pts;
      };
      const double h = w.width / 2;
      m.AddLoft({ring(c.y - h, w.radius * 0.35), ring(c.y - h, w.radius * 0.95),
                 ring(c.y - h * 0.6, w.radius), ring(c.y + h * 0.6, w.radius),
                 ring(c.y + h, w.radius * 0.95), ring(c.y + h, w.radius * 0.35)},
                w.color);
    }
  }
  return m;
}

Design Su26() {
  Design d;
  d.title = "aerobatic monoplane, 2 m span";
  Model& m = d.body;
  const int white = m.Color(kWhite), red = m.Color(kRed), blue = m.Color(kBlue),
            dark = m.Color(kDark), silver = m.Color(kSilver), canopy = m.Color(kCanopy),
            pilot = m.Color(kPilot);
  const int n = 16;
  // Fuselage: big round cowl, deep cockpit section, slender tail cone.
  const std::vector<Station> fus = {
      {-0.56, 0.00, 0.100, 0.100, 2.0}, {-0.52, 0.00, 0.122, 0.122, 2.0},
      {-0.42, 0.01, 0.130, 0.130, 2.0}, {-0.30, 0.02, 0.122, 0.138, 2.2},
      {-0.10, 0.02, 0.112, 0.150, 2.4}, {0.12, 0.03, 0.100, 0.142, 2.4},
      {0.40, 0.04, 0.080, 0.118, 2.3},  {0.70, 0.05, 0.056, 0.090, 2.2},
      {1.00, 0.06, 0.034, 0.060, 2.0},  {1.18, 0.07, 0.016, 0.034, 2.0}};
  auto rings = Rings(fus, n);
  rings.push_back(Point(1.23, 0.07, n));
  m.AddLoft(rings, {red, red, red, white, white, blue, white, white, red, red, red}, dark);
  // Canopy bubble with the pilot's head under it.
  const std::vector<Station> can = {{0.00, 0.15, 0.045, 0.040, 2.0},
                                    {0.08, 0.15, 0.068, 0.075, 2.0},
                                    {0.18, 0.15, 0.074, 0.085, 2.0},
                                    {0.28, 0.15, 0.062, 0.070, 2.0},
                                    {0.37, 0.15, 0.035, 0.040, 2.0}};
  auto crings = Rings(can, n);
  crings.insert(crings.begin(), Point(-0.05, 0.15, n));
  crings.push_back(Point(0.43, 0.15, n));
  m.AddLoft(crings, canopy);
  m.AddLoft({Point(0.12, 0.19, 10), EllipseRing(0.15, 0.19, 0.035, 0.038, 10),
             EllipseRing(0.19, 0.19, 0.035, 0.036, 10), Point(0.22, 0.19, 10)},
            pilot);
  // Low wing, symmetric section, red tips.
  for (int side : {1, -1})
    AddWingHalf(m, side, -0.13, 0.45, -0.08, 0.22, 1.0, -0.075, 0.02, 0.15, 0.12, 0.0,
                {0.0, 0.78, 1.0}, {white, red}, 9);
  // All-moving style tailplane and fin with rudder.
  for (int side : {1, -1})
    AddWingHalf(m, side, 0.93, 0.23, 1.01, 0.13, 0.36, 0.065, 0.0, 0.09, 0.08, 0.0,
                {0.0, 0.75, 1.0}, {white, red}, 7);
  AddFin(m, 0.90, 0.30, 1.03, 0.17, 0.07, 0.37, 0.09, red, 7);
  // Spinner and a two-blade propeller behind the disc.
  m.AddLoft({EllipseRing(-0.565, 0.0, 0.058, 0.058, n), EllipseRing(-0.61, 0.0, 0.048, 0.048, n),
             EllipseRing(-0.65, 0.0, 0.025, 0.025, n), Point(-0.675, 0.0, n)},
            silver);
  AddBlades(m, {-0.60, 0.0, 0.0}, false, 0.27, 0.035, dark);
  // Spring gear legs to the main wheels, and a tail wheel leg.
  for (int side : {1, -1}) {
    m.AddStrut({-0.17, side * 0.06, -0.11}, {-0.21, side * 0.155, -0.30}, 0.03, 0.012, dark);
  }
  m.AddStrut({1.12, 0.0, 0.03}, {1.16, 0.0, -0.02}, 0.012, 0.012, dark);
  d.wheels.push_back({{-0.21, 0.17, -0.30}, 0.055, 0.037, dark, true});
  d.propellers.push_back({{-0.60, 0.0, 0.0}, {1.0, 0.0, 0.0}, 0.28});
  return d;
}

Design Glider() {
  Design d;
  d.title = "thermal glider, 3 m span";
  Model& m = d.body;
  const int white = m.Color(kWhite), orange = m.Color(kOrange), canopy = m.Color(kCanopy),
            dark = m.Color(kDark);
  const int n = 14;
  const std::vector<Station> fus = {
      {-0.52, -0.01, 0.020, 0.020, 2.0}, {-0.48, -0.01, 0.040, 0.045, 2.0},
      {-0.38, 0.00, 0.052, 0.062, 2.0},  {-0.20, 0.01, 0.050, 0.065, 2.0},
      {0.02, 0.02, 0.040, 0.050, 2.0},   {0.20, 0.03, 0.026, 0.030, 2.0},
      {0.60, 0.04, 0.016, 0.018, 2.0},   {1.08, 0.05, 0.010, 0.012, 2.0}};
  auto rings = Rings(fus, n);
  rings.insert(rings.begin(), Point(-0.54, -0.01, n));
  rings.push_back(Point(1.12, 0.05, n));
  m.AddLoft(rings, {orange, orange, white, white, white, white, white, white, orange}, white);
  const std::vector<Station> can = {{-0.36, 0.045, 0.030, 0.025, 2.0},
                                    {-0.26, 0.050, 0.040, 0.040, 2.0},
                                    {-0.14, 0.050, 0.036, 0.034, 2.0}};
  auto crings = Rings(can, n);
  crings.insert(crings.begin(), Point(-0.42, 0.04, n));
  crings.push_back(Point(-0.06, 0.045, n));
  m.AddLoft(crings, canopy);
  // Shoulder wing with polyhedral tips.
  for (int side : {1, -1}) {
    AddWingHalf(m, side, -0.09, 0.23, -0.07, 0.18, 1.0, 0.06, 0.05, 0.11, 0.10, 0.035, {0.0, 1.0},
                {white}, 9);
    // Outer panel: from 1.0 m to the tip at 1.5 m, rising more steeply.
    std::vector<std::vector<Vec3>> outer;
    for (double f : {0.0, 0.8, 1.0}) {
      const double c = 0.18 - 0.07 * f;
      const double le = -0.07 + 0.04 * f;
      outer.push_back(AirfoilRing(le, side * (1.0 + 0.5 * f), 0.11 + 0.09 * f, c, 0.10, 0.03, 9));
    }
    m.AddLoft(outer, {white, orange}, orange);
  }
  // T-tail: fin with the tailplane on top.
  AddFin(m, 0.93, 0.17, 1.02, 0.11, 0.05, 0.26, 0.09, white, 6);
  for (int side : {1, -1})
    AddWingHalf(m, side, 1.00, 0.12, 1.03, 0.08, 0.28, 0.262, 0.0, 0.08, 0.08, 0.0, {0.0, 0.8, 1.0},
                {white, orange}, 6);
  // Landing skid under the nose and a tail bumper.
  m.AddStrut({-0.40, 0.0, -0.068}, {-0.05, 0.0, -0.055}, 0.018, 0.01, dark);
  return d;
}

Design Helicopter() {
  Design d;
  d.title = "model helicopter, 1.35 m rotor";
  Model& m = d.body;
  const int body = m.Color({0.1, 0.35, 0.75, 1.0, "blue"});
  const int yellow = m.Color(kYellow), dark = m.Color(kDark), canopy = m.Color(kCanopy),
            silver = m.Color(kSilver);
  const int n = 14;
  // Canopy pod: the reference point (centre of gravity) sits under the main shaft.
  const std::vector<Station> pod = {
      {-0.33, -0.06, 0.040, 0.045, 2.0}, {-0.28, -0.05, 0.080, 0.090, 2.0},
      {-0.16, -0.03, 0.100, 0.120, 2.2}, {0.00, -0.02, 0.100, 0.125, 2.4},
      {0.14, -0.01, 0.085, 0.110, 2.4},  {0.24, 0.01, 0.050, 0.070, 2.2}};
  auto rings = Rings(pod, n);
  rings.insert(rings.begin(), Point(-0.36, -0.07, n));
  m.AddLoft(rings, {yellow, body, body, body, body, body, body}, body);
  // Windscreen on the front of the pod.
  const std::vector<Station> ws = {{-0.29, -0.01, 0.045, 0.040, 2.0},
                                   {-0.22, 0.01, 0.070, 0.070, 2.0},
                                   {-0.14, 0.02, 0.060, 0.065, 2.0}};
  auto wrings = Rings(ws, n);
  wrings.insert(wrings.begin(), Point(-0.32, -0.02, n));
  wrings.push_back(Point(-0.09, 0.03, n));
  m.AddLoft(wrings, canopy);
  // Tail boom, fins and the tail rotor hub.
  m.AddLoft({EllipseRing(0.22, 0.02, 0.022, 0.022, 10), EllipseRing(0.95, 0.03, 0.012, 0.012, 10)},
            silver);
  AddFin(m, 0.84, 0.14, 0.90, 0.10, 0.03, 0.20, 0.10, body, 6);
  AddFin(m, 0.86, 0.10, 0.90, 0.07, 0.02, -0.10, 0.10, body, 6);
  for (int side : {1, -1})
    AddWingHalf(m, side, 0.66, 0.08, 0.68, 0.06, 0.12, 0.03, 0.0, 0.1, 0.1, 0.0, {0.0, 1.0}, {body},
                5);
  // Main shaft, rotor head and two blades; the disc shows them turning.
  m.AddStrut({0.0, 0.0, 0.10}, {0.0, 0.0, 0.245}, 0.02, 0.02, silver);
  m.AddBox({-0.03, -0.03, 0.225}, {0.03, 0.03, 0.255}, dark);
  AddBlades(m, {0.0, 0.0, 0.245}, true, 0.67, 0.055, dark);
  AddBlades(m, {0.95, 0.045, 0.03}, false, 0.12, 0.025, dark);
  // Skids: two tubes on two cross struts.
  for (int side : {1, -1}) {
    m.AddStrut({-0.24, side * 0.13, -0.275}, {0.20, side * 0.13, -0.275}, 0.016, 0.016, dark);
    m.AddStrut({-0.27, side * 0.13, -0.255}, {-0.24, side * 0.13, -0.275}, 0.016, 0.016, dark);
    for (double x : {-0.12, 0.10})
      m.AddStrut({x, side * 0.05, -0.11}, {x, side * 0.13, -0.27}, 0.014, 0.014, dark);
  }
  d.propellers.push_back({{0.0, 0.0, 0.25}, {0.0, 0.0, 1.0}, 0.675});
  d.propellers.push_back({{0.95, 0.05, 0.03}, {0.0, 1.0, 0.0}, 0.125});
  return d;
}

Design HighWing(double s, const Rgba& main_colour, const Rgba& trim_colour,
                const std::string& title) {
  Design d;
  d.title = title;
  Model& m = d.body;
  const int main = m.Color(main_colour), trim = m.Color(trim_colour), dark = m.Color(kDark),
            canopy = m.Color(kCanopy), silver = m.Color(kSilver);
  const int n = 12;
  const std::vector<Station> fus = {{-0.42 * s, 0.00, 0.060 * s, 0.070 * s, 3.0},
                                    {-0.36 * s, 0.00, 0.072 * s, 0.085 * s, 3.0},
                                    {-0.20 * s, 0.02 * s, 0.075 * s, 0.110 * s, 3.0},
                                    {0.10 * s, 0.03 * s, 0.070 * s, 0.105 * s, 3.0},
                                    {0.45 * s, 0.05 * s, 0.045 * s, 0.065 * s, 2.6},
                                    {0.80 * s, 0.06 * s, 0.020 * s, 0.030 * s, 2.2}};
  auto rings = Rings(fus, n);
  rings.push_back(Point(0.86 * s, 0.065 * s, n));
  m.AddLoft(rings, {trim, main, main, main, main, trim}, dark);
  // Cabin windows: a flat-sided glass box under the wing.
  m.AddBox({-0.19 * s, -0.066 * s, 0.04 * s}, {0.02 * s, 0.066 * s, 0.12 * s}, canopy);
  // High wing with flat-bottomed section.
  for (int side : {1, -1})
    AddWingHalf(m, side, -0.14 * s, 0.27 * s, -0.14 * s, 0.25 * s, 0.80 * s, 0.13 * s, 0.05 * s,
                0.14, 0.13, 0.04, {0.0, 0.85, 1.0}, {main, trim}, 8);
  for (int side : {1, -1})
    AddWingHalf(m, side, 0.66 * s, 0.16 * s, 0.70 * s, 0.12 * s, 0.30 * s, 0.06 * s, 0.0, 0.08,
                0.08, 0.0, {0.0, 1.0}, {main}, 6);
  AddFin(m, 0.64 * s, 0.20 * s, 0.74 * s, 0.11 * s, 0.07 * s, 0.27 * s, 0.09, trim, 6);
  m.AddLoft({EllipseRing(-0.425 * s, 0.0, 0.035 * s, 0.035 * s, n),
             EllipseRing(-0.47 * s, 0.0, 0.024 * s, 0.024 * s, n), Point(-0.50 * s, 0.0, n)},
            silver);
  AddBlades(m, {-0.445 * s, 0.0, 0.0}, false, 0.14 * s, 0.022 * s, dark);
  // Tricycle gear.
  for (int side : {1, -1})
    m.AddStrut({0.02 * s, side * 0.05 * s, -0.07 * s}, {0.04 * s, side * 0.15 * s, -0.20 * s},
               0.016 * s, 0.008 * s, dark);
  m.AddStrut({-0.33 * s, 0.0, -0.05 * s}, {-0.34 * s, 0.0, -0.20 * s}, 0.01 * s, 0.01 * s, silver);
  d.wheels.push_back({{0.04 * s, 0.17 * s, -0.20 * s}, 0.042 * s, 0.028 * s, dark, true});
  d.wheels.push_back({{-0.34 * s, 0.0, -0.21 * s}, 0.034 * s, 0.022 * s, dark, false});
  d.propellers.push_back({{-0.445 * s, 0.0, 0.0}, {1.0, 0.0, 0.0}, 0.14 * s});
  return d;
}

Design DuctedFanJet() {
  Design d;
  d.title = "ducted-fan jet, 1.1 m span";
  Model& m = d.body;
  const int grey = m.Color({0.62, 0.66, 0.7, 1.0, "light grey"}), dark = m.Color(kDark),
            canopy = m.Color(kCanopy), red = m.Color(kRed), silver = m.Color(kSilver);
  const int n = 14;
  // Pointed nose, wide centre body around the fan, tapering to the exhaust.
  const std::vector<Station> fus = {
      {-0.62, 0.00, 0.012, 0.012, 2.0}, {-0.52, 0.00, 0.040, 0.042, 2.0},
      {-0.36, 0.01, 0.060, 0.062, 2.2}, {-0.10, 0.01, 0.075, 0.070, 2.4},
      {0.20, 0.01, 0.075, 0.066, 2.4},  {0.45, 0.01, 0.058, 0.052, 2.2},
      {0.62, 0.01, 0.045, 0.042, 2.0}};
  auto rings = Rings(fus, n);
  m.AddLoft(rings, {red, grey, grey, grey, grey, grey}, dark);
  const std::vector<Station> can = {{-0.40, 0.055, 0.028, 0.025, 2.0},
                                    {-0.30, 0.065, 0.036, 0.038, 2.0},
                                    {-0.18, 0.060, 0.030, 0.030, 2.0}};
  auto crings = Rings(can, n);
  crings.insert(crings.begin(), Point(-0.47, 0.045, n));
  crings.push_back(Point(-0.08, 0.05, n));
  m.AddLoft(crings, canopy);
  // Intakes on both sides of the cockpit.
  for (int side : {1, -1}) {
    auto ring = [&](double x) {
      std::vector<Vec3> r = EllipseRing(x, -0.01, 0.03, 0.035, 10);
      for (Vec3& p : r) p.y += side * 0.085;
      return r;
    };
    m.AddLoft({ring(-0.18), ring(0.10)}, dark);
  }
  // Swept mid wing and swept tailplane, swept fin.
  for (int side : {1, -1}) {
    AddWingHalf(m, side, -0.05, 0.42, 0.22, 0.14, 0.55, 0.0, 0.0, 0.08, 0.07, 0.0, {0.0, 0.85, 1.0},
                {grey, red}, 8);
    AddWingHalf(m, side, 0.42, 0.20, 0.56, 0.08, 0.24, 0.02, 0.0, 0.07, 0.07, 0.0, {0.0, 1.0},
                {grey}, 6);
  }
  AddFin(m, 0.36, 0.26, 0.56, 0.10, 0.05, 0.30, 0.08, red, 6);
  // Fan exhaust ring.
  m.AddLoft({EllipseRing(0.62, 0.01, 0.040, 0.038, n), EllipseRing(0.64, 0.01, 0.036, 0.034, n),
             Point(0.63, 0.01, n)},
            dark);
  // Tricycle gear.
  for (int side : {1, -1})
    m.AddStrut({0.10, side * 0.05, -0.05}, {0.12, side * 0.14, -0.16}, 0.014, 0.008, silver);
  m.AddStrut({-0.42, 0.0, -0.04}, {-0.43, 0.0, -0.16}, 0.01, 0.01, silver);
  d.wheels.push_back({{0.12, 0.15, -0.16}, 0.032, 0.02, dark, true});
  d.wheels.push_back({{-0.43, 0.0, -0.17}, 0.028, 0.018, dark, false});
  return d;
}

Design Scaled(const Design& d, double sx, double sy, double sz, const std::string& title) {
  Design o = d;
  o.title = title;
  auto scale = [&](Vec3& p) { p = {p.x * sx, p.y * sy, p.z * sz}; };
  for (Face& f : o.body.faces)
    for (Vec3& p : f.corners) scale(p);
  const double round = 0.5 * (sy + sz);
  for (Wheel& w : o.wheels) {
    scale(w.centre);
    w.radius *= sz;
    w.width *= sy;
  }
  for (Propeller& p : o.propellers) {
    scale(p.centre);
    p.radius *= round;
  }
  return o;
}

void Recolour(Design& d, const std::string& name, const Rgba& shade) {
  for (Rgba& c : d.body.colors)
    if (c.name == name) c = shade;
}

void AddNosePropeller(Design& d, double x, double radius) {
  const int dark = d.body.Color(kDark);
  AddBlades(d.body, {x, 0.0, 0.0}, false, radius, 0.02, dark);
  d.propellers.push_back({{x, 0.0, 0.0}, {1.0, 0.0, 0.0}, radius});
}

}  // namespace veltrane::content
