#include "field_furniture.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "model_writers.h"

namespace veltrane::content {
namespace {

Point2 operator+(Point2 a, Point2 b) { return {a.x + b.x, a.y + b.y}; }
Point2 operator-(Point2 a, Point2 b) { return {a.x - b.x, a.y - b.y}; }
Point2 operator*(Point2 a, double s) { return {a.x * s, a.y * s}; }

void Color(std::ostream& o, double r, double g, double b) {
  o << "COLOR " << Num(r, 3) << " " << Num(g, 3) << " " << Num(b, 3) << " 0 0\n";
}

std::string At(Point2 p, double z) { return Num(p.x, 2) + " " + Num(p.y, 2) + " " + Num(z, 2); }

std::string At(double u, double v, Point2 p, double z) {
  return Num(u, 1) + " " + Num(v, 1) + "  " + At(p, z);
}

// An upright quad from a (left) to b (right) as seen from its front; each end has its
// own bottom and top, so it follows the ground.
void Panel(std::ostream& o, Point2 a, double a0, double a1, Point2 b, double b0, double b1) {
  o << At(a, a0) << "   " << At(b, b0) << "   " << At(b, b1) << "   " << At(a, a1) << "\n";
}

// A thin board seen from both sides.
void Board(std::ostream& o, Point2 a, double a0, double a1, Point2 b, double b0, double b1) {
  Panel(o, a, a0, a1, b, b0, b1);
  Panel(o, b, b0, b1, a, a0, a1);
}

// A square post without a top (too small to be seen from above).
void Post(std::ostream& o, Point2 c, double half, double z0, double z1) {
  const Point2 sw{c.x - half, c.y - half}, se{c.x + half, c.y - half};
  const Point2 ne{c.x + half, c.y + half}, nw{c.x - half, c.y + half};
  Panel(o, sw, z0, z1, se, z0, z1);
  Panel(o, se, z0, z1, ne, z0, z1);
  Panel(o, ne, z0, z1, nw, z0, z1);
  Panel(o, nw, z0, z1, sw, z0, z1);
}

constexpr double kSunk = 0.1;  // posts reach this far into the ground, hiding any gap

void WriteFence(std::ostream& o, const Fence& f, const GroundAt& ground) {
  std::vector<Point2> posts;
  for (std::size_t k = 0; k + 1 < f.line.size(); ++k) {
    const Point2 a = f.line[k], b = f.line[k + 1];
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    const int n = std::max(1, static_cast<int>(std::ceil(len / f.spacing)));
    for (int i = k == 0 ? 0 : 1; i <= n; ++i) posts.push_back(a + (b - a) * (double(i) / n));
  }
  std::vector<double> g;
  for (const Point2& p : posts) g.push_back(ground(p.x, p.y));
  Color(o, 0.5, 0.4, 0.3);
  for (std::size_t i = 0; i < posts.size(); ++i)
    Post(o, posts[i], 0.07, g[i] - kSunk, g[i] + f.height);
  // Rails run from post to post; on level ground and in a straight line one board
  // spans many posts, which saves quads.
  Color(o, 0.78, 0.72, 0.62);
  auto straight = [&](std::size_t a, std::size_t b, std::size_t c) {
    const Point2 u = posts[b] - posts[a], v = posts[c] - posts[b];
    return std::fabs(u.x * v.y - u.y * v.x) < 1e-6 && std::fabs(g[a] - g[c]) < 0.01 &&
           std::fabs(g[a] - g[b]) < 0.01;
  };
  for (std::size_t i = 0; i + 1 < posts.size();) {
    std::size_t j = i + 1;
    while (j + 1 < posts.size() && straight(i, j, j + 1)) ++j;
    for (double rail : {0.45, f.height - 0.16})
      Board(o, posts[i], g[i] + rail, g[i] + rail + 0.14, posts[j], g[j] + rail,
            g[j] + rail + 0.14);
    i = j;
  }
}

void WriteStand(std::ostream& o, const PilotStand& s, const GroundAt& ground) {
  const Point2 f = s.facing, r{f.y, -f.x};  // r: to the right, looking out over the front
  const Point2 front = f * (0.5 * s.depth), side = r * (0.5 * s.width);
  const Point2 fl = s.centre + front - side, fr = s.centre + front + side;
  const Point2 bl = s.centre - front - side, br = s.centre - front + side;
  const double g =
      std::min({ground(fl.x, fl.y), ground(fr.x, fr.y), ground(bl.x, bl.y), ground(br.x, br.y)});
  const double z0 = g - kSunk, top = g + s.deck;
  // The deck: four sides and the top, counter-clockwise seen from above.
  Color(o, 0.52, 0.4, 0.28);
  const Point2 ring[4] = {bl, br, fr, fl};  // counter-clockwise: r lies clockwise of f
  for (int k = 0; k < 4; ++k) Panel(o, ring[k], z0, top, ring[(k + 1) % 4], z0, top);
  o << At(bl, top) << "   " << At(br, top) << "   " << At(fr, top) << "   " << At(fl, top) << "\n";
  // A white railing round the front and both sides, posts just inside the deck's edge.
  Color(o, 0.88, 0.88, 0.85);
  const Point2 in_f = f * 0.08, in_r = r * 0.08;
  const Point2 pfl = fl - in_f + in_r, pfr = fr - in_f - in_r;
  const Point2 pbl = bl + in_f + in_r, pbr = br + in_f - in_r;
  for (Point2 p : {pbl, pfl, (pfl + pfr) * 0.5, pfr, pbr}) Post(o, p, 0.04, top, top + 0.95);
  for (double rail : {0.45, 0.87}) {
    const double z = top + rail;
    Board(o, pbl, z, z + 0.08, pfl, z, z + 0.08);
    Board(o, pfl, z, z + 0.08, pfr, z, z + 0.08);
    Board(o, pfr, z, z + 0.08, pbr, z, z + 0.08);
  }
}

void WriteFlagPoles(std::ostream& o, const FieldFurniture& f, const GroundAt& ground) {
  Color(o, 0.86, 0.87, 0.88);
  for (const Flag& flag : f.flags) {
    const double g = ground(flag.foot.x, flag.foot.y);
    Post(o, flag.foot, 0.05, g - kSunk, g + flag.pole + 0.1);
  }
}

// Each cloth is two panels with a fold between them, its free end drooping a little;
// the far side shows the picture mirrored, as a real flag does.
void WriteCloths(std::ostream& o, const FieldFurniture& f, const GroundAt& ground) {
  const Point2 t = f.flag_towards, s{-t.y, t.x};
  for (const Flag& flag : f.flags) {
    const double top = ground(flag.foot.x, flag.foot.y) + flag.pole;
    const double band = 256.0 / kFlagDesigns;
    const double v0 = band * flag.design + 2.0, v1 = band * (flag.design + 1) - 2.0;
    const Point2 p0 = flag.foot + t * 0.06;
    const Point2 p1 = p0 + t * 0.75 + s * 0.12;
    const Point2 p2 = p1 + t * 0.75 - s * 0.2;
    const Point2 p[3] = {p0, p1, p2};
    const double droop[3] = {0.0, 0.05, 0.15};
    const double u[3] = {0.0, 128.0, 255.0};
    for (int k = 0; k < 2; ++k) {
      const double a1 = top - droop[k], a0 = a1 - 1.0, b1 = top - droop[k + 1], b0 = b1 - 1.0;
      o << At(u[k], v1, p[k], a0) << "   " << At(u[k + 1], v1, p[k + 1], b0) << "   "
        << At(u[k + 1], v0, p[k + 1], b1) << "   " << At(u[k], v0, p[k], a1) << "\n";
      o << At(u[k + 1], v1, p[k + 1], b0) << "   " << At(u[k], v1, p[k], a0) << "   "
        << At(u[k], v0, p[k], a1) << "   " << At(u[k + 1], v0, p[k + 1], b1) << "\n";
    }
  }
}

}  // namespace

void WriteFurniture(std::ostream& o, const FieldFurniture& f, const GroundAt& ground,
                    const char* flag_texture) {
  if (f.Empty()) return;
  o << "\n// Fences, the pilots' stand and flag poles from plain coloured quads.\n"
       "TEXTURE OFF\nQUADS\n";
  for (const Fence& fence : f.fences) WriteFence(o, fence, ground);
  for (const PilotStand& stand : f.stands) WriteStand(o, stand, ground);
  WriteFlagPoles(o, f, ground);
  if (f.flags.empty()) return;
  o << "\n// Flags: each cloth shows one band of the picture, from both sides.\n";
  o << "TEXTURE " << flag_texture << "\nQUADS\n";
  WriteCloths(o, f, ground);
}

}  // namespace veltrane::content
