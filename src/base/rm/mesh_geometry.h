#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/math/vec3f.h"
#include "base/rm/mesh_builder.h"

namespace veltrane::rm {

// One vertex as the GPU takes it; colour is the face's packed ARGB, read as BGRA.
// The normal is packed to 10 bits a component: lighting needs no more, and the
// vertex fetch of a software rasteriser pays for every byte.
struct GpuVertex {
  Vec3f pos;
  std::uint32_t normal;  // PackNormal: signed 10-bit x, y, z from the low bits up
  std::uint32_t argb;
  float uv[2];
};
static_assert(sizeof(GpuVertex) == 28);

// GL_INT_2_10_10_10_REV, normalised; components are clamped to [-1, 1].
std::uint32_t PackNormal(Vec3f n);
Vec3f UnpackNormal(std::uint32_t packed);

// A run of triangles sharing texture and material, all in one spatial chunk of
// the mesh, with the frame-local box around them so unseen runs can be skipped.
// Runs of the same texture and material follow each other.
struct Batch {
  std::uint32_t first = 0;  // first index
  std::uint32_t count = 0;  // index count, a multiple of 3
  std::shared_ptr<Texture> texture;
  std::shared_ptr<Material> material;
  Vec3f lo, hi;
  // A coarser version of the run for far away (count 0: none): its own
  // indices into the same vertices, after the full ones in the index buffer.
  // Corners the run shares with other runs stay where they are, so a coarse
  // run meets its neighbours without a crack whichever version they show.
  // lodError is the largest height between a dropped corner and the coarse
  // surface: the coarse run is drawn where that is under a pixel on screen.
  std::uint32_t lodFirst = 0;
  std::uint32_t lodCount = 0;
  float lodError = 0;
};

// A translucent triangle, kept apart so it can be sorted every frame.
struct TranslucentTriangle {
  GpuVertex v[3];
  std::shared_ptr<Texture> texture;
  std::shared_ptr<Material> material;
};

// A mesh builder turned into triangles: opaque faces grouped by texture and
// material, and within each group by a square grid over the mesh's ground
// plane (x, z) so that large meshes such as a landscape can be culled piecewise;
// faces with alpha below 255 listed for sorted drawing.
// Opaque triangles are indexed: corners equal in every attribute share one
// vertex within a run, so a grid such as a landscape sends each of its points
// through the vertex stage about once instead of six times.
struct MeshGeometry {
  std::vector<GpuVertex> opaque;
  std::vector<std::uint32_t>
      indices;  // three a triangle, into opaque; the coarse runs' after the full ones
  std::size_t fullIndexCount = 0;  // where the full runs end
  std::vector<Batch> batches;
  std::vector<TranslucentTriangle> translucent;
  bool lit = true;
  bool smooth = false;
};

// Faces as BuildMeshGeometry reads them, one after another: a mesh builder's,
// or a loader's tables read in place so that a large mesh is never held as
// builder faces as well.
class FaceSource {
 public:
  virtual ~FaceSource() = default;
  virtual std::size_t FaceCount() const = 0;
  virtual std::uint32_t Quality() const = 0;  // see quality:: in types.h
  // Corners of a face; a face with fewer than three, or one naming a vertex or
  // normal that does not exist, is drawn nowhere: give 0 for it.
  virtual std::size_t CornerCount(std::size_t face) const = 0;
  virtual Vec3f Position(std::size_t face, std::size_t corner) const = 0;
  virtual Vec3f Normal(std::size_t face, std::size_t corner) const = 0;
  virtual void TextureCoordinates(std::size_t face, std::size_t corner, float& u,
                                  float& v) const = 0;
  virtual ColorARGB Color(std::size_t face) const = 0;
  virtual const std::shared_ptr<Texture>& TextureOf(std::size_t face) const = 0;
  virtual const std::shared_ptr<Material>& MaterialOf(std::size_t face) const = 0;
};

// A mesh builder's faces.
class MeshBuilderFaces final : public FaceSource {
 public:
  explicit MeshBuilderFaces(const MeshBuilder& mesh) : mesh_(mesh) {}
  std::size_t FaceCount() const override { return mesh_.FaceCount(); }
  std::uint32_t Quality() const override { return mesh_.Quality(); }
  std::size_t CornerCount(std::size_t face) const override;
  Vec3f Position(std::size_t face, std::size_t corner) const override {
    return mesh_.Vertices()[mesh_.Faces()[face].corners[corner].vertex];
  }
  Vec3f Normal(std::size_t face, std::size_t corner) const override {
    return mesh_.Normals()[mesh_.Faces()[face].corners[corner].normal];
  }
  void TextureCoordinates(std::size_t face, std::size_t corner, float& u, float& v) const override {
    const Corner& c = mesh_.Faces()[face].corners[corner];
    u = c.u;
    v = c.v;
  }
  ColorARGB Color(std::size_t face) const override { return mesh_.Faces()[face].color; }
  const std::shared_ptr<Texture>& TextureOf(std::size_t face) const override {
    return mesh_.Faces()[face].texture;
  }
  const std::shared_ptr<Material>& MaterialOf(std::size_t face) const override {
    return mesh_.Faces()[face].material;
  }

 private:
  const MeshBuilder& mesh_;
};

// Polygons become triangle fans. Flat quality takes one normal per face from its
// corners' order, smooth quality the per-vertex normals. Faces with fewer than
// three corners or indices out of range are skipped.
// triangles_per_chunk sets the grid: a mesh of T opaque triangles gets about
// T / triangles_per_chunk cells (at most 16 x 16); small meshes stay one cell.
MeshGeometry BuildMeshGeometry(const FaceSource& faces, std::size_t triangles_per_chunk = 256);
inline MeshGeometry BuildMeshGeometry(const MeshBuilder& mesh,
                                      std::size_t triangles_per_chunk = 256) {
  return BuildMeshGeometry(MeshBuilderFaces(mesh), triangles_per_chunk);
}

// Gives runs of at least min_triangles over a ground-like surface a coarse
// version (of geometry as BuildMeshGeometry makes it, each run's vertices a
// block of their own; BuildMeshGeometry calls it for meshes it splits; see
// Batch): corners within cells of twice the run's mean edge
// length merge into one, the corner nearest the cell's low corner, unless
// another run shares them. A run whose coarse version would turn a triangle
// over, or save less than a third, keeps none.
void AddCoarseRuns(MeshGeometry& g, std::size_t min_triangles = 64);

}  // namespace veltrane::rm
