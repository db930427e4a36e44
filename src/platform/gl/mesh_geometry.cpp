#include "platform/gl/mesh_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace veltrane::gl {
namespace {

// Normal of a polygon toward its front side. With the layer's left-handed axes
// the corners run clockwise seen from the front, and the plain cross product of
// the edges then points at the viewer. Newell's sum copes with non-planar or
// partly degenerate polygons.
V3 FaceNormal(const rm::MeshBuilder& mesh, const rm::Face& f) {
  const auto& vs = mesh.Vertices();
  V3 n{};
  std::size_t k = f.corners.size();
  for (std::size_t i = 0; i < k; ++i) {
    V3 a = ToV3(vs[f.corners[i].vertex]);
    V3 b = ToV3(vs[f.corners[(i + 1) % k].vertex]);
    n.x += (a.y - b.y) * (a.z + b.z);
    n.y += (a.z - b.z) * (a.x + b.x);
    n.z += (a.x - b.x) * (a.y + b.y);
  }
  return Normalize(n);
}

bool Valid(const rm::MeshBuilder& mesh, const rm::Face& f) {
  if (f.corners.size() < 3) return false;
  for (const auto& c : f.corners)
    if (c.vertex >= mesh.Vertices().size() || c.normal >= mesh.Normals().size()) return false;
  return true;
}

GpuVertex MakeVertex(const rm::MeshBuilder& mesh, const rm::Face& f, const rm::Corner& c,
                     bool smooth, V3 flat) {
  GpuVertex v{};
  const rm::Vector& p = mesh.Vertices()[c.vertex];
  v.pos[0] = p.x;
  v.pos[1] = p.y;
  v.pos[2] = p.z;
  V3 n = smooth ? Normalize(ToV3(mesh.Normals()[c.normal])) : flat;
  if (smooth && Length(n) == 0) n = flat;
  v.normal = PackNormal(n);
  v.argb = f.color;
  v.uv[0] = c.u;
  v.uv[1] = c.v;
  return v;
}

// Square grid over the mesh's x-z extent; cells are numbered row by row.
struct Grid {
  float x0 = 0, z0 = 0, cellX = 1, cellZ = 1;
  int side = 1;
  int CellOf(float x, float z) const {
    auto clampIndex = [&](float t) {
      if (!(t > 0)) return 0;  // also NaN
      return t >= static_cast<float>(side) ? side - 1 : static_cast<int>(t);
    };
    return clampIndex((z - z0) / cellZ) * side + clampIndex((x - x0) / cellX);
  }
};

constexpr int kMaxGridSide = 32;

// Vertices of one run by their bytes: equal bytes, one vertex.
struct VertexBytesHash {
  std::size_t operator()(const GpuVertex& v) const {
    std::uint32_t w[sizeof(GpuVertex) / 4];
    std::memcpy(w, &v, sizeof w);
    std::uint64_t h = 1469598103934665603ull;
    for (std::uint32_t x : w) h = (h ^ x) * 1099511628211ull;
    return static_cast<std::size_t>(h ^ (h >> 29));
  }
};
struct VertexBytesEqual {
  bool operator()(const GpuVertex& a, const GpuVertex& b) const {
    return std::memcmp(&a, &b, sizeof a) == 0;
  }
};

class VertexIndex {
 public:
  VertexIndex(std::vector<GpuVertex>& vertices, std::vector<std::uint32_t>& indices)
      : vertices_(vertices), indices_(indices) {}
  void Clear() { seen_.clear(); }
  void Add(const GpuVertex& v) {
    auto [it, fresh] = seen_.try_emplace(v, static_cast<std::uint32_t>(vertices_.size()));
    if (fresh) vertices_.push_back(v);
    indices_.push_back(it->second);
  }

 private:
  std::vector<GpuVertex>& vertices_;
  std::vector<std::uint32_t>& indices_;
  std::unordered_map<GpuVertex, std::uint32_t, VertexBytesHash, VertexBytesEqual> seen_;
};

}  // namespace

