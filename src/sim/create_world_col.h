#pragma once

#include <span>
#include <vector>

#include "base/collision/collision_model.h"
#include "base/math/vec3f.h"

namespace veltrane {

namespace rm {
class MeshBuilder;
class FaceSource;
}  // namespace rm

// Adds one face, its vertices in corner order and display axes (y up), as a fan
// (0, j, j + 1), each vertex swapped from display (x, y, z) into simulation
// (x, z, y). Fewer than three vertices add nothing.
void AddFaceFan(collision::CollisionModel& model, std::span<const Vec3f> face);

// The world collision model of a landscape: every face (as above) in order, then
// finalised.
collision::CollisionModel CreateWorldCol(const std::vector<std::vector<Vec3f>>& faces);
// The same over the faces of the landscape's mesh builder (its vertices are in
// display axes).
collision::CollisionModel CreateWorldCol(const rm::MeshBuilder& mesh);
// The same over faces read in place (a landscape made in one pass).
collision::CollisionModel CreateWorldCol(const rm::FaceSource& faces);
// Its triangles only, not yet finalised: the caller can let go of the faces
// before the tree is built over them, so the two never take memory together.
collision::CollisionModel WorldColTriangles(const rm::FaceSource& faces);

}  // namespace veltrane
