#include "model_writers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <numbers>
#include <sstream>

namespace veltrane::content {

std::string Num(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  std::string s = buf;
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return s;
}

namespace {

std::string Pt(const Vec3& p) { return Num(p.x) + " " + Num(p.y) + " " + Num(p.z); }

std::vector<size_t> ByColour(const Model& m) {
  std::vector<size_t> order(m.faces.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return m.faces[a].color < m.faces[b].color; });
  return order;
}

}  // namespace

std::string GeoText(const Design& d, const std::string& header_comment) {
  std::ostringstream o;
  o << header_comment;
  o << "// Axes: x towards the tail, y towards the right wing tip, z up; metres (SCALE 1).\n"
       "// The origin is the centre of gravity; the lowest point sets the height at which\n"
       "// the model stands on the ground. Faces list their corners counter-clockwise as\n"
       "// seen from outside; with CULL ON they are drawn from that side only, which lets\n"
       "// the whole model be smooth-shaded.\n"
       "SCALE 1\n\n"
       "// BODY header: size, axis x y z, position x y z, enabled, spare.\n"
       "OBJECT BODY 0  0 0 1  0 0 0  1 0\n"
       "TEXTURE OFF\n"
       "CULL ON\n";
  double alpha = 1.0;
  int colour = -1;
  int mode = 0;  // 3 triangles, 4 quads
  for (size_t i : ByColour(d.body)) {
    const Face& f = d.body.faces[i];
    if (f.color != colour) {
      const Rgba& c = d.body.colors[static_cast<size_t>(f.color)];
      o << "\n// " << c.name << "\n";
      if (c.a != alpha) {
        alpha = c.a;
        o << "ALPHA " << Num(alpha) << "\n";
      }
      o << "COLOR " << Num(c.r, 3) << " " << Num(c.g, 3) << " " << Num(c.b, 3) << " 0 0\n";
      colour = f.color;
      mode = 0;
    }
    const int k = static_cast<int>(f.corners.size());
    if (k != mode) {
      o << (k == 3 ? "TRIANGLES\n" : "QUADS\n");
      mode = k;
    }
    for (size_t c = 0; c < f.corners.size(); ++c) o << (c ? "   " : "") << Pt(f.corners[c]);
    o << "\n";
  }
  for (const Propeller& p : d.propellers) {
    o << "\n// Propeller disc (drawn translucent by the loader): radius, axis, hub position.\n";
    o << "OBJECT PROPELLER " << Num(p.radius) << "  " << Pt(p.axis) << "  " << Pt(p.centre)
      << "  1 0\n";
  }
  for (const Wheel& w : d.wheels) {
    if (!w.mirrored) continue;
    o << "\n// Wheel pair: radius, axle direction, right wheel's hub (mirrored to the left).\n";
    o << "OBJECT TWO_WHEEL " << Num(w.radius) << "  0 1 0  " << Pt(w.centre) << "  1 0\n";
  }
  o << "\nEND\n";
  return o.str();
}

double LowestPoint(const Design& d) {
  double low = 0.0;
  for (const Face& f : d.body.faces)
    for (const Vec3& p : f.corners) low = std::min(low, p.z);
  for (const Wheel& w : d.wheels) low = std::min(low, w.centre.z - w.radius);
  return -low;
}

namespace {

// MDL axes: a to the left, b towards the tail, c up.
Vec3 ToMdl(const Vec3& p) { return {-p.y, p.x, p.z}; }

struct VertexTable {
  std::vector<Vec3> points;
  int Index(const Vec3& p) {
    for (size_t i = 0; i < points.size(); ++i)
      if (Length(points[i] - p) < 1e-6) return static_cast<int>(i);
    points.push_back(p);
    return static_cast<int>(points.size() - 1);
  }
};

int Byte(double v) { return std::clamp(static_cast<int>(std::lround(v * 256.0)), 0, 255); }

}  // namespace

