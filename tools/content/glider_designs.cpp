#include "glider_designs.h"

#include <cmath>

#include "design_parts.h"

namespace veltrane::content {
namespace {

const Rgba kCanopyTint{0.16, 0.24, 0.36, 0.7, "tinted canopy"};
const Rgba kDarkGrey{0.13, 0.13, 0.14, 1.0, "dark grey"};

// Fuselage from the nose at -0.32 of the length to the tail end; the wing root sits
// over the centre of gravity at x = 0.
void AddFuselage(Model& m, const GliderLook& g, int main, int trim) {
  const int n = 14;
  const double nose = -0.32 * g.length, tail = 0.68 * g.length, r = g.pod;
  std::vector<Station> st;
  if (g.podAndBoom) {
    st = {{nose + 0.02 * g.length, -0.2 * r, 0.45 * r, 0.5 * r, 2.0},
          {nose + 0.10 * g.length, -0.1 * r, 0.85 * r, 0.95 * r, 2.0},
          {nose + 0.25 * g.length, 0.0, 0.8 * r, r, 2.0},
          {nose + 0.38 * g.length, 0.2 * r, 0.3 * r, 0.35 * r, 2.0},
          {tail - 0.05 * g.length, 0.35 * r, 0.18 * r, 0.2 * r, 2.0}};
  } else {
    st = {{nose + 0.02 * g.length, -0.15 * r, 0.5 * r, 0.55 * r, 2.0},
          {nose + 0.08 * g.length, -0.1 * r, 0.8 * r, 0.9 * r, 2.0},
          {nose + 0.22 * g.length, 0.0, 0.85 * r, r, 2.0},
          {nose + 0.40 * g.length, 0.15 * r, 0.6 * r, 0.7 * r, 2.0},
          {nose + 0.65 * g.length, 0.35 * r, 0.35 * r, 0.4 * r, 2.0},
          {tail - 0.05 * g.length, 0.5 * r, 0.2 * r, 0.22 * r, 2.0}};
  }
  auto rings = Rings(st, n);
  rings.insert(rings.begin(), Point(nose, -0.2 * r, n));
  rings.push_back(Point(tail, st.back().zc, n));
  std::vector<int> bands(rings.size() - 1, main);
  bands.front() = trim;
  bands[1] = trim;
  m.AddLoft(rings, bands, main);
  if (g.canopy) {
    const double x0 = nose + 0.09 * g.length, x1 = nose + 0.3 * g.length, z = 0.55 * r;
    auto c = Rings({{x0 + 0.25 * (x1 - x0), z + 0.2 * r, 0.5 * r, 0.35 * r, 2.0},
                    {x0 + 0.6 * (x1 - x0), z + 0.25 * r, 0.55 * r, 0.45 * r, 2.0}},
                   n);
    c.insert(c.begin(), Point(x0, z, n));
    c.push_back(Point(x1, z + 0.1 * r, n));
    m.AddLoft(c, m.Color(kCanopyTint));
  }
}

void AddWing(Model& m, const GliderLook& g, int main, int trim) {
  const double half = g.span / 2, le = -0.3 * g.rootChord, z = 0.5 * g.pod;
  for (int side : {1, -1}) {
    if (!g.polyhedral) {
      AddWingHalf(m, side, le, g.rootChord, le + g.tipSweep, g.tipChord, half, z, g.dihedral * half,
                  0.11, 0.09, 0.035, {0.0, 0.55, 0.85, 1.0}, {main, main, trim}, 9);
      continue;
    }
    // Inner panel flat-ish to two thirds of the half span, the tips rising steeply.
    const double k = 2.0 / 3.0, midChord = g.rootChord + (g.tipChord - g.rootChord) * 0.6;
    AddWingHalf(m, side, le, g.rootChord, le + g.tipSweep * 0.5, midChord, half * k, z,
                g.dihedral * half * 0.5, 0.11, 0.1, 0.035, {0.0, 1.0}, {main}, 9);
    std::vector<std::vector<Vec3>> outer;
    for (double f : {0.0, 0.7, 1.0}) {
      const double c = midChord + (g.tipChord - midChord) * f;
      outer.push_back(AirfoilRing(le + g.tipSweep * (0.5 + 0.5 * f),
                                  side * half * (k + (1 - k) * f),
                                  z + g.dihedral * half * (0.5 + 2.5 * f), c, 0.1, 0.03, 9));
    }
    m.AddLoft(outer, {main, trim}, trim);
  }
}

void AddTail(Model& m, const GliderLook& g, int main, int trim) {
  const double end = 0.68 * g.length, z = 0.5 * g.pod, chord = 0.35 * g.rootChord + 0.04;
  const double le = end - chord - 0.02;
  switch (g.tail) {
    case TailKind::V: {
      // Two panels at 40 degrees from the horizontal.
      const double s = g.tailSpan / 2, c40 = std::cos(0.7), s40 = std::sin(0.7);
      for (int side : {1, -1})
        AddWingHalf(m, side, le, chord, le + 0.4 * chord, 0.6 * chord, s * c40, z, s * s40, 0.08,
                    0.08, 0.0, {0.0, 0.75, 1.0}, {main, trim}, 6);
      return;
    }
    case TailKind::Cross:
    case TailKind::T: {
      AddFin(m, le - 0.2 * chord, 1.3 * chord, le + 0.2 * chord, 0.8 * chord, z, z + g.finHeight,
             0.09, trim, 6);
      const double at = g.tail == TailKind::T ? z + g.finHeight : z + 0.35 * g.finHeight;
      const double tle = g.tail == TailKind::T ? le + 0.25 * chord : le;
      for (int side : {1, -1})
        AddWingHalf(m, side, tle, chord, tle + 0.3 * chord, 0.6 * chord, g.tailSpan / 2, at, 0.0,
                    0.08, 0.08, 0.0, {0.0, 0.8, 1.0}, {main, trim}, 6);
      return;
    }
  }
}

}  // namespace

Design SlenderGlider(const GliderLook& g) {
  Design d;
  d.title = g.title;
  Model& m = d.body;
  const int main = m.Color(g.main), trim = m.Color(g.trim);
  AddFuselage(m, g, main, trim);
  AddWing(m, g, main, trim);
  AddTail(m, g, main, trim);
  // A skid under the nose takes the landings.
  m.AddStrut({-0.28 * g.length, 0.0, -1.05 * g.pod}, {-0.05 * g.length, 0.0, -0.95 * g.pod}, 0.012,
             0.008, m.Color(kDarkGrey));
  return d;
}

Design FoamWing(double span, const Rgba& main, const Rgba& trim, const std::string& title) {
  Design d;
  d.title = title;
  Model& m = d.body;
  const int body = m.Color(main), tips = m.Color(trim), dark = m.Color(kDarkGrey);
  const double half = span / 2, root = 0.32, tip = 0.16, sweep = 0.3;
  for (int side : {1, -1}) {
    AddWingHalf(m, side, -0.12, root, -0.12 + sweep, tip, half, 0.0, 0.02, 0.12, 0.1, 0.01,
                {0.0, 0.8, 1.0}, {body, tips}, 9);
    // Winglet at the tip: the fins of a wing without a tail.
    const double y = side * half, x = -0.12 + sweep;
    m.AddLoft({FinRing(x, y, 0.02, tip, 0.08, 6), FinRing(x + 0.08, y, 0.13, 0.08, 0.08, 6)}, tips);
  }
  // Centre pod for the receiver and battery.
  const int n = 12;
  auto rings = Rings({{-0.22, 0.01, 0.025, 0.025, 2.0},
                      {-0.1, 0.015, 0.04, 0.035, 2.0},
                      {0.08, 0.015, 0.035, 0.03, 2.0}},
                     n);
  rings.insert(rings.begin(), Point(-0.27, 0.0, n));
  rings.push_back(Point(0.18, 0.01, n));
  m.AddLoft(rings, {dark, dark, dark, dark}, dark);
  return d;
}

}  // namespace veltrane::content
