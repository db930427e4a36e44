#include "loaders/terrain_faces.h"

#include <algorithm>

namespace veltrane::loaders {
namespace {
const std::shared_ptr<rm::Texture> kNoTexture;
const std::shared_ptr<rm::Material> kNoMaterial;
}  // namespace

MeshBuildFaces::MeshBuildFaces(const MeshBuild& mb, rm::Root& root, Vec3f shift) : mb_(mb) {
  CheckMeshBuild(mb);
  // In AssembleMesh's order of work, so the root hands out the same things.
  textures_ = LoadMeshTextures(mb, root);
  normals_ = VertexNormals(mb, slots_);
  vertices_.reserve(mb.Refs().size());
  for (const VertexRef& r : mb.Refs()) {
    const MeshVertex& v = mb.Vertices()[static_cast<std::size_t>(r.vertex)];
    rm::Vector p{static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
    p.x += shift.x;
    p.y += shift.y;
    p.z += shift.z;
    vertices_.push_back(p);
  }
  materials_ = MakeMeshMaterials(mb, root);
  bool allSingleSided = true;
  for (std::size_t i = 0; i < mb.Faces().size(); ++i) {
    const MeshFace& f = mb.Faces()[i];
    if (!f.singleSided) allSingleSided = false;
    if (f.cornerCount == 0) continue;
    faces_.push_back(static_cast<std::uint32_t>(i * 2));
    if (!f.singleSided) faces_.push_back(static_cast<std::uint32_t>(i * 2 + 1));
  }
  quality_ = allSingleSided ? rm::quality::kSolidLitPhong : rm::quality::kSolidLitFlat;
}

std::size_t MeshBuildFaces::CornerCount(std::size_t face) const {
  const auto n = static_cast<std::size_t>(Source(face).cornerCount);
  return n < 3 ? 0 : n;
}

std::size_t MeshBuildFaces::TableCorner(std::size_t face, std::size_t corner) const {
  return (faces_[face] & 1u) ? static_cast<std::size_t>(Source(face).cornerCount) - 1 - corner
                             : corner;
}

Vec3f MeshBuildFaces::Position(std::size_t face, std::size_t corner) const {
  return vertices_[static_cast<std::size_t>(Source(face).corner[TableCorner(face, corner)])];
}

Vec3f MeshBuildFaces::Normal(std::size_t face, std::size_t corner) const {
  return normals_[static_cast<std::size_t>(slots_[faces_[face] >> 1][TableCorner(face, corner)])];
}

void MeshBuildFaces::TextureCoordinates(std::size_t face, std::size_t corner, float& u,
                                        float& v) const {
  u = v = 0.0f;
  // Only the front of a textured face is given coordinates.
  const MeshFace& f = Source(face);
  if ((faces_[face] & 1u) || !IsTextured(mb_, f)) return;
  const VertexRef& r = mb_.Refs()[static_cast<std::size_t>(f.corner[corner])];
  u = static_cast<float>(r.u / 255.0);
  v = static_cast<float>(r.v / 255.0);
}

rm::ColorARGB MeshBuildFaces::Color(std::size_t face) const {
  const MeshFace& f = Source(face);
  if (IsTextured(mb_, f)) return 0xFFFFFFFF;  // the texture alone gives the colour
  return PackColor(mb_.Colors()[static_cast<std::size_t>(f.color)]);
}

const std::shared_ptr<rm::Texture>& MeshBuildFaces::TextureOf(std::size_t face) const {
  const MeshFace& f = Source(face);
  return IsTextured(mb_, f) ? textures_[static_cast<std::size_t>(f.texture)] : kNoTexture;
}

const std::shared_ptr<rm::Material>& MeshBuildFaces::MaterialOf(std::size_t face) const {
  const MeshFace& f = Source(face);
  return f.material > 0 ? materials_[static_cast<std::size_t>(f.material)] : kNoMaterial;
}

rm::Box MeshBuildFaces::Box() const {
  if (vertices_.empty()) return {};
  rm::Box box{vertices_.front(), vertices_.front()};
  for (const auto& v : vertices_) {
    box.min = {std::min(box.min.x, v.x), std::min(box.min.y, v.y), std::min(box.min.z, v.z)};
    box.max = {std::max(box.max.x, v.x), std::max(box.max.y, v.y), std::max(box.max.z, v.z)};
  }
  return box;
}

}  // namespace veltrane::loaders