std::string MdlText(const Design& d, const std::vector<ParamLine>& airplane) {
  std::ostringstream o;
  o << d.title << "\n";
  for (const ParamLine& p : airplane) o << Num(p.value, 6) << "\t" << p.note << "\n";
  o << Num(LowestPoint(d))
    << "\tGroundClearance: height of the centre of gravity above the wheels' "
       "contact, m\n";
  o << "1\tsmooth flag: 1 = every face single-sided, phong shading\n";
  const Model& m = d.body;
  o << m.colors.size() << "\tcolours: number, red green blue (0..255), alpha, name\n";
  for (size_t i = 0; i < m.colors.size(); ++i) {
    const Rgba& c = m.colors[i];
    o << i + 1 << " " << Byte(c.r) << " " << Byte(c.g) << " " << Byte(c.b) << " " << Num(c.a) << " "
      << c.name << "\n";
  }
  VertexTable vt;
  struct FaceRef {
    std::vector<int> v;
    int colour;
  };
  std::vector<FaceRef> faces;
  for (size_t i : ByColour(m)) {
    const Face& f = m.faces[i];
    FaceRef r{{}, f.color};
    // The format turns faces the other way round: list the corners clockwise.
    for (auto it = f.corners.rbegin(); it != f.corners.rend(); ++it) r.v.push_back(vt.Index(*it));
    faces.push_back(r);
  }
  o << vt.points.size() << "\tvertices: number, a (left) b (back) c (up), metres\n";
  for (size_t i = 0; i < vt.points.size(); ++i)
    o << i + 1 << " " << Pt(ToMdl(vt.points[i])) << "\n";
  std::vector<std::string> parts;
  for (const Propeller& p : d.propellers)
    parts.push_back("0 16 " + Pt(ToMdl(p.axis)) + "  " + Pt(ToMdl(p.centre)) + "  " +
                    Num(p.radius) + "\tpropeller disc: segments, axis, centre, radius");
  for (const Wheel& w : d.wheels)
    for (int side : {1, -1}) {
      if (side < 0 && !w.mirrored) break;
      // A wheel part runs from its centre point along its axis for its width.
      const Vec3 start{w.centre.x, side * w.centre.y - w.width / 2, w.centre.z};
      parts.push_back("2 12 " + Pt(ToMdl({0, 1, 0})) + "  " + Pt(ToMdl(start)) + "  " +
                      Num(w.radius) + " " + Num(w.width) + " " + std::to_string(w.color + 1) +
                      "\twheel: segments, axis, side centre, radius, width, colour");
    }
  o << parts.size() << "\tparts: number, type (0 disc, 2 wheel), values\n";
  for (size_t i = 0; i < parts.size(); ++i) o << i + 1 << " " << parts[i] << "\n";
  o << faces.size() << "\tfaces: number, corners, vertex numbers, colour number\n";
  for (size_t i = 0; i < faces.size(); ++i) {
    o << i + 1 << " " << faces[i].v.size();
    for (int v : faces[i].v) o << " " << v + 1;
    o << " " << faces[i].colour + 1 << "\n";
  }
  return o.str();
}

namespace {

// DirectX axes: x right, y up, z forward.
Vec3 ToX(const Vec3& p) { return {p.y, p.z, -p.x}; }

}  // namespace

std::string XText(const Design& d) {
  Model m = WithWheelGeometry(d, 14);
  const int disc = m.Color({0.8, 0.8, 0.8, 0.25, "propeller disc"});
  for (const Propeller& p : d.propellers) {
    // A flat fan of both turning senses so that it shows from the front and the back.
    const int seg = 16;
    for (int k = 0; k < seg; ++k) {
      const double a = 2 * std::numbers::pi * k / seg, b = 2 * std::numbers::pi * (k + 1) / seg;
      const Vec3 u{0, 1, 0}, w{0, 0, 1};
      const Vec3 pa = p.centre + (u * std::cos(a) + w * std::sin(a)) * p.radius;
      const Vec3 pb = p.centre + (u * std::cos(b) + w * std::sin(b)) * p.radius;
      const Vec3 c = p.centre + Vec3{0.002, 0, 0};
      const Vec3 c2 = p.centre - Vec3{0.002, 0, 0};
      m.faces.push_back({{c, pa, pb}, disc});
      m.faces.push_back({{c2, pb, pa}, disc});
    }
  }
  VertexTable vt;
  struct FaceRef {
    std::vector<int> v;
    int colour;
    Vec3 normal;
  };
  std::vector<FaceRef> faces;
  for (const Face& f : m.faces) {
    FaceRef r{{}, f.color, {}};
    // Front faces turn clockwise in this format's left-handed frame.
    for (auto it = f.corners.rbegin(); it != f.corners.rend(); ++it)
      r.v.push_back(vt.Index(ToX(*it)));
    Vec3 n = Cross(f.corners[1] - f.corners[0], f.corners[2] - f.corners[0]);
    if (f.corners.size() == 4) n = Cross(f.corners[2] - f.corners[0], f.corners[3] - f.corners[1]);
    const double len = Length(n);
    r.normal = len > 0 ? ToX(n * (1.0 / len)) : Vec3{0, 1, 0};
    faces.push_back(r);
  }
  std::ostringstream o;
  o << "xof 0303txt 0032\n";
  o << "// " << d.title << "\n";
  o << "// Axes: x right, y up, z forward (towards the nose); metres. The origin is the\n"
       "// centre of gravity; the lowest point sets the ground clearance. Faces list their\n"
       "// corners clockwise as seen from outside. One material per colour.\n";
  o << "Frame Model {\n FrameTransformMatrix {\n  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,"
       "0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;\n }\n";
  o << " Mesh Body {\n  " << vt.points.size() << ";\n";
  for (size_t i = 0; i < vt.points.size(); ++i) {
    const Vec3& p = vt.points[i];
    o << "  " << Num(p.x) << ";" << Num(p.y) << ";" << Num(p.z) << ";"
      << (i + 1 < vt.points.size() ? "," : ";") << "\n";
  }
  o << "  " << faces.size() << ";\n";
  auto face_list = [&](bool normals) {
    for (size_t i = 0; i < faces.size(); ++i) {
      o << "  " << faces[i].v.size() << ";";
      for (size_t k = 0; k < faces[i].v.size(); ++k)
        o << (k ? "," : "") << (normals ? static_cast<int>(i) : faces[i].v[k]);
      o << ";" << (i + 1 < faces.size() ? "," : ";") << "\n";
    }
  };
  face_list(false);
  o << "  MeshMaterialList {\n   " << m.colors.size() << ";\n   " << faces.size() << ";\n";
  for (size_t i = 0; i < faces.size(); ++i)
    o << "   " << faces[i].colour << (i + 1 < faces.size() ? ",\n" : ";\n");
  for (const Rgba& c : m.colors) {
    o << "   Material {  // " << c.name << "\n    " << Num(c.r, 3) << ";" << Num(c.g, 3) << ";"
      << Num(c.b, 3) << ";" << Num(c.a, 3) << ";;\n    20.0;\n    0.5;0.5;0.5;;\n"
      << "    0.0;0.0;0.0;;\n   }\n";
  }
  o << "  }\n";
  o << "  MeshNormals {\n   " << faces.size() << ";\n";
  for (size_t i = 0; i < faces.size(); ++i) {
    const Vec3& n = faces[i].normal;
    o << "   " << Num(n.x) << ";" << Num(n.y) << ";" << Num(n.z) << ";"
      << (i + 1 < faces.size() ? "," : ";") << "\n";
  }
  o << "   " << faces.size() << ";\n";
  face_list(true);
  o << "  }\n }\n}\n";
  return o.str();
}

