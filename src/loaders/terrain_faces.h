#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/rm/mesh_geometry.h"
#include "base/rm/root.h"
#include "loaders/mesh_build.h"

namespace veltrane::loaders {

// The faces AssembleMesh would make of a MeshBuild, moved by `shift` as
// MeshBuilder::Translate would move them, read from the loader's tables in
// place: a landscape goes from its tables straight into the renderer's
// streams and the collision model without being held as builder faces too.
// Same faces in the same order, corners, positions, normals, texture
// coordinates, colours, textures and materials. The MeshBuild must outlive it.
class MeshBuildFaces final : public rm::FaceSource {
 public:
  // Throws LoadError for an index outside its table; loads the textures
  // through `root` as AssembleMesh does.
  MeshBuildFaces(const MeshBuild& mb, rm::Root& root, Vec3f shift);

  std::size_t FaceCount() const override { return faces_.size(); }
  std::uint32_t Quality() const override { return quality_; }
  std::size_t CornerCount(std::size_t face) const override;
  Vec3f Position(std::size_t face, std::size_t corner) const override;
  Vec3f Normal(std::size_t face, std::size_t corner) const override;
  void TextureCoordinates(std::size_t face, std::size_t corner, float& u, float& v) const override;
  rm::ColorARGB Color(std::size_t face) const override;
  const std::shared_ptr<rm::Texture>& TextureOf(std::size_t face) const override;
  const std::shared_ptr<rm::Material>& MaterialOf(std::size_t face) const override;

  // Bounds of every vertex, as MeshBuilder::GetBox gives them.
  rm::Box Box() const;
  const std::vector<std::shared_ptr<rm::Texture>>& Textures() const { return textures_; }

 private:
  const MeshFace& Source(std::size_t face) const { return mb_.Faces()[faces_[face] >> 1]; }
  // The table corner behind a corner: a back face runs its corners backwards.
  std::size_t TableCorner(std::size_t face, std::size_t corner) const;

  const MeshBuild& mb_;
  std::vector<rm::Vector> vertices_;  // one per vertex reference, moved
  std::vector<Vec3f> normals_;
  std::vector<std::array<std::int32_t, 4>> slots_;
  std::vector<std::shared_ptr<rm::Texture>> textures_;
  std::vector<std::shared_ptr<rm::Material>> materials_;
  std::vector<std::uint32_t> faces_;  // table face * 2, + 1 for the back of a double-sided one
  std::uint32_t quality_ = 0;
};

}  // namespace veltrane::loaders
