#pragma once

#include <array>
#include <span>
#include <vector>

#include "base/collision/collision_model.h"

namespace veltrane {

namespace rm {
class MeshBuilder;
class FaceSource;
}  // namespace rm

// A vertex of the landscape's display geometry: y up.
using DisplayVertex = std::array<float, 3>;
// One face: its vertices in corner order.
using DisplayFace = std::vector<DisplayVertex>;

// Adds one face as a fan (0, j, j + 1), each vertex swapped from display
// (x, y, z) into simulation (x, z, y). Fewer than three vertices add nothing.
void AddFaceFan(collision::CollisionModel& model, std::span<const DisplayVertex> face);

// The world collision model of a landscape: every face in order, then finalised.
collision::CollisionModel CreateWorldCol(const std::vector<DisplayFace>& faces);
// The same over the faces of the landscape's mesh builder (its vertices are in
// display axes).
collision::CollisionModel CreateWorldCol(const rm::MeshBuilder& mesh);
// The same over faces read in place (a landscape made in one pass).
collision::CollisionModel CreateWorldCol(const rm::FaceSource& faces);

}  // namespace veltrane
