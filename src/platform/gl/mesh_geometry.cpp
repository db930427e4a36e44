#include "platform/gl/mesh_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <unordered_map>
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
  return g;
}

}  // namespace veltrane::gl
