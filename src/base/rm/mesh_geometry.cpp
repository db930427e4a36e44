#include "base/rm/mesh_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <utility>

#include "base/memory/index_hash_table.h"

namespace veltrane::rm {
namespace {

// Normal of a polygon toward its front side. With the layer's left-handed axes
// the corners run clockwise seen from the front, and the plain cross product of
// the edges then points at the viewer. Newell's sum copes with non-planar or
// partly degenerate polygons.
Vec3f FaceNormal(const FaceSource& src, std::size_t face, std::size_t k) {
  Vec3f n{};
  for (std::size_t i = 0; i < k; ++i) {
    Vec3f a = src.Position(face, i);
    Vec3f b = src.Position(face, (i + 1) % k);
    n.x += (a.y - b.y) * (a.z + b.z);
    n.y += (a.z - b.z) * (a.x + b.x);
    n.z += (a.x - b.x) * (a.y + b.y);
  }
  return Normalize(n);
}

GpuVertex MakeVertex(const FaceSource& src, std::size_t face, std::size_t corner, bool smooth,
                     Vec3f flat) {
  GpuVertex v{};
  v.pos = src.Position(face, corner);
  Vec3f n = smooth ? Normalize(src.Normal(face, corner)) : flat;
  if (smooth && Length(n) == 0) n = flat;
  v.normal = PackNormal(n);
  v.argb = src.Color(face);
  src.TextureCoordinates(face, corner, v.uv[0], v.uv[1]);
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

std::uint64_t HashWords(const void* p, std::size_t words) {
  std::uint64_t h = 1469598103934665603ull;
  for (std::size_t i = 0; i < words; ++i) {
    std::uint32_t w;
    std::memcpy(&w, static_cast<const char*>(p) + 4 * i, 4);
    h = (h ^ w) * 1099511628211ull;
  }
  return h ^ (h >> 29);
}

// Vertices of one run by their bytes: equal bytes, one vertex.
class VertexIndex {
 public:
  VertexIndex(std::vector<GpuVertex>& vertices, std::vector<std::uint32_t>& indices)
      : vertices_(vertices), indices_(indices) {}
  void Clear() { seen_.Clear(); }
  void Add(const GpuVertex& v) {
    const auto fresh = static_cast<std::uint32_t>(vertices_.size());
    const std::uint32_t old = seen_.Insert(
        HashWords(&v, sizeof v / 4), fresh,
        [&](std::uint32_t i) { return std::memcmp(&vertices_[i], &v, sizeof v) == 0; });
    if (old == IndexHashTable::kNone) vertices_.push_back(v);
    indices_.push_back(old == IndexHashTable::kNone ? fresh : old);
  }

 private:
  std::vector<GpuVertex>& vertices_;
  std::vector<std::uint32_t>& indices_;
  IndexHashTable seen_;
};

}  // namespace

std::uint32_t PackNormal(Vec3f n) {
  auto q = [](float c) {
    c = std::clamp(std::isfinite(c) ? c : 0.0f, -1.0f, 1.0f);
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(c * 511.0f))) & 0x3FFu;
  };
  return q(n.x) | (q(n.y) << 10) | (q(n.z) << 20);
}

Vec3f UnpackNormal(std::uint32_t p) {
  auto c = [p](int shift) {
    auto v = static_cast<std::int32_t>((p >> shift) & 0x3FFu);
    if (v >= 512) v -= 1024;
    return std::max(static_cast<float>(v) / 511.0f, -1.0f);
  };
  return {c(0), c(10), c(20)};
}

std::size_t MeshBuilderFaces::CornerCount(std::size_t face) const {
  const Face& f = mesh_.Faces()[face];
  if (f.corners.size() < 3) return 0;
  for (const auto& c : f.corners)
    if (c.vertex >= mesh_.Vertices().size() || c.normal >= mesh_.Normals().size()) return 0;
  return f.corners.size();
}