std::uint32_t PackNormal(V3 n) {
  auto q = [](float c) {
    c = std::clamp(std::isfinite(c) ? c : 0.0f, -1.0f, 1.0f);
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(c * 511.0f))) & 0x3FFu;
  };
  return q(n.x) | (q(n.y) << 10) | (q(n.z) << 20);
}

V3 UnpackNormal(std::uint32_t p) {
  auto c = [p](int shift) {
    auto v = static_cast<std::int32_t>((p >> shift) & 0x3FFu);
    if (v >= 512) v -= 1024;
    return std::max(static_cast<float>(v) / 511.0f, -1.0f);
  };
  return {c(0), c(10), c(20)};
}

MeshGeometry BuildMeshGeometry(const rm::MeshBuilder& mesh, std::size_t triangles_per_chunk) {
  MeshGeometry g;
  std::uint32_t q = mesh.Quality();
  g.lit = (q & rm::quality::kLightMask) == rm::quality::kLightOn;
  g.smooth = (q & rm::quality::kShadeMask) != rm::quality::kShadeFlat;

  // Opaque faces by (texture, material), in the order the keys first appear.
  using Key = std::pair<const rm::Texture*, const rm::Material*>;
  std::map<Key, std::size_t> keyIndex;
  std::vector<std::vector<std::size_t>> groups;
  const auto& faces = mesh.Faces();
  const auto& vs = mesh.Vertices();
  std::size_t triangles = 0;
  float x0 = INFINITY, x1 = -INFINITY, z0 = INFINITY, z1 = -INFINITY;
  for (std::size_t i = 0; i < faces.size(); ++i) {
    const rm::Face& f = faces[i];
    if (!Valid(mesh, f)) continue;
    if (rm::AlphaOf(f.color) < 255) {
      V3 flat = FaceNormal(mesh, f);
      for (std::size_t k = 1; k + 1 < f.corners.size(); ++k) {
        TranslucentTriangle t;
        t.v[0] = MakeVertex(mesh, f, f.corners[0], g.smooth, flat);
        t.v[1] = MakeVertex(mesh, f, f.corners[k], g.smooth, flat);
        t.v[2] = MakeVertex(mesh, f, f.corners[k + 1], g.smooth, flat);
        t.texture = f.texture;
        t.material = f.material;
        g.translucent.push_back(std::move(t));
      }
      continue;
    }
    auto [it, fresh] = keyIndex.try_emplace(Key{f.texture.get(), f.material.get()}, groups.size());
    if (fresh) groups.emplace_back();
    groups[it->second].push_back(i);
    triangles += f.corners.size() - 2;
    for (const auto& c : f.corners) {
      x0 = std::min(x0, vs[c.vertex].x);
      x1 = std::max(x1, vs[c.vertex].x);
      z0 = std::min(z0, vs[c.vertex].z);
      z1 = std::max(z1, vs[c.vertex].z);
    }
  }

  Grid grid;
  if (triangles_per_chunk > 0 && triangles > triangles_per_chunk && x1 > x0 && z1 > z0) {
    double cells = static_cast<double>(triangles) / static_cast<double>(triangles_per_chunk);
    grid.side = std::clamp(static_cast<int>(std::ceil(std::sqrt(cells))), 1, kMaxGridSide);
    grid.x0 = x0;
    grid.z0 = z0;
    grid.cellX = (x1 - x0) / static_cast<float>(grid.side);
    grid.cellZ = (z1 - z0) / static_cast<float>(grid.side);
  }
  g.indices.reserve(triangles * 3);
  VertexIndex index(g.opaque, g.indices);
  const auto cellCount = static_cast<std::size_t>(grid.side * grid.side);
  std::vector<std::vector<std::size_t>> cells(cellCount);
  for (const auto& list : groups) {
    for (auto& c : cells) c.clear();
    // A face belongs to the cell of its centre; its run's box covers all of it.
    for (std::size_t i : list) {
      const rm::Face& f = faces[i];
      float cx = 0, cz = 0;
      for (const auto& c : f.corners) {
        cx += vs[c.vertex].x;
        cz += vs[c.vertex].z;
      }
      const auto n = static_cast<float>(f.corners.size());
      cells[static_cast<std::size_t>(grid.CellOf(cx / n, cz / n))].push_back(i);
    }
    for (const auto& cell : cells) {
      if (cell.empty()) continue;
      Batch b;
      b.first = static_cast<std::uint32_t>(g.indices.size());
      index.Clear();
      b.texture = faces[cell.front()].texture;
      b.material = faces[cell.front()].material;
      b.lo = {INFINITY, INFINITY, INFINITY};
      b.hi = {-INFINITY, -INFINITY, -INFINITY};
      for (std::size_t i : cell) {
        const rm::Face& f = faces[i];
        V3 flat = FaceNormal(mesh, f);
        for (std::size_t k = 1; k + 1 < f.corners.size(); ++k) {
          index.Add(MakeVertex(mesh, f, f.corners[0], g.smooth, flat));
          index.Add(MakeVertex(mesh, f, f.corners[k], g.smooth, flat));
          index.Add(MakeVertex(mesh, f, f.corners[k + 1], g.smooth, flat));
        }
        for (const auto& c : f.corners) {
          const rm::Vector& p = vs[c.vertex];
          b.lo = {std::min(b.lo.x, p.x), std::min(b.lo.y, p.y), std::min(b.lo.z, p.z)};
          b.hi = {std::max(b.hi.x, p.x), std::max(b.hi.y, p.y), std::max(b.hi.z, p.z)};
        }
      }
      b.count = static_cast<std::uint32_t>(g.indices.size()) - b.first;
      if (b.count) g.batches.push_back(std::move(b));
    }
  }
  g.fullIndexCount = g.indices.size();
  if (triangles_per_chunk > 0 && grid.side > 1) AddCoarseRuns(g);
  return g;
}

