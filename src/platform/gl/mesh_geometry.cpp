#include "platform/gl/mesh_geometry.h"

#include <algorithm>
#include <map>
#include <utility>

#include "platform/gl/gl_math.h"

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
  v.normal[0] = n.x;
  v.normal[1] = n.y;
  v.normal[2] = n.z;
  v.argb = f.color;
  v.uv[0] = c.u;
  v.uv[1] = c.v;
  return v;
}

}  // namespace

MeshGeometry BuildMeshGeometry(const rm::MeshBuilder& mesh) {
  MeshGeometry g;
  std::uint32_t q = mesh.Quality();
  g.lit = (q & rm::quality::kLightMask) == rm::quality::kLightOn;
  g.smooth = (q & rm::quality::kShadeMask) != rm::quality::kShadeFlat;

  // Group opaque faces by (texture, material) so each group is one draw.
  using Key = std::pair<const rm::Texture*, const rm::Material*>;
  std::map<Key, std::vector<std::size_t>> groups;
  std::vector<Key> order;
  const auto& faces = mesh.Faces();
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
    Key key{f.texture.get(), f.material.get()};
    auto [it, fresh] = groups.try_emplace(key);
    if (fresh) order.push_back(key);
    it->second.push_back(i);
  }
  for (const Key& key : order) {
    const auto& list = groups[key];
    Batch b;
    b.first = static_cast<std::uint32_t>(g.opaque.size());
    b.texture = faces[list.front()].texture;
    b.material = faces[list.front()].material;
    for (std::size_t i : list) {
      const rm::Face& f = faces[i];
      V3 flat = FaceNormal(mesh, f);
      for (std::size_t k = 1; k + 1 < f.corners.size(); ++k) {
        g.opaque.push_back(MakeVertex(mesh, f, f.corners[0], g.smooth, flat));
        g.opaque.push_back(MakeVertex(mesh, f, f.corners[k], g.smooth, flat));
        g.opaque.push_back(MakeVertex(mesh, f, f.corners[k + 1], g.smooth, flat));
      }
    }
    b.count = static_cast<std::uint32_t>(g.opaque.size()) - b.first;
    if (b.count) g.batches.push_back(std::move(b));
  }
  return g;
}

}  // namespace veltrane::gl