MeshGeometry BuildMeshGeometry(const FaceSource& src, std::size_t triangles_per_chunk) {
  MeshGeometry g;
  std::uint32_t q = src.Quality();
  g.lit = (q & quality::kLightMask) == quality::kLightOn;
  g.smooth = (q & quality::kShadeMask) != quality::kShadeFlat;

  // Opaque faces by (texture, material), in the order the keys first appear.
  using Key = std::pair<const Texture*, const Material*>;
  std::map<Key, std::size_t> keyIndex;
  std::vector<std::vector<std::size_t>> groups;
  std::size_t triangles = 0;
  float x0 = INFINITY, x1 = -INFINITY, z0 = INFINITY, z1 = -INFINITY;
  for (std::size_t i = 0; i < src.FaceCount(); ++i) {
    const std::size_t n = src.CornerCount(i);
    if (n < 3) continue;
    if (AlphaOf(src.Color(i)) < 255) {
      Vec3f flat = FaceNormal(src, i, n);
      for (std::size_t k = 1; k + 1 < n; ++k) {
        TranslucentTriangle t;
        t.v[0] = MakeVertex(src, i, 0, g.smooth, flat);
        t.v[1] = MakeVertex(src, i, k, g.smooth, flat);
        t.v[2] = MakeVertex(src, i, k + 1, g.smooth, flat);
        t.texture = src.TextureOf(i);
        t.material = src.MaterialOf(i);
        g.translucent.push_back(std::move(t));
      }
      continue;
    }
    auto [it, fresh] =
        keyIndex.try_emplace(Key{src.TextureOf(i).get(), src.MaterialOf(i).get()}, groups.size());
    if (fresh) groups.emplace_back();
    groups[it->second].push_back(i);
    triangles += n - 2;
    for (std::size_t k = 0; k < n; ++k) {
      const Vec3f p = src.Position(i, k);
      x0 = std::min(x0, p.x);
      x1 = std::max(x1, p.x);
      z0 = std::min(z0, p.z);
      z1 = std::max(z1, p.z);
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
      const std::size_t n = src.CornerCount(i);
      float cx = 0, cz = 0;
      for (std::size_t k = 0; k < n; ++k) {
        const Vec3f p = src.Position(i, k);
        cx += p.x;
        cz += p.z;
      }
      const auto fn = static_cast<float>(n);
      cells[static_cast<std::size_t>(grid.CellOf(cx / fn, cz / fn))].push_back(i);
    }
    for (const auto& cell : cells) {
      if (cell.empty()) continue;
      Batch b;
      b.first = static_cast<std::uint32_t>(g.indices.size());
      index.Clear();
      b.texture = src.TextureOf(cell.front());
      b.material = src.MaterialOf(cell.front());
      b.lo = {INFINITY, INFINITY, INFINITY};
      b.hi = {-INFINITY, -INFINITY, -INFINITY};
      for (std::size_t i : cell) {
        const std::size_t n = src.CornerCount(i);
        Vec3f flat = FaceNormal(src, i, n);
        for (std::size_t k = 1; k + 1 < n; ++k) {
          index.Add(MakeVertex(src, i, 0, g.smooth, flat));
          index.Add(MakeVertex(src, i, k, g.smooth, flat));
          index.Add(MakeVertex(src, i, k + 1, g.smooth, flat));
        }
        for (std::size_t k = 0; k < n; ++k) {
          const Vec3f p = src.Position(i, k);
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

// Twice the signed area of a triangle seen from above (x, z).
float GroundArea(const GpuVertex& a, const GpuVertex& b, const GpuVertex& c) {
  return (b.pos.x - a.pos.x) * (c.pos.z - a.pos.z) - (b.pos.z - a.pos.z) * (c.pos.x - a.pos.x);
}

// One run's vertices: a run's corners are the contiguous block the vertex
// index made for it.
struct RunVertices {
  std::uint32_t first = 0, count = 0;
};

RunVertices VerticesOf(const MeshGeometry& g, const Batch& run) {
  std::uint32_t lo = UINT32_MAX, hi = 0;
  for (std::uint32_t k = run.first; k < run.first + run.count; ++k) {
    lo = std::min(lo, g.indices[k]);
    hi = std::max(hi, g.indices[k]);
  }
  return run.count ? RunVertices{lo, hi - lo + 1} : RunVertices{};
}

// A square grid of cells over a run's box, cell side `side`.
struct Cells {
  double x0 = 0, z0 = 0, side = 1;
  std::size_t nx = 1, nz = 1;
  Cells(const Batch& run, double s)
      : x0(run.lo.x),
        z0(run.lo.z),
        side(s),
        nx(static_cast<std::size_t>(std::max(0.0, (run.hi.x - run.lo.x) / s)) + 1),
        nz(static_cast<std::size_t>(std::max(0.0, (run.hi.z - run.lo.z) / s)) + 1) {}
  std::size_t Count() const { return nx * nz; }
  std::size_t Of(double x, double z) const {
    const auto cx =
        static_cast<std::size_t>(std::clamp((x - x0) / side, 0.0, static_cast<double>(nx - 1)));
    const auto cz =
        static_cast<std::size_t>(std::clamp((z - z0) / side, 0.0, static_cast<double>(nz - 1)));
    return cz * nx + cx;
  }
  // Squared distance from the cell's low corner, in cells.
  double Offset(double x, double z) const {
    const double fx = std::max(0.0, (x - x0) / side), fz = std::max(0.0, (z - z0) / side);
    return (fx - std::floor(fx)) * (fx - std::floor(fx)) +
           (fz - std::floor(fz)) * (fz - std::floor(fz));
  }
};

// How far the coarse surface passes from each merged-away corner: its height
// against the coarse triangle above or below it; a corner no coarse
// triangle covers counts the height between it and the corner it merged into.
float CoarseError(const std::vector<GpuVertex>& vs, RunVertices rv,
                  const std::vector<std::uint32_t>& repOf, const std::vector<std::uint32_t>& tris,
                  const Cells& cells) {
  std::vector<std::vector<std::uint32_t>> gone(cells.Count());
  std::vector<float> error(rv.count, 0.0f);
  std::vector<char> covered(rv.count, 0);
  for (std::uint32_t i = 0; i < rv.count; ++i) {
    const std::uint32_t v = rv.first + i, r = repOf[i];
    if (r == v) continue;
    gone[cells.Of(vs[v].pos.x, vs[v].pos.z)].push_back(v);
    error[i] = std::fabs(vs[v].pos.y - vs[r].pos.y);
  }
  for (std::size_t t = 0; t < tris.size(); t += 3) {
    const Vec3f& a = vs[tris[t]].pos;
    const Vec3f& b = vs[tris[t + 1]].pos;
    const Vec3f& c = vs[tris[t + 2]].pos;
    const double det = (b.x - a.x) * (c.z - a.z) - (b.z - a.z) * (c.x - a.x);
    if (det == 0) continue;
    const std::size_t lo = cells.Of(std::min({a.x, b.x, c.x}), std::min({a.z, b.z, c.z}));
    const std::size_t hi = cells.Of(std::max({a.x, b.x, c.x}), std::max({a.z, b.z, c.z}));
    for (std::size_t cz = lo / cells.nx; cz <= hi / cells.nx; ++cz)
      for (std::size_t cx = lo % cells.nx; cx <= hi % cells.nx; ++cx)
        for (std::uint32_t v : gone[cz * cells.nx + cx]) {
          const Vec3f& p = vs[v].pos;
          const double s = ((p.x - a.x) * (c.z - a.z) - (p.z - a.z) * (c.x - a.x)) / det;
          const double u = ((b.x - a.x) * (p.z - a.z) - (b.z - a.z) * (p.x - a.x)) / det;
          if (s < -1e-6 || u < -1e-6 || s + u > 1 + 1e-6) continue;
          const auto e =
              static_cast<float>(std::fabs(p.y - (a.y + s * (b.y - a.y) + u * (c.y - a.y))));
          const std::uint32_t i = v - rv.first;
          error[i] = covered[i] ? std::max(error[i], e) : e;
          covered[i] = 1;
        }
  }
  return error.empty() ? 0.0f : *std::max_element(error.begin(), error.end());
}

}  // namespace

void AddCoarseRuns(MeshGeometry& g, std::size_t min_triangles) {
  const auto& vs = g.opaque;
  std::vector<RunVertices> runVertices;
  runVertices.reserve(g.batches.size());
  for (const Batch& run : g.batches) runVertices.push_back(VerticesOf(g, run));

  // Corners that must stay: where another run continues (shared), and where a
  // position has several vertices in one run, a seam of texture coordinates
  // or colours that merging would smear.
  // A position met twice is one of the two, whichever runs the vertices are in.
  std::vector<char> stays(vs.size(), 0);
  {
    IndexHashTable firstAt;
    for (const RunVertices& rv : runVertices)
      for (std::uint32_t v = rv.first; v < rv.first + rv.count; ++v) {
        const Vec3f& p = vs[v].pos;
        const std::uint32_t first =
            firstAt.Insert(HashWords(&p, 3), v, [&](std::uint32_t i) { return vs[i].pos == p; });
        if (first != IndexHashTable::kNone) stays[v] = stays[first] = 1;
      }
  }

  std::vector<std::uint32_t> coarse;
  const auto fullEnd = static_cast<std::uint32_t>(g.indices.size());
  for (std::size_t b = 0; b < g.batches.size(); ++b) {
    Batch& run = g.batches[b];
    const RunVertices rv = runVertices[b];
    if (run.count / 3 < min_triangles) continue;
    const std::uint32_t* idx = g.indices.data() + run.first;
    double edges = 0;
    for (std::uint32_t t = 0; t < run.count; t += 3)
      for (int e = 0; e < 3; ++e) {
        const GpuVertex &p = vs[idx[t + e]], &q = vs[idx[t + (e + 1) % 3]];
        edges += std::hypot(p.pos.x - q.pos.x, p.pos.z - q.pos.z);
      }
    const double side = 2.0 * edges / run.count;
    if (!(side > 0)) continue;
    const Cells cells(run, side);

    // The run's own edge stays too: where no other run continues it, it is
    // the edge of the whole mesh, seen against the sky. Every other corner
    // merges into the one of its cell nearest the cell's low corner.
    const float eps = 1e-5f * static_cast<float>(side);
    auto stay = [&](std::uint32_t v) {
      const Vec3f& p = vs[v].pos;
      return stays[v] || std::fabs(p.x - run.lo.x) <= eps || std::fabs(p.x - run.hi.x) <= eps ||
             std::fabs(p.z - run.lo.z) <= eps || std::fabs(p.z - run.hi.z) <= eps;
    };
    std::vector<std::uint32_t> repOf(rv.count);
    std::vector<std::uint32_t> repOfCell(cells.Count(), UINT32_MAX);
    for (std::uint32_t i = 0; i < rv.count; ++i) {
      const std::uint32_t v = rv.first + i;
      repOf[i] = v;
      if (stay(v)) continue;
      std::uint32_t& r = repOfCell[cells.Of(vs[v].pos.x, vs[v].pos.z)];
      if (r == UINT32_MAX ||
          cells.Offset(vs[v].pos.x, vs[v].pos.z) < cells.Offset(vs[r].pos.x, vs[r].pos.z))
        r = v;
    }
    for (std::uint32_t i = 0; i < rv.count; ++i)
      if (!stay(rv.first + i))
        repOf[i] = repOfCell[cells.Of(vs[rv.first + i].pos.x, vs[rv.first + i].pos.z)];

    std::vector<std::uint32_t> tris;
    std::vector<std::array<std::uint32_t, 3>> keys;  // each of tris sorted
    IndexHashTable seen;
    bool turned = false;
    for (std::uint32_t t = 0; t < run.count && !turned; t += 3) {
      const std::uint32_t a = repOf[idx[t] - rv.first], c1 = repOf[idx[t + 1] - rv.first],
                          c2 = repOf[idx[t + 2] - rv.first];
      if (a == c1 || c1 == c2 || a == c2) continue;
      const float before = GroundArea(vs[idx[t]], vs[idx[t + 1]], vs[idx[t + 2]]);
      const float after = GroundArea(vs[a], vs[c1], vs[c2]);
      if (after == 0) continue;
      if ((before > 0) != (after > 0)) turned = true;
      std::array<std::uint32_t, 3> key{a, c1, c2};
      std::sort(key.begin(), key.end());
      const auto next = static_cast<std::uint32_t>(keys.size());
      if (seen.Insert(HashWords(key.data(), 3), next,
                      [&](std::uint32_t i) { return keys[i] == key; }) != IndexHashTable::kNone)
        continue;  // several fine triangles become the same coarse one
      keys.push_back(key);
      tris.insert(tris.end(), {a, c1, c2});
    }
    if (turned || tris.empty() || tris.size() * 3 > static_cast<std::size_t>(run.count) * 2)
      continue;
    run.lodFirst = fullEnd + static_cast<std::uint32_t>(coarse.size());
    run.lodCount = static_cast<std::uint32_t>(tris.size());
    run.lodError = CoarseError(vs, rv, repOf, tris, cells);
    coarse.insert(coarse.end(), tris.begin(), tris.end());
  }
  g.indices.insert(g.indices.end(), coarse.begin(), coarse.end());
}

}  // namespace veltrane::rm