namespace {

struct PositionHash {
  std::size_t operator()(const std::array<float, 3>& p) const {
    std::uint32_t w[3];
    std::memcpy(w, p.data(), sizeof w);
    return (static_cast<std::size_t>(w[0]) * 73856093u) ^ (static_cast<std::size_t>(w[1]) * 19349663u) ^
           (static_cast<std::size_t>(w[2]) * 83492791u);
  }
};

struct TripleHash {
  std::size_t operator()(const std::array<std::uint32_t, 3>& k) const {
    return static_cast<std::size_t>((k[0] * 0x9E3779B97F4A7C15ull) ^ (k[1] * 0xC2B2AE3D27D4EB4Full) ^
                                    (k[2] * 0x165667B19E3779F9ull));
  }
};

std::array<float, 3> PositionOf(const GpuVertex& v) { return {v.pos[0], v.pos[1], v.pos[2]}; }

// Twice the signed area of a triangle seen from above (x, z).
float GroundArea(const GpuVertex& a, const GpuVertex& b, const GpuVertex& c) {
  return (b.pos[0] - a.pos[0]) * (c.pos[2] - a.pos[2]) - (b.pos[2] - a.pos[2]) * (c.pos[0] - a.pos[0]);
}

// How far the coarse surface passes from each merged-away corner: its height
// against the coarse triangle above or below it; a corner no coarse
// triangle covers counts the height between it and the corner it merged into.
float CoarseError(const std::vector<GpuVertex>& vs, const std::unordered_map<std::uint32_t, std::uint32_t>& repOf,
                  const std::vector<std::uint32_t>& tris, V3 lo, double cell) {
  auto cellOf = [&](double x, double z) {
    const auto cx = static_cast<std::int64_t>(std::floor((x - lo.x) / cell));
    const auto cz = static_cast<std::int64_t>(std::floor((z - lo.z) / cell));
    return (static_cast<std::uint64_t>(cx) << 32) ^ static_cast<std::uint32_t>(cz);
  };
  std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> gone;  // merged corners by cell
  std::unordered_map<std::uint32_t, float> error;
  for (const auto& [v, r] : repOf)
    if (v != r) {
      gone[cellOf(vs[v].pos[0], vs[v].pos[2])].push_back(v);
      error[v] = std::fabs(vs[v].pos[1] - vs[r].pos[1]);
    }
  std::unordered_set<std::uint32_t> covered;
  for (std::size_t t = 0; t < tris.size(); t += 3) {
    const float* a = vs[tris[t]].pos;
    const float* b = vs[tris[t + 1]].pos;
    const float* c = vs[tris[t + 2]].pos;
    const double det = (b[0] - a[0]) * (c[2] - a[2]) - (b[2] - a[2]) * (c[0] - a[0]);
    if (det == 0) continue;
    const double x0 = std::min({a[0], b[0], c[0]}), x1 = std::max({a[0], b[0], c[0]});
    const double z0 = std::min({a[2], b[2], c[2]}), z1 = std::max({a[2], b[2], c[2]});
    for (double x = x0; x <= x1 + cell; x += cell)
      for (double z = z0; z <= z1 + cell; z += cell) {
        auto it = gone.find(cellOf(std::min(x, x1), std::min(z, z1)));
        if (it == gone.end()) continue;
        for (std::uint32_t v : it->second) {
          const float* p = vs[v].pos;
          const double s = ((p[0] - a[0]) * (c[2] - a[2]) - (p[2] - a[2]) * (c[0] - a[0])) / det;
          const double u = ((b[0] - a[0]) * (p[2] - a[2]) - (b[2] - a[2]) * (p[0] - a[0])) / det;
          if (s < -1e-6 || u < -1e-6 || s + u > 1 + 1e-6) continue;
          const double height = a[1] + s * (b[1] - a[1]) + u * (c[1] - a[1]);
          const auto e = static_cast<float>(std::fabs(p[1] - height));
          if (covered.insert(v).second) error[v] = e;
          else error[v] = std::max(error[v], e);
        }
      }
  }
  float worst = 0;
  for (const auto& [v, e] : error) worst = std::max(worst, e);
  return worst;
}

}  // namespace

