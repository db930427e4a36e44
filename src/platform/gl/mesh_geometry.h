#pragma once

// The renderer takes meshes as the scene layer turns them into GPU streams;
// the names are the renderer's own.

#include "base/rm/mesh_geometry.h"

namespace veltrane::gl {

using rm::AddCoarseRuns;
using rm::Batch;
using rm::BuildMeshGeometry;
using rm::GpuVertex;
using rm::MeshGeometry;
using rm::PackNormal;
using rm::TranslucentTriangle;
using rm::UnpackNormal;

}  // namespace veltrane::gl