std::string ParText(int style, const std::vector<ParamLine>& lines, const std::string& header) {
  std::ostringstream o;
  o << style << "\t" << header << "\n";
  for (const ParamLine& p : lines) o << Num(p.value, 6) << "\t" << p.note << "\n";
  return o.str();
}

void RenderOnto(const Design& d, Image& img, int x0, int y0, int width, int height) {
  Model m = WithWheelGeometry(d, 16);
  // View from the front left, a little above: yaw the model, then tilt.
  const double yaw = -2.35, tilt = 0.38;
  auto view = [&](const Vec3& p) {
    const double x1 = p.x * std::cos(yaw) - p.y * std::sin(yaw);
    const double y1 = p.x * std::sin(yaw) + p.y * std::cos(yaw);
    const double z1 = p.z;
    // Screen right = y1, screen up = z tilted, depth = x1.
    return Vec3{y1, z1 * std::cos(tilt) - x1 * std::sin(tilt),
                x1 * std::cos(tilt) + z1 * std::sin(tilt)};
  };
  double lo_x = 1e9, hi_x = -1e9, lo_y = 1e9, hi_y = -1e9;
  for (const Face& f : m.faces)
    for (const Vec3& p : f.corners) {
      const Vec3 v = view(p);
      lo_x = std::min(lo_x, v.x);
      hi_x = std::max(hi_x, v.x);
      lo_y = std::min(lo_y, v.y);
      hi_y = std::max(hi_y, v.y);
    }
  const double scale = 0.9 * std::min(width / (hi_x - lo_x), height / (hi_y - lo_y));
  const double cx = 0.5 * (lo_x + hi_x), cy = 0.5 * (lo_y + hi_y);
  std::vector<double> depth(static_cast<size_t>(img.Width()) * img.Height(),
                            std::numeric_limits<double>::infinity());
  const Vec3 light = view(Vec3{-0.3, -0.5, 0.8}) * (1.0 / Length(Vec3{-0.3, -0.5, 0.8}));
  for (const Face& f : m.faces) {
    std::vector<Vec3> v;
    for (const Vec3& p : f.corners) v.push_back(view(p));
    Vec3 n = Cross(v[1] - v[0], v[2] - v[0]);
    if (Length(n) == 0) continue;
    n = n * (1.0 / Length(n));
    const double lit = 0.35 + 0.65 * std::fabs(Dot(n, light));
    const Rgba& c = m.colors[static_cast<size_t>(f.color)];
    const Rgb col{c.r * lit, c.g * lit, c.b * lit};
    for (size_t k = 1; k + 1 < v.size(); ++k) {
      const Vec3* tri[3] = {&v[0], &v[k], &v[k + 1]};
      double xs[3], ys[3], zs[3];
      for (int j = 0; j < 3; ++j) {
        xs[j] = x0 + width / 2.0 + (tri[j]->x - cx) * scale;
        ys[j] = y0 + height / 2.0 - (tri[j]->y - cy) * scale;
        zs[j] = tri[j]->z;
      }
      img.FillTriangle(xs, ys, zs, col, depth);
    }
  }
}

}  // namespace veltrane::content