void AddCoarseRuns(MeshGeometry& g, std::size_t min_triangles) {
  // Which positions more than one run uses: those corners must stay.
  std::unordered_map<std::array<float, 3>, std::size_t, PositionHash> owner;
  std::unordered_set<std::array<float, 3>, PositionHash> shared;
  for (std::size_t b = 0; b < g.batches.size(); ++b) {
    const Batch& run = g.batches[b];
    for (std::uint32_t k = run.first; k < run.first + run.count; ++k) {
      const auto p = PositionOf(g.opaque[g.indices[k]]);
      auto [it, fresh] = owner.try_emplace(p, b);
      if (!fresh && it->second != b) shared.insert(p);
    }
  }
  owner.clear();

  // A position with several vertices in one run is a seam of texture
  // coordinates or colours; merging across it would smear the texture.
  std::unordered_set<std::array<float, 3>, PositionHash> seams;
  for (const Batch& run : g.batches) {
    std::unordered_map<std::array<float, 3>, std::uint32_t, PositionHash> vertexAt;
    for (std::uint32_t k = run.first; k < run.first + run.count; ++k) {
      const std::uint32_t v = g.indices[k];
      auto [it, fresh] = vertexAt.try_emplace(PositionOf(g.opaque[v]), v);
      if (!fresh && it->second != v) seams.insert(it->first);
    }
  }

  std::vector<std::uint32_t> coarse;
  const auto fullEnd = static_cast<std::uint32_t>(g.indices.size());
  for (Batch& run : g.batches) {
    if (run.count / 3 < min_triangles) continue;
    const std::uint32_t* idx = g.indices.data() + run.first;
    const auto& vs = g.opaque;
    double edges = 0;
    for (std::uint32_t t = 0; t < run.count; t += 3)
      for (int e = 0; e < 3; ++e) {
        const GpuVertex &a = vs[idx[t + e]], &b = vs[idx[t + (e + 1) % 3]];
        edges += std::hypot(a.pos[0] - b.pos[0], a.pos[2] - b.pos[2]);
      }
    const double cell = 2.0 * edges / run.count;
    if (!(cell > 0)) continue;

    // Each corner's representative: itself when shared, else the corner of
    // its cell nearest the cell's low corner.
    struct Place {
      std::uint64_t cell;
      double offset;  // squared distance from the cell's low corner, in cells
    };
    auto placeOf = [&](const GpuVertex& v) {
      const double fx = std::max(0.0, (v.pos[0] - run.lo.x) / cell);
      const double fz = std::max(0.0, (v.pos[2] - run.lo.z) / cell);
      const double cx = std::floor(fx), cz = std::floor(fz);
      return Place{(static_cast<std::uint64_t>(cx) << 32) | static_cast<std::uint32_t>(cz),
                   (fx - cx) * (fx - cx) + (fz - cz) * (fz - cz)};
    };
    std::unordered_map<std::uint32_t, std::uint32_t> repOf;
    std::unordered_map<std::uint64_t, std::pair<std::uint32_t, double>> repOfCell;
    // The run's own edge stays too: where no other run continues it, it is
    // the edge of the whole mesh, seen against the sky.
    const float eps = 1e-5f * static_cast<float>(cell);
    auto stays = [&](const GpuVertex& v) {
      return std::fabs(v.pos[0] - run.lo.x) <= eps || std::fabs(v.pos[0] - run.hi.x) <= eps ||
             std::fabs(v.pos[2] - run.lo.z) <= eps || std::fabs(v.pos[2] - run.hi.z) <= eps ||
             shared.count(PositionOf(v)) > 0 || seams.count(PositionOf(v)) > 0;
    };
    for (std::uint32_t k = 0; k < run.count; ++k) {
      const std::uint32_t v = idx[k];
      if (!repOf.try_emplace(v, v).second || stays(vs[v])) continue;
      const Place place = placeOf(vs[v]);
      auto [it, fresh] = repOfCell.try_emplace(place.cell, v, place.offset);
      if (!fresh && place.offset < it->second.second) it->second = {v, place.offset};
    }
    for (auto& [v, r] : repOf)
      if (!stays(vs[v])) r = repOfCell.at(placeOf(vs[v]).cell).first;

    std::vector<std::uint32_t> tris;
    std::unordered_set<std::array<std::uint32_t, 3>, TripleHash> seen;
    bool turned = false;
    for (std::uint32_t t = 0; t < run.count && !turned; t += 3) {
      const std::uint32_t a = repOf[idx[t]], b = repOf[idx[t + 1]], c = repOf[idx[t + 2]];
      if (a == b || b == c || a == c) continue;
      const float before = GroundArea(vs[idx[t]], vs[idx[t + 1]], vs[idx[t + 2]]);
      const float after = GroundArea(vs[a], vs[b], vs[c]);
      if (after == 0) continue;
      if ((before > 0) != (after > 0)) turned = true;
      std::array<std::uint32_t, 3> key{a, b, c};
      std::sort(key.begin(), key.end());
      if (!seen.insert(key).second) continue;  // several fine triangles become the same coarse one
      tris.insert(tris.end(), {a, b, c});
    }
    if (turned || tris.empty() || tris.size() * 3 > static_cast<std::size_t>(run.count) * 2) continue;
    const float error = CoarseError(vs, repOf, tris, run.lo, cell);
    run.lodFirst = fullEnd + static_cast<std::uint32_t>(coarse.size());
    run.lodCount = static_cast<std::uint32_t>(tris.size());
    run.lodError = error;
    coarse.insert(coarse.end(), tris.begin(), tris.end());
  }
  g.indices.insert(g.indices.end(), coarse.begin(), coarse.end());
}

}  // namespace veltrane::gl
