// Writes the shipped landscapes: scene files, heightmaps and textures. Their
// previews are the program's own pictures (render_previews.sh).
// Usage: veltrane-gen-landscapes OUTPUT_DIR  (writes OUTPUT_DIR/Landscape/...)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <functional>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "field_furniture.h"
#include "file_writers.h"
#include "model_writers.h"
#include "noise.h"
#include "panorama.h"
#include "textures.h"

namespace veltrane::content {
namespace {

constexpr double kLevel = 0.2527;  // metres per heightmap grey level
constexpr int kTextureSize = 256;

double SmoothStep(double e0, double e1, double x) {
  const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

struct Rect {
  double x0, y0, x1, y1;
  bool Contains(double x, double y, double margin = 0.0) const {
    return x >= x0 - margin && x <= x1 + margin && y >= y0 - margin && y <= y1 + margin;
  }
  // Distance from the rectangle (0 inside).
  double Distance(double x, double y) const {
    const double dx = std::max({x0 - x, 0.0, x - x1});
    const double dy = std::max({y0 - y, 0.0, y - y1});
    return std::hypot(dx, dy);
  }
};

struct Quadrant {
  int tx, ty, nx, ny;
  std::string texture;
};

struct Tree {
  double x, y, height;
  bool pine;
};

struct Building {
  Rect base;
  double wall, ridge;  // heights above the ground level
  bool ridge_along_y;
  Rgb walls, roof;
  std::string name;
};

struct Water {
  Rect area;
  double level_m;
  double quad;  // side of one water quad
};

// A mown patch laid on flat ground: a landing area on a slope site.
struct Mat {
  Rect area;
  double z;
  std::string name;
  // 0: the whole runway picture over the patch. Else the picture's texels per metre,
  // its mown strip turned to run east-west along the patch's middle.
  double east_west_texels = 0.0;
};

// The wind a slope site is made for.
struct UsualWind {
  double speed, from;
  std::string note;
};

// One landscape; file coordinates: x east, y north, z up, metres, origin in the middle.
struct Landscape {
  std::string name;
  std::string title;
  int size = 1000, tile = 200, step = 10;
  std::function<int(double, double)> level;  // heightmap grey level (0..255) at a point
  std::vector<Quadrant> quadrants;
  std::vector<Tree> trees;
  std::vector<Building> buildings;
  std::vector<Water> water;
  std::vector<Mat> mats;
  FieldFurniture furniture;
  std::optional<UsualWind> wind;
  std::string places_note = "The pilot stands beside the runway; models start on it facing north.";
  Rect runway;
  int pilot_x = 0, pilot_y = 0, start_x = 0, start_y = 0;
  int sky_height = 700, sky_half_width = 3000;
  std::string sky = "sky";

  int Cells() const { return 2 * size / step; }
  // Height of grid point (a, b) in metres.
  double GridHeight(int a, int b) const { return kLevel * level(a * step - size, b * step - size); }
  // Lowest terrain corner of the cell that holds (x, y): where a tree stands.
  double Ground(double x, double y) const {
    const int a = std::clamp(static_cast<int>(std::floor((x + size) / step)), 0, Cells() - 1);
    const int b = std::clamp(static_cast<int>(std::floor((y + size) / step)), 0, Cells() - 1);
    return std::min(
        {GridHeight(a, b), GridHeight(a + 1, b), GridHeight(a, b + 1), GridHeight(a + 1, b + 1)});
  }
};

// ---- pictures -------------------------------------------------------------------------

Image Heightmap(const Landscape& l) {
  const int cells = l.Cells();
  Image img(cells, cells);
  // Picture row g holds grid row cells - g (the top row is the far, northern edge).
  for (int g = 0; g < cells; ++g)
    for (int c = 0; c < cells; ++c) {
      const int lv =
          std::clamp(l.level(c * l.step - l.size, (cells - g) * l.step - l.size), 0, 255);
      const double grey = (255 - lv) / 255.0;
      img.At(c, g) = {grey, grey, grey};
    }
  return img;
}

// ---- scene text -----------------------------------------------------------------------

std::string Corner(double u, double v, double x, double y, double z) {
  return Num(u, 1) + " " + Num(v, 1) + "  " + Num(x, 2) + " " + Num(y, 2) + " " + Num(z, 2);
}

std::string Corner(double x, double y, double z) {
  return Num(x, 2) + " " + Num(y, 2) + " " + Num(z, 2);
}

void WriteTrees(std::ostringstream& o, const Landscape& l) {
  for (bool pine : {true, false}) {
    o << "\n// " << (pine ? "Pines" : "Broad-leaved trees")
      << ": two crossed pictures each, every picture\n// given from both sides. Black texels "
         "are see-through (TRANSPARENT).\n";
    o << "TEXTURE " << (pine ? "tree_pine" : "tree_leaf") << " TRANSPARENT\nQUADS\n";
    for (const Tree& t : l.trees) {
      if (t.pine != pine) continue;
      const double z0 = l.Ground(t.x, t.y) - 0.3;
      const double z1 = z0 + t.height + 0.3;
      const double hw = t.height * (pine ? 0.3 : 0.4);
      for (int k = 0; k < 2; ++k) {
        const double dx = k == 0 ? hw : 0.0, dy = k == 0 ? 0.0 : hw;
        const std::string bl = Corner(0, 255, t.x - dx, t.y - dy, z0);
        const std::string br = Corner(255, 255, t.x + dx, t.y + dy, z0);
        const std::string tr = Corner(255, 0, t.x + dx, t.y + dy, z1);
        const std::string tl = Corner(0, 0, t.x - dx, t.y - dy, z1);
        o << bl << "   " << br << "   " << tr << "   " << tl << "\n";
        o << br << "   " << bl << "   " << tl << "   " << tr << "\n";
      }
    }
  }
}

void WriteBuilding(std::ostringstream& o, const Landscape& l, const Building& b) {
  const Rect& r = b.base;
  const double g = std::min({l.Ground(r.x0, r.y0), l.Ground(r.x1, r.y0), l.Ground(r.x0, r.y1),
                             l.Ground(r.x1, r.y1)}) -
                   0.2;
  const double zw = g + 0.2 + b.wall, zr = g + 0.2 + b.ridge;
  auto quad = [&](const std::string& a, const std::string& bb, const std::string& c,
                  const std::string& d) {
    o << a << "   " << bb << "   " << c << "   " << d << "\n";
  };
  o << "\n// " << b.name << "\n";
  o << "COLOR " << Num(b.walls.r, 3) << " " << Num(b.walls.g, 3) << " " << Num(b.walls.b, 3)
    << " 0 0\n";
  // Walls, counter-clockwise as seen from outside.
  quad(Corner(r.x0, r.y0, g), Corner(r.x1, r.y0, g), Corner(r.x1, r.y0, zw),
       Corner(r.x0, r.y0, zw));
  quad(Corner(r.x1, r.y0, g), Corner(r.x1, r.y1, g), Corner(r.x1, r.y1, zw),
       Corner(r.x1, r.y0, zw));
  quad(Corner(r.x1, r.y1, g), Corner(r.x0, r.y1, g), Corner(r.x0, r.y1, zw),
       Corner(r.x1, r.y1, zw));
  quad(Corner(r.x0, r.y1, g), Corner(r.x0, r.y0, g), Corner(r.x0, r.y0, zw),
       Corner(r.x0, r.y1, zw));
  // Gable ends: quads whose last two corners coincide are triangles.
  if (b.ridge_along_y) {
    const double xm = 0.5 * (r.x0 + r.x1);
    quad(Corner(r.x0, r.y0, zw), Corner(r.x1, r.y0, zw), Corner(xm, r.y0, zr),
         Corner(xm, r.y0, zr));
    quad(Corner(r.x1, r.y1, zw), Corner(r.x0, r.y1, zw), Corner(xm, r.y1, zr),
         Corner(xm, r.y1, zr));
  } else {
    const double ym = 0.5 * (r.y0 + r.y1);
    quad(Corner(r.x1, r.y0, zw), Corner(r.x1, r.y1, zw), Corner(r.x1, ym, zr),
         Corner(r.x1, ym, zr));
    quad(Corner(r.x0, r.y1, zw), Corner(r.x0, r.y0, zw), Corner(r.x0, ym, zr),
         Corner(r.x0, ym, zr));
  }
  o << "COLOR " << Num(b.roof.r, 3) << " " << Num(b.roof.g, 3) << " " << Num(b.roof.b, 3)
    << " 0 0\n";
  const double over = 0.4;  // eaves
  if (b.ridge_along_y) {
    const double xm = 0.5 * (r.x0 + r.x1);
    quad(Corner(r.x0 - over, r.y0 - over, zw - 0.2), Corner(xm, r.y0 - over, zr),
         Corner(xm, r.y1 + over, zr), Corner(r.x0 - over, r.y1 + over, zw - 0.2));
    quad(Corner(r.x1 + over, r.y1 + over, zw - 0.2), Corner(xm, r.y1 + over, zr),
         Corner(xm, r.y0 - over, zr), Corner(r.x1 + over, r.y0 - over, zw - 0.2));
  } else {
    const double ym = 0.5 * (r.y0 + r.y1);
    quad(Corner(r.x1 + over, r.y0 - over, zw - 0.2), Corner(r.x1 + over, ym, zr),
         Corner(r.x0 - over, ym, zr), Corner(r.x0 - over, r.y0 - over, zw - 0.2));
    quad(Corner(r.x0 - over, r.y1 + over, zw - 0.2), Corner(r.x0 - over, ym, zr),
         Corner(r.x1 + over, ym, zr), Corner(r.x1 + over, r.y1 + over, zw - 0.2));
  }
  // A dark door on the side facing the runway (west), just off the wall.
  o << "COLOR 0.28 0.3 0.33 0 0\n";
  const double dy0 = r.y0 + 0.15 * (r.y1 - r.y0), dy1 = r.y1 - 0.15 * (r.y1 - r.y0);
  const double dz = std::min(b.wall - 0.3, 5.0);
  const double x = r.x0 - 0.05;
  quad(Corner(x, dy1, g + 0.2), Corner(x, dy0, g + 0.2), Corner(x, dy0, g + 0.2 + dz),
       Corner(x, dy1, g + 0.2 + dz));
}

std::string SceneText(const Landscape& l) {
  std::ostringstream o;
  o << "// " << l.title
    << "\n"
       "// Landscape file: keywords and numbers separated by blanks; \"//\" starts a comment.\n"
       "// Coordinates: x east, y north, z up, metres, origin in the middle of the terrain.\n\n"
       "// SCENE half side, texture tile side, grid cell side: "
    << 2 * l.size << " m square, " << l.Cells() << " cells per side.\n";
  o << "SCENE " << l.size << " " << l.tile << " " << l.step << "\n";
  o << "// Heightmap picture, one pixel per grid point: dark is high, " << kLevel
    << " m per grey level.\n";
  o << "3D_LANDSCAPE " << l.name << "\n\n";
  o << "// Ground textures per tile: QUADRANT first column, first row, columns, rows, picture.\n";
  for (const Quadrant& q : l.quadrants)
    o << "QUADRANT " << q.tx << " " << q.ty << " " << q.nx << " " << q.ny << " " << q.texture
      << "\n";
  o << "\n// Sky dome: height, half width, picture.\n";
  o << "SKY " << l.sky_height << " " << l.sky_half_width << " " << l.sky << "\n\n";
  o << "// The land round the horizon beyond the terrain, a picture of its own.\n";
  o << "PANORAMA " << l.name << "_panorama\n\n";
  if (l.wind) {
    o << "// " << l.wind->note
      << "\n// WIND speed (m/s, 10 m above the ground), direction it blows from (degrees).\n";
    o << "WIND " << Num(l.wind->speed, 1) << " " << Num(l.wind->from, 1) << "\n\n";
  }
  o << "// " << l.places_note << "\n";
  o << "PILOT_POSITION " << l.pilot_x << " " << l.pilot_y << " 0\n";
  o << "AIRCRAFT_POSITION " << l.start_x << " " << l.start_y << " 0\n";
  o << "\n// Own objects. CULL ON draws each face from the side from which its corners run\n"
       "// counter-clockwise; a quad is u v x y z per corner while a TEXTURE is on.\n";
  o << "CULL ON\n";
  for (const Water& w : l.water) {
    o << "\n// Water surface; the shore is where the terrain rises above it.\n";
    o << "TEXTURE water\nQUADS\n";
    for (double y = w.area.y0; y < w.area.y1 - 1e-6; y += w.quad)
      for (double x = w.area.x0; x < w.area.x1 - 1e-6; x += w.quad) {
        const double x1 = x + w.quad, y1 = y + w.quad;
        o << Corner(0, 255, x, y, w.level_m) << "   " << Corner(255, 255, x1, y, w.level_m) << "   "
          << Corner(255, 0, x1, y1, w.level_m) << "   " << Corner(0, 0, x, y1, w.level_m) << "\n";
      }
  }
  for (const Mat& m : l.mats) {
    o << "\n// " << m.name << ": a mown patch just above the flat ground.\n";
    o << "TEXTURE runway\nQUADS\n";
    const Rect& r = m.area;
    if (m.east_west_texels > 0.0) {
      // The picture repeats, so v runs on past its edge along the strip.
      const double k = m.east_west_texels, ua = 128.0 - 0.5 * (r.y1 - r.y0) * k;
      const double ub = 128.0 + 0.5 * (r.y1 - r.y0) * k, v = (r.x1 - r.x0) * k;
      o << Corner(ua, 0, r.x0, r.y0, m.z) << "   " << Corner(ua, v, r.x1, r.y0, m.z) << "   "
        << Corner(ub, v, r.x1, r.y1, m.z) << "   " << Corner(ub, 0, r.x0, r.y1, m.z) << "\n";
      continue;
    }
    o << Corner(0, 255, r.x0, r.y0, m.z) << "   " << Corner(255, 255, r.x1, r.y0, m.z) << "   "
      << Corner(255, 0, r.x1, r.y1, m.z) << "   " << Corner(0, 0, r.x0, r.y1, m.z) << "\n";
  }
  WriteTrees(o, l);
  if (!l.buildings.empty()) {
    o << "\n// Buildings from plain coloured quads.\nTEXTURE OFF\nQUADS\n";
    for (const Building& b : l.buildings) WriteBuilding(o, l, b);
  }
  const GroundAt ground = [&l](double x, double y) { return l.Ground(x, y); };
  WriteFurniture(o, l.furniture, ground, "flags");
  o << "\nEND\n";
  return o.str();
}

// ---- the landscapes ---------------------------------------------------------------------

void ScatterWood(std::vector<Tree>& trees, Sequence& seq, double cx, double cy, double radius,
                 int count, double pine_share, const std::function<bool(double, double)>& free) {
  for (int k = 0; k < count; ++k) {
    const double a = seq.Next() * 6.283185307179586;
    const double r = radius * std::sqrt(seq.Next());
    const double x = cx + r * std::cos(a), y = cy + r * std::sin(a);
    const double height = 8.0 + 7.0 * seq.Next();
    const bool pine = seq.Next() < pine_share;
    if (free(x, y))
      trees.push_back({std::round(x * 10) / 10, std::round(y * 10) / 10, height, pine});
  }
}

// Groups of trees standing against the sky as the pilot first looks: on each of a fan of
// sight lines round the line to the model's start, the place between `near` and `far`
// metres nearest a random distance where a tree's top clears all the terrain in front of
// and behind it; failing that, the highest point the line meets beyond `near` (a crest,
// or the far side of the land). A group is a short, ragged row across the sight line, so
// the groups read as hedgerows and copses with gaps, not as a wall.
void SkylineWoods(Landscape& l, std::uint32_t seed, double half_arc_deg, int groups, double near,
                  double far, double pine_share, const std::function<bool(double, double)>& free) {
  Sequence seq(seed);
  const auto terrain = [&l](double x, double y) { return kLevel * l.level(x, y); };
  const double eye = terrain(l.pilot_x, l.pilot_y) + 1.7;
  const double view = std::atan2(l.start_y - l.pilot_y, l.start_x - l.pilot_x);
  const double half = half_arc_deg * std::numbers::pi / 180.0, edge = l.size - 30.0;
  for (int g = 0; g < groups; ++g) {
    const double a = view + half * (2.0 * (g + seq.Next()) / groups - 1.0);
    const double want = seq.Range(near, far);
    if (seq.Next() < 0.2) continue;  // a gap
    const double cx = std::cos(a), cy = std::sin(a);
    std::vector<double> dist, angle;
    for (double d = 20.0;
         std::fabs(l.pilot_x + cx * d) < edge && std::fabs(l.pilot_y + cy * d) < edge; d += 5.0) {
      dist.push_back(d);
      angle.push_back((terrain(l.pilot_x + cx * d, l.pilot_y + cy * d) - eye) / d);
    }
    const size_t n = dist.size();
    std::vector<double> beyond(n, -1e9);
    for (size_t i = n - 1; i > 0 && n > 1; --i) beyond[i - 1] = std::max(beyond[i], angle[i]);
    double before = -1e9, best_gap = 1e9, crest = -1e9;
    size_t pick = n, top = n;
    for (size_t i = 0; i < n; ++i) {
      const double d = dist[i], x = l.pilot_x + cx * d, y = l.pilot_y + cy * d;
      if (d >= near && free(x, y)) {
        const double tree_top = angle[i] + 11.0 / d;
        if (d <= far && tree_top > beyond[i] && tree_top > before &&
            std::fabs(d - want) < best_gap) {
          best_gap = std::fabs(d - want);
          pick = i;
        }
        if (angle[i] > crest) crest = angle[i], top = i;
      }
      before = std::max(before, angle[i]);
    }
    if (pick == n) pick = top;
    if (pick == n) continue;
    // Behind a crest a little, so the trunks stand on the far side of the skyline.
    const double d = dist[pick] + (pick == top ? seq.Range(0.0, 15.0) : 0.0);
    const double across = a + std::numbers::pi / 2 + seq.Range(-0.5, 0.5);
    const int count = 3 + static_cast<int>(seq.Next() * 6);
    const double length = 8.0 * count * seq.Range(0.7, 1.3);
    for (int k = 0; k < count; ++k) {
      const double s = length * ((k + 0.5) / count - 0.5) + seq.Range(-3.0, 3.0);
      const double t = seq.Range(-6.0, 6.0);
      const double x = l.pilot_x + cx * (d + t) + std::cos(across) * s;
      const double y = l.pilot_y + cy * (d + t) + std::sin(across) * s;
      const double height = seq.Range(9.0, 15.0);
      const bool pine = seq.Next() < pine_share;
      if (free(x, y) && std::fabs(x) < edge && std::fabs(y) < edge)
        l.trees.push_back({std::round(x * 10) / 10, std::round(y * 10) / 10, height, pine});
    }
  }
}

// The furniture of a strip running north-south: the pilots' stand beside the pilot's
// place, `ahead` metres north of it (south when negative) and `across` metres towards
// the strip (side: -1 the strip lies west of the pilot, +1 east); at least 2.75 m
// across, a model thrown north or south passes beside its deck. And a fence along
// x = fence_x from y0 to y1 on the strip's far side.
FieldFurniture AirstripFurniture(const Landscape& l, double side, double across, double ahead,
                                 double fence_x, double y0, double y1) {
  FieldFurniture f;
  f.stands = {{{l.pilot_x + across * side, l.pilot_y + ahead}, {side, 0.0}}};
  f.fences = {{{{fence_x, y0}, {fence_x, y1}}}};
  return f;
}

Landscape Airfield() {
  Landscape l;
  l.name = "world";
  l.title = "Airfield: a mown grass runway in rolling meadows, woods and hills around";
  l.size = 1000;
  l.tile = 200;
  l.step = 10;
  // The runway lies north-south in the middle of tile column 5.
  l.runway = {87.5, -200, 112.5, 200};
  const Rect flat{20, -330, 200, 310};
  const int base = 24;
  l.level = [flat, base](double x, double y) {
    const double d = flat.Distance(x, y);
    if (d <= 0.0) return base;
    const double blend = SmoothStep(0.0, 160.0, d);
    const double rolling = 26.0 * (FractalNoise(x / 260.0 + 50, y / 260.0 + 50, 4, 3) - 0.5);
    const double edge = std::max(std::fabs(x), std::fabs(y));
    const double hills = 150.0 * SmoothStep(520.0, 980.0, edge) *
                         (0.55 + 0.45 * FractalNoise(x / 180.0, y / 180.0, 3, 9));
    const double west =
        40.0 * SmoothStep(-250.0, -700.0, x) * FractalNoise(x / 150.0, y / 150.0, 2, 4);
    const int lv = base + static_cast<int>(std::lround(blend * (rolling + hills + west)));
    return std::clamp(lv, 0, 255);
  };
  l.quadrants = {{0, 0, 10, 10, "grass_a"},  {5, 3, 1, 4, "runway"},  {0, 0, 10, 2, "grass_c"},
                 {0, 8, 10, 2, "grass_c"},   {0, 2, 2, 6, "grass_c"}, {8, 2, 2, 6, "grass_c"},
                 {2, 2, 2, 2, "grass_b"},    {6, 6, 2, 2, "grass_b"}, {7, 3, 1, 2, "field_crop"},
                 {2, 5, 1, 2, "field_soil"}, {3, 6, 1, 1, "grass_b"}};
  l.pilot_x = 125;
  l.pilot_y = -110;
  l.start_x = 100;
  l.start_y = -160;
  l.buildings = {
      {{150, -62, 172, -40}, 6.0, 8.5, false, {0.78, 0.78, 0.75}, {0.55, 0.14, 0.1}, "Hangar"},
      {{150, -92, 161, -84}, 3.0, 4.6, true, {0.86, 0.82, 0.7}, {0.35, 0.2, 0.14}, "Club house"},
      {{166, -90, 172, -84}, 2.4, 3.2, true, {0.55, 0.42, 0.3}, {0.3, 0.3, 0.32}, "Shed"}};
  l.furniture = AirstripFurniture(l, -1.0, 5.0, -14.0, 62.0, -230, -80);
  l.furniture.flags = {{{145, -95}, 7.0, 0}, {{145, -91}, 7.0, 1}, {{145, -87}, 7.0, 2}};
  // Keep trees off the runway, its approaches and the pilot's place.
  const Rect corridor{-30, -520, 240, 520};
  auto free = [&](double x, double y) {
    return !corridor.Contains(x, y) && std::fabs(x) < 980 && std::fabs(y) < 980;
  };
  Sequence seq(2024);
  ScatterWood(l.trees, seq, -260, 120, 110, 60, 0.7, free);
  ScatterWood(l.trees, seq, -180, -320, 80, 35, 0.3, free);
  ScatterWood(l.trees, seq, 420, 260, 120, 55, 0.5, free);
  ScatterWood(l.trees, seq, 380, -420, 70, 25, 0.2, free);
  ScatterWood(l.trees, seq, -600, -600, 150, 50, 0.8, free);
  ScatterWood(l.trees, seq, 650, 700, 140, 40, 0.9, free);
  // A hedge row of broad-leaved trees east of the airfield.
  for (int k = 0; k < 18; ++k) {
    const double y = -420 + 50.0 * k;
    if (free(290, y))
      l.trees.push_back({290 + 6.0 * seq.Next(), y + 10.0 * seq.Next(), 9 + 4 * seq.Next(), false});
  }
  // Copses and hedgerows against the sky south-west of the runway: closer in than the
  // woods above, but 200 m off the runway's end.
  SkylineWoods(l, 2025, 32.0, 10, 220.0, 600.0, 0.5, [](double x, double y) {
    return !Rect{-30, -230, 240, 520}.Contains(x, y) && !Rect{40, -400, 200, -230}.Contains(x, y) &&
           std::fabs(x) < 980 && std::fabs(y) < 980;
  });
  return l;
}

Landscape Lake() {
  Landscape l;
  l.name = "lake";
  l.title = "Lake: a grass strip on the south shore of a lake with wooded hills behind it";
  l.size = 800;
  l.tile = 160;
  l.step = 8;
  l.runway = {-100, -300, 100, -285};
  const Rect flat{-170, -340, 170, -250};
  const int base = 30;
  l.level = [flat, base](double x, double y) {
    const double d = flat.Distance(x, y);
    if (d <= 0.0) return base;
    const double blend = SmoothStep(0.0, 60.0, d);
    // Lake basin north of the strip with a clear shore line; hills rise behind it.
    const double q = std::hypot(x / 330.0, (y + 20.0) / 170.0);
    const double lake = -30.0 * SmoothStep(1.15, 0.7, q);
    const double hills = 180.0 * SmoothStep(150.0, 700.0, y) *
                         (0.6 + 0.4 * FractalNoise(x / 160.0, y / 160.0, 4, 21));
    const double side = 60.0 * SmoothStep(450.0, 780.0, std::fabs(x));
    const double rolling = 10.0 * FractalNoise(x / 120.0, y / 120.0, 3, 8);
    const int lv = base + static_cast<int>(std::lround(blend * (lake + hills + side + rolling)));
    return std::clamp(lv, 0, 255);
  };
  l.water.push_back({{-420, -240, 420, 240}, kLevel * (base - 2) + 0.05, 60});
  l.quadrants = {{0, 0, 10, 10, "grass_b"}, {0, 6, 10, 4, "grass_c"}};
  // The strip runs east-west, across the ground tiles: a mown patch of its own, the
  // runway picture's 32 texel strip over its 15 m.
  l.mats = {{{-110, -302.5, 110, -282.5}, kLevel * base + 0.03, "The strip", 32.0 / 15.0}};
  l.pilot_x = 0;
  l.pilot_y = -310;
  l.start_x = -60;
  l.start_y = -292;
  l.buildings = {
      {{120, -335, 135, -322}, 3.0, 4.8, true, {0.85, 0.8, 0.68}, {0.3, 0.32, 0.35}, "Boat house"}};
  // The strip runs east-west: the stand faces north over it, the fence closes its
  // western end and runs on behind the pilot.
  l.furniture.stands = {{{-8.0, -318.0}, {0.0, 1.0}}};
  l.furniture.fences = {{{{-160, -262}, {-160, -336}, {-40, -336}}}};
  l.furniture.flags = {{{112, -326}, 6.0, 0}, {{112, -322}, 6.0, 1}};
  auto free = [&](double x, double y) {
    const bool shore = std::hypot(x / 330.0, (y + 20.0) / 170.0) < 1.3;
    return !flat.Contains(x, y, 40) && !shore && std::fabs(x) < 780 && std::fabs(y) < 780;
  };
  Sequence seq(77);
  ScatterWood(l.trees, seq, -350, 420, 260, 150, 0.8, free);
  ScatterWood(l.trees, seq, 380, 400, 240, 140, 0.8, free);
  ScatterWood(l.trees, seq, 0, 600, 200, 90, 0.9, free);
  ScatterWood(l.trees, seq, -550, -450, 150, 40, 0.3, free);
  ScatterWood(l.trees, seq, 560, -420, 150, 40, 0.3, free);
  // Copses on the rising ground west of the strip, clear of its approach.
  SkylineWoods(l, 78, 32.0, 11, 200.0, 600.0, 0.6, [&](double x, double y) {
    return free(x, y) && !(std::fabs(y + 292.0) < 70.0 && std::fabs(x) < 600.0);
  });
  return l;
}

// A row of trees along a line, with a little scatter.
void TreeLine(std::vector<Tree>& trees, Sequence& seq, double x0, double y0, double x1, double y1,
              double spacing, double pine_share) {
  const double len = std::hypot(x1 - x0, y1 - y0);
  for (double d = 0.0; d <= len; d += spacing) {
    const double f = d / len;
    const double x = x0 + (x1 - x0) * f + 4.0 * (seq.Next() - 0.5);
    const double y = y0 + (y1 - y0) * f + 4.0 * (seq.Next() - 0.5);
    const bool pine = seq.Next() < pine_share;
    trees.push_back(
        {std::round(x * 10) / 10, std::round(y * 10) / 10, 10.0 + 5.0 * seq.Next(), pine});
  }
}

Landscape Field() {
  Landscape l;
  l.name = "field";
  l.title = "Field: a wide, flat field with a tree line and a hangar";
  l.size = 1000;
  l.tile = 200;
  l.step = 10;
  l.runway = {87.5, -250, 112.5, 250};
  const int base = 20;
  l.level = [base](double x, double y) {
    // Flat for a kilometre around the strip; a gentle swell towards the edges.
    const double edge = std::max(std::fabs(x), std::fabs(y));
    const double swell =
        30.0 * SmoothStep(600.0, 990.0, edge) * FractalNoise(x / 200.0, y / 200.0, 3, 31);
    return std::clamp(base + static_cast<int>(std::lround(swell)), 0, 255);
  };
  l.quadrants = {{0, 0, 10, 10, "field_grass"}, {5, 2, 1, 6, "runway"},
                 {1, 1, 3, 2, "field_crop"},    {7, 6, 2, 3, "field_crop"},
                 {1, 6, 2, 2, "field_soil"},    {7, 1, 2, 2, "field_soil"}};
  l.pilot_x = 125;
  l.pilot_y = -120;
  l.start_x = 100;
  l.start_y = -200;
  l.sky = "sky_field";
  l.buildings = {
      {{20, -345, 58, -305}, 7.0, 9.5, false, {0.72, 0.74, 0.76}, {0.3, 0.34, 0.4}, "Hangar"},
      {{150, -92, 162, -82}, 3.0, 4.4, true, {0.9, 0.88, 0.8}, {0.55, 0.15, 0.1}, "Club hut"}};
  l.furniture = AirstripFurniture(l, -1.0, 2.75, 9.0, 62.0, -280, -130);
  // Flags beside the hangar, well off the strip's approach.
  l.furniture.flags = {{{64, -312}, 7.0, 3}, {{64, -308}, 7.0, 0}, {{64, -304}, 7.0, 1}};
  Sequence seq(3031);
  // The tree line across the far (southern) end of the field as the pilot sees it,
  // and one along its western edge.
  TreeLine(l.trees, seq, -700, -480, 700, -480, 14.0, 0.3);
  TreeLine(l.trees, seq, -220, -460, -220, 700, 16.0, 0.2);
  ScatterWood(l.trees, seq, 650, -600, 140, 40, 0.6,
              [](double x, double y) { return std::fabs(x) < 980 && std::fabs(y) < 980; });
  // Copses against the sky off the approach, beside the tree line.
  SkylineWoods(l, 3032, 32.0, 10, 150.0, 600.0, 0.3, [](double x, double y) {
    return !Rect{30, -560, 170, 560}.Contains(x, y) && std::fabs(x) < 980 && std::fabs(y) < 980;
  });
  return l;
}

Landscape Valley() {
  Landscape l;
  l.name = "valley";
  l.title = "Valley: a grass strip on the floor of a valley between wooded hills";
  l.size = 800;
  l.tile = 160;
  l.step = 8;
  l.runway = {70, -320, 90, 320};
  const int base = 40;
  l.level = [base](double x, double y) {
    const double d = std::fabs(x - 80.0);
    // Steep sides from 130 m off the strip, a ridge line that rises and falls.
    const double sides = 190.0 * SmoothStep(100.0, 480.0, d) *
                         (0.65 + 0.35 * FractalNoise(x / 150.0, y / 150.0, 4, 41));
    const double ends = 90.0 * SmoothStep(450.0, 780.0, std::fabs(y));
    const double floor = 4.0 * FractalNoise(x / 90.0, y / 90.0, 2, 43) * SmoothStep(60.0, 130.0, d);
    return std::clamp(base + static_cast<int>(std::lround(sides + ends + floor)), 0, 255);
  };
  l.quadrants = {{0, 0, 10, 10, "valley_grass"}, {0, 0, 3, 10, "rock"},    {8, 0, 2, 10, "rock"},
                 {3, 0, 1, 10, "grass_c"},       {6, 0, 2, 10, "grass_c"}, {5, 2, 1, 6, "runway"}};
  l.pilot_x = 105;
  l.pilot_y = -150;
  l.start_x = 80;
  l.start_y = -260;
  l.sky = "sky_valley";
  l.sky_height = 900;
  l.buildings = {
      {{115, -105, 127, -95}, 2.8, 4.6, true, {0.6, 0.45, 0.3}, {0.35, 0.2, 0.14}, "Hut"}};
  l.furniture = AirstripFurniture(l, -1.0, 5.0, -16.0, 40.0, -300, -150);
  l.furniture.flags = {{{111, -104}, 6.0, 1}, {{111, -100}, 6.0, 2}};
  auto free = [](double x, double y) {
    return std::fabs(x - 80.0) > 110.0 && std::fabs(x) < 780 && std::fabs(y) < 780;
  };
  Sequence seq(4049);
  // Trees along the foot of both slopes frame the valley floor.
  TreeLine(l.trees, seq, -40, -620, -40, 620, 22.0, 0.6);
  TreeLine(l.trees, seq, 200, -620, 200, 620, 22.0, 0.6);
  ScatterWood(l.trees, seq, -300, 200, 250, 160, 0.85, free);
  ScatterWood(l.trees, seq, 450, -250, 250, 160, 0.85, free);
  ScatterWood(l.trees, seq, -350, -450, 200, 90, 0.7, free);
  ScatterWood(l.trees, seq, 450, 450, 200, 90, 0.7, free);
  // Copses on the rising valley end the pilot looks towards, off the strip's approach.
  SkylineWoods(l, 4050, 32.0, 11, 150.0, 600.0, 0.7, [&](double x, double y) {
    return free(x, y) ||
           (y < -520.0 && std::fabs(x - 80.0) > 40.0 && std::fabs(x) < 780 && std::fabs(y) < 780);
  });
  return l;
}

Landscape Coast() {
  Landscape l;
  l.name = "coast";
  l.title = "Coast: a grass strip behind a sandy beach, the sea to the east";
  l.size = 800;
  l.tile = 160;
  l.step = 8;
  l.runway = {70, -300, 90, 300};
  const int base = 30;
  l.level = [base](double x, double y) {
    // Land west of x = 160; the beach slopes down into the sea from there.
    const double beach = -14.0 * SmoothStep(160.0, 320.0, x) - 10.0 * SmoothStep(320.0, 700.0, x);
    const double dunes = 40.0 * SmoothStep(-40.0, -500.0, x) *
                         (0.5 + 0.5 * FractalNoise(x / 120.0, y / 120.0, 3, 51));
    const double ripple =
        3.0 * FractalNoise(x / 70.0, y / 70.0, 2, 53) * SmoothStep(-40.0, -120.0, x);
    return std::clamp(base + static_cast<int>(std::lround(beach + dunes + ripple)), 0, 255);
  };
  const double sea = kLevel * (base - 6) + 0.05;
  l.water.push_back({{240, -800, 800, 800}, sea, 80});
  l.quadrants = {{0, 0, 10, 10, "coast_grass"},
                 {6, 0, 2, 10, "sand"},
                 {8, 0, 2, 10, "water"},
                 {5, 2, 1, 6, "runway"}};
  // West of the strip, so that the pilot looks past the model out to sea.
  l.pilot_x = 40;
  l.pilot_y = -150;
  l.start_x = 80;
  l.start_y = -190;
  l.sky = "sky_coast";
  l.buildings = {
      {{150, -250, 158, -242}, 2.4, 3.6, true, {0.3, 0.5, 0.7}, {0.9, 0.9, 0.88}, "Beach hut"}};
  l.furniture = AirstripFurniture(l, 1.0, 2.75, -12.0, 120.0, -280, -130);
  // The sea breeze blows the flags inland.
  l.furniture.flag_towards = {-1.0, 0.0};
  l.furniture.flags = {{{146, -252}, 6.0, 2}, {{146, -248}, 6.0, 3}};
  auto free = [](double x, double y) {
    return x < -60.0 && std::fabs(x) < 780 && std::fabs(y) < 780;
  };
  Sequence seq(5059);
  ScatterWood(l.trees, seq, -450, 300, 260, 120, 0.9, free);
  ScatterWood(l.trees, seq, -450, -400, 260, 120, 0.9, free);
  // Pines on the land south along the shore, clear of the strip's approach.
  SkylineWoods(l, 5060, 45.0, 14, 150.0, 600.0, 0.9, [](double x, double y) {
    return x < 150.0 && (x < -60.0 || (y < -320.0 && std::fabs(x - 80.0) > 40.0)) &&
           std::fabs(x) < 780 && std::fabs(y) < 780;
  });
  return l;
}

// ---- slope sites: terrain made for soaring in the wind the scene names ----------------

// Level of a flat patch, its surroundings blended in over `blend` metres.
int Flatten(int level, int flat, const Rect& area, double blend, double x, double y) {
  const double f = SmoothStep(0.0, blend, area.Distance(x, y));
  return static_cast<int>(std::lround(flat + f * (level - flat)));
}

// The ridge's crest line: y of the edge at x, bending gently.
double RidgeEdge(double x) {
  return 20.0 * std::sin(x / 260.0) + 12.0 * (FractalNoise(x / 200.0, 3.0, 2, 61) - 0.5);
}

Landscape Ridge() {
  Landscape l;
  l.name = "ridge";
  l.title = "Ridge: a long grassy ridge facing north over a wide meadow";
  l.size = 800;
  l.tile = 160;
  l.step = 8;
  const int foot = 20, crest = 220;      // 5 m and 55.6 m
  const Rect top{-60, -130, 60, -40};    // landing area behind the edge
  const Rect bottom{-80, 250, 80, 330};  // and one at the foot
  l.level = [=](double x, double y) {
    // The crest line runs east-west near y = 0 with gentle bends; the face falls
    // 50 m over about 170 m to the north, the back slope far more gently south.
    const double d = y - RidgeEdge(x);                           // metres north of the crest line
    const double ends = SmoothStep(620.0, 790.0, std::fabs(x));  // the ridge dies away at its ends
    // The face falls 50 m over 130 m, rounded over at the crest; the back slope far
    // more gently south.
    const double face = 1.0 - SmoothStep(-20.0, 110.0, d);
    const double back = 1.0 - 0.45 * SmoothStep(-80.0, -700.0, d);
    const double shape = std::min(face, back);
    const double lumps =
        6.0 * FractalNoise(x / 90.0, y / 90.0, 3, 63) * SmoothStep(120.0, 40.0, std::fabs(d));
    const double hills =
        (crest - foot) * shape * (1.0 - ends) + lumps * (1.0 - 0.7 * SmoothStep(-10.0, 10.0, d));
    const double meadow =
        5.0 * FractalNoise(x / 150.0, y / 150.0, 3, 65) * SmoothStep(200.0, 300.0, d);
    int lv = foot + static_cast<int>(std::lround(hills + meadow));
    lv = Flatten(lv, crest, top, 30.0, x, y);
    lv = Flatten(lv, foot, bottom, 40.0, x, y);
    return std::clamp(lv, 0, 255);
  };
  // One grass over the whole ridge, so no tile edge runs along the face.
  l.quadrants = {
      {0, 0, 10, 10, "valley_grass"}, {1, 7, 2, 2, "field_crop"}, {7, 7, 2, 2, "field_soil"}};
  l.mats = {{top, kLevel * crest + 0.03, "Landing area on top, behind the edge"},
            {bottom, kLevel * foot + 0.03, "Landing area at the foot"}};
  l.wind = UsualWind{5.0, 0.0, "The usual wind blows from the north, straight up the face."};
  l.places_note =
      "The pilot stands at the edge of the crest; models start on the landing area at the foot.";
  // Just over the edge, so that a model thrown from the hand is over the face at once.
  l.pilot_x = 0;
  l.pilot_y = static_cast<int>(std::lround(RidgeEdge(0.0) + 6.0));
  l.start_x = 0;
  l.start_y = 290;
  l.sky = "sky_field";
  l.sky_height = 800;
  l.buildings = {
      {{90, -120, 100, -110}, 2.4, 3.6, true, {0.6, 0.45, 0.3}, {0.35, 0.2, 0.14}, "Shelter"}};
  Sequence seq(6061);
  // Bushes and trees on the meadow below and on the back slope, clear of the face
  // and of both landing areas.
  auto free = [&](double x, double y) {
    return std::fabs(x) < 780 && std::fabs(y) < 780 && !bottom.Contains(x, y, 80) &&
           !top.Contains(x, y, 60) && (y > 260 || y < -220);
  };
  ScatterWood(l.trees, seq, -450, 500, 200, 70, 0.3, free);
  ScatterWood(l.trees, seq, 420, 560, 180, 60, 0.3, free);
  ScatterWood(l.trees, seq, -300, -480, 220, 80, 0.7, free);
  ScatterWood(l.trees, seq, 380, -420, 200, 70, 0.7, free);
  TreeLine(l.trees, seq, -700, 420, -200, 420, 20.0, 0.1);
  // Copses on the far side of the meadow below.
  SkylineWoods(l, 6062, 30.0, 10, 450.0, 760.0, 0.3, free);
  return l;
}

// The cliff's edge: y of its lip at x.
double CliffEdge(double x) {
  return 160.0 + 12.0 * std::sin(x / 180.0) + 8.0 * (FractalNoise(x / 120.0, 7.0, 2, 71) - 0.5);
}

Landscape Cliffs() {
  Landscape l;
  l.name = "cliffs";
  l.title = "Cliffs: a grass-topped cliff over a sandy beach, the sea to the north";
  l.size = 800;
  l.tile = 160;
  l.step = 8;
  const int sea_floor = 0, beach = 14, top_level = 200;  // 3.5 m beach, 50.5 m cliff top
  const Rect top{-60, 40, 60, 110};
  const Rect shore{-80, 240, 80, 275};  // a firm strip of beach below the pilot
  l.level = [=](double x, double y) {
    // The cliff edge near y = 160 bends a little; below it a steep face, a beach
    // sloping into the sea, and dunes rolling inland behind the edge.
    const double d = y - CliffEdge(x);
    double lv;
    if (d < -8.0) {
      const double dunes =
          18.0 * FractalNoise(x / 110.0, y / 110.0, 3, 73) * SmoothStep(-30.0, -140.0, d);
      lv = top_level - 30.0 * SmoothStep(-200.0, -750.0, d) + dunes;
    } else if (d < 70.0) {
      lv = beach + (top_level - beach) * (1.0 - SmoothStep(-8.0, 70.0, d));
    } else {
      lv = beach - (beach - sea_floor) * SmoothStep(110.0, 220.0, d);
    }
    int flat = Flatten(static_cast<int>(std::lround(lv)), top_level, top, 40.0, x, y);
    if (d > 60.0) flat = Flatten(flat, beach, shore, 15.0, x, y);
    return std::clamp(flat, 0, 255);
  };
  const double sea = kLevel * 8 + 0.05;
  l.water.push_back({{-800, 300, 800, 800}, sea, 80});
  l.quadrants = {{0, 0, 10, 10, "coast_grass"},
                 {0, 6, 10, 1, "sand"},
                 {0, 7, 10, 3, "water"},
                 {0, 0, 10, 2, "grass_c"}};
  l.mats = {{top, kLevel * top_level + 0.03, "Landing area on top, behind the edge"},
            {shore, kLevel * beach + 0.03, "Landing area on the beach"}};
  l.wind = UsualWind{5.0, 0.0, "The usual wind is the sea breeze from the north, onto the cliff."};
  l.places_note = "The pilot stands at the cliff edge; models start on the beach below.";
  l.pilot_x = 0;
  l.pilot_y = static_cast<int>(std::lround(CliffEdge(0.0) - 2.0));
  l.start_x = 0;
  l.start_y = 258;
  l.sky = "sky_coast";
  l.buildings = {{{-130, 60, -118, 70},
                  2.6,
                  4.0,
                  false,
                  {0.92, 0.9, 0.84},
                  {0.2, 0.3, 0.45},
                  "Coastguard hut"}};
  Sequence seq(7079);
  auto free = [&](double x, double y) {
    return y < -100 && std::fabs(x) < 780 && std::fabs(y) < 780;
  };
  ScatterWood(l.trees, seq, -450, -450, 260, 90, 0.95, free);
  ScatterWood(l.trees, seq, 450, -500, 240, 80, 0.95, free);
  return l;
}

Landscape Hill() {
  Landscape l;
  l.name = "hill";
  l.title = "Hill: a lone hill in farmland with slopes facing every way";
  l.size = 800;
  l.tile = 160;
  l.step = 8;
  const int plain = 16, summit = 226;    // 4 m and 57 m
  const Rect top{-30, -45, 30, 45};      // the flat summit, long north-south
  const Rect foot{-370, -40, -270, 40};  // a meadow at the western foot
  l.level = [=](double x, double y) {
    // An oval hill, longer north-south, so a west or an east wind meets a broad
    // face; spurs to the north-east and south-west give faces for other winds.
    const double r = std::hypot(x / 1.0, y / 1.6);
    const double spur1 = 0.35 * std::exp(-std::pow(std::hypot(x - 170.0, y - 200.0) / 110.0, 2.0));
    const double spur2 = 0.3 * std::exp(-std::pow(std::hypot(x + 160.0, y + 230.0) / 110.0, 2.0));
    const double dome = 1.0 - SmoothStep(30.0, 140.0, r);
    const double shape = std::max(dome, spur1 + spur2);
    const double farm = 4.0 * FractalNoise(x / 130.0, y / 130.0, 3, 81);
    const double lumps = 8.0 * FractalNoise(x / 70.0, y / 70.0, 2, 83) * shape;
    const int lv = plain + static_cast<int>(std::lround((summit - plain) * shape + farm + lumps));
    return std::clamp(Flatten(Flatten(lv, summit, top, 15.0, x, y), plain + 2, foot, 30.0, x, y), 0,
                      255);
  };
  l.quadrants = {{0, 0, 10, 10, "field_grass"},
                 {0, 0, 2, 3, "field_crop"},
                 {8, 7, 2, 3, "field_crop"},
                 {7, 0, 3, 2, "field_soil"},
                 {0, 7, 2, 3, "field_soil"}};
  l.mats = {{{-25, -35, 25, 35}, kLevel * summit + 0.03, "Landing area on the summit"},
            {foot, kLevel * (plain + 2) + 0.03, "Landing area at the western foot"}};
  l.wind = UsualWind{5.0, 270.0, "The usual wind blows from the west onto the long western face."};
  l.places_note = "The pilot stands at the western edge of the summit; models start at its foot.";
  l.pilot_x = -48;
  l.pilot_y = 0;
  l.start_x = -320;
  l.start_y = 0;
  l.sky = "sky";
  l.sky_height = 800;
  Sequence seq(8087);
  auto free = [&](double x, double y) {
    return std::hypot(x, y / 1.6) > 220.0 && std::fabs(x) < 780 && std::fabs(y) < 780;
  };
  TreeLine(l.trees, seq, -700, -420, 700, -420, 24.0, 0.2);
  TreeLine(l.trees, seq, 420, -700, 420, 700, 24.0, 0.2);
  ScatterWood(l.trees, seq, -520, 480, 180, 70, 0.5, free);
  l.buildings = {
      {{-470, -330, -448, -314}, 5.0, 8.0, false, {0.7, 0.25, 0.18}, {0.3, 0.3, 0.32}, "Barn"},
      {{-440, -330, -428, -320}, 3.0, 5.0, true, {0.9, 0.88, 0.8}, {0.55, 0.15, 0.1}, "Farmhouse"}};
  // Hedgerows and copses on the far side of the farmland west of the hill.
  SkylineWoods(l, 8088, 30.0, 10, 500.0, 760.0, 0.3, free);
  return l;
}

void WriteLandscape(const std::string& dir, const Landscape& l) {
  WriteText(dir + "/" + l.name + ".scn", SceneText(l));
  WriteBmp(dir + "/" + l.name + ".bmp", Heightmap(l));
  WriteBmp(dir + "/" + l.name + "_panorama.bmp", Panorama(PanoramaStyleFor(l.name)));
}

}  // namespace
}  // namespace veltrane::content

int main(int argc, char** argv) {
  using namespace veltrane::content;
  return GeneratorMain(argc, argv, [](const std::string& out) {
    const std::string dir = out + "/Landscape";
    MakeDirs(dir);
    WriteBmp(dir + "/grass_a.bmp",
             GrassTexture(kTextureSize, {0.2, 0.36, 0.12}, {0.38, 0.55, 0.2}, 0.5, 11));
    WriteBmp(dir + "/grass_b.bmp",
             GrassTexture(kTextureSize, {0.24, 0.38, 0.1}, {0.45, 0.55, 0.2}, 0.6, 12));
    WriteBmp(dir + "/grass_c.bmp",
             GrassTexture(kTextureSize, {0.16, 0.3, 0.1}, {0.32, 0.46, 0.18}, 0.7, 13));
    WriteBmp(dir + "/runway.bmp", RunwayTexture(kTextureSize, 32));
    WriteBmp(dir + "/field_crop.bmp",
             FieldTexture(kTextureSize, {0.5, 0.45, 0.2}, {0.78, 0.7, 0.3}, 14));
    WriteBmp(dir + "/field_soil.bmp",
             FieldTexture(kTextureSize, {0.3, 0.22, 0.14}, {0.42, 0.33, 0.2}, 15));
    WriteBmp(dir + "/water.bmp", WaterTexture(kTextureSize, 16));
    WriteBmp(dir + "/sky.bmp", SkyTexture(kTextureSize));
    WriteBmp(dir + "/tree_pine.bmp", PineTexture(128, 256, 17));
    WriteBmp(dir + "/tree_leaf.bmp", LeafTreeTexture(256, 256, 18));
    WriteBmp(dir + "/flags.bmp", FlagTexture(64, 128));
    WriteLandscape(dir, Airfield());
    WriteLandscape(dir, Lake());
    // The newer landscapes have their own grass, sky and surfaces; small pictures keep
    // the data compact (they tile, so a 128 texel grass looks no coarser from the pilot).
    WriteBmp(dir + "/field_grass.bmp",
             GrassTexture(128, {0.3, 0.42, 0.14}, {0.5, 0.6, 0.24}, 0.45, 21));
    WriteBmp(dir + "/valley_grass.bmp",
             GrassTexture(128, {0.14, 0.3, 0.12}, {0.28, 0.44, 0.2}, 0.6, 22));
    WriteBmp(dir + "/coast_grass.bmp",
             GrassTexture(128, {0.32, 0.44, 0.2}, {0.55, 0.6, 0.32}, 0.55, 23));
    WriteBmp(dir + "/rock.bmp", GrassTexture(128, {0.36, 0.36, 0.34}, {0.55, 0.54, 0.5}, 0.8, 24));
    WriteBmp(dir + "/sand.bmp", GrassTexture(128, {0.78, 0.7, 0.5}, {0.9, 0.84, 0.64}, 0.3, 25));
    WriteBmp(dir + "/sky_field.bmp", SkyTexture(128, {0.5, 0.64, 0.86}, 0.45, 81));
    WriteBmp(dir + "/sky_valley.bmp", SkyTexture(128, {0.26, 0.46, 0.84}, 0.6, 82));
    WriteBmp(dir + "/sky_coast.bmp", SkyTexture(128, {0.4, 0.62, 0.92}, 0.55, 83));
    WriteLandscape(dir, Field());
    WriteLandscape(dir, Valley());
    WriteLandscape(dir, Coast());
    WriteLandscape(dir, Ridge());
    WriteLandscape(dir, Cliffs());
    WriteLandscape(dir, Hill());
  });
}
