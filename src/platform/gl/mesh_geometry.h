#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/rm/mesh_builder.h"

namespace veltrane::gl {

// One vertex as the GPU takes it; colour is the face's packed ARGB, read as BGRA.
struct GpuVertex {
  float pos[3];
  float normal[3];
  std::uint32_t argb;
  float uv[2];
};
static_assert(sizeof(GpuVertex) == 36);

// A run of triangles sharing texture and material.
struct Batch {
  std::uint32_t first = 0;  // first vertex
  std::uint32_t count = 0;  // vertex count, a multiple of 3
  std::shared_ptr<rm::Texture> texture;
  std::shared_ptr<rm::Material> material;
};

// A translucent triangle, kept apart so it can be sorted every frame.
struct TranslucentTriangle {
  GpuVertex v[3];
  std::shared_ptr<rm::Texture> texture;
  std::shared_ptr<rm::Material> material;
};

// A mesh builder turned into triangles: opaque faces grouped into batches,
// faces with alpha below 255 listed for sorted drawing.
struct MeshGeometry {
  std::vector<GpuVertex> opaque;
  std::vector<Batch> batches;
  std::vector<TranslucentTriangle> translucent;
  bool lit = true;
  bool smooth = false;
};

// Polygons become triangle fans. Flat quality takes one normal per face from its
// corners' order, smooth quality the builder's per-vertex normals. Faces with
// fewer than three corners or indices out of range are skipped.
MeshGeometry BuildMeshGeometry(const rm::MeshBuilder& mesh);

}  // namespace veltrane::gl
