#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/rm/mesh_builder.h"
#include "platform/gl/gl_math.h"

namespace veltrane::gl {

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
  std::shared_ptr<rm::Texture> texture;
  std::shared_ptr<rm::Material> material;
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
  std::shared_ptr<rm::Texture> texture;
  std::shared_ptr<rm::Material> material;
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

// Polygons become triangle fans. Flat quality takes one normal per face from its
// corners' order, smooth quality the builder's per-vertex normals. Faces with
// fewer than three corners or indices out of range are skipped.
// triangles_per_chunk sets the grid: a mesh of T opaque triangles gets about
// T / triangles_per_chunk cells (at most 16 x 16); small meshes stay one cell.
MeshGeometry BuildMeshGeometry(const rm::MeshBuilder& mesh, std::size_t triangles_per_chunk = 256);

// Gives runs of at least min_triangles over a ground-like surface a coarse
// version (of geometry as BuildMeshGeometry makes it, each run's vertices a
// block of their own; BuildMeshGeometry calls it for meshes it splits; see
// Batch): corners within cells of twice the run's mean edge
// length merge into one, the corner nearest the cell's low corner, unless
// another run shares them. A run whose coarse version would turn a triangle
// over, or save less than a third, keeps none.
void AddCoarseRuns(MeshGeometry& g, std::size_t min_triangles = 64);

}  // namespace veltrane::gl
