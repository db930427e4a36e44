#pragma once

#include <functional>
#include <span>

#include "base/math/vec3.h"
#include "loaders/mesh_build.h"

namespace veltrane::loaders {

// Maps a point of the file into display axes (the loader's current frame).
using PointFrame = std::function<MeshVertex(const Vec3&)>;

// Appends `face` with the given corner references: a corner whose vertex equals the next
// corner's is dropped, then the last one if it closes onto the (kept) first; the rest is
// stored in reverse order. The face may end up with fewer than three corners.
int AddCleanedFace(MeshBuild& mb, MeshFace face, std::span<const int> refs);

// Shared by the keyword geometry and scene readers.
// A line as a thin square tube of side `side` around the segment p1-p2 (file points): four
// single-sided untextured quads in `color`, no end caps, no material. A segment of zero
// length collapses to a sliver without area.
void AddLineTube(MeshBuild& mb, const Vec3& p1, const Vec3& p2, const PointFrame& frame, int color,
                 double side = 0.0025);

}  // namespace veltrane::loaders
