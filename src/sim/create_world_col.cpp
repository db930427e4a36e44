#include "sim/create_world_col.h"

#include "base/rm/mesh_builder.h"
#include "base/rm/mesh_geometry.h"

namespace veltrane {

void AddFaceFan(collision::CollisionModel& model, std::span<const DisplayVertex> face) {
  auto swapped = [](const DisplayVertex& v) { return collision::Float3{v[0], v[2], v[1]}; };
  if (face.size() < 3) return;
  const collision::Float3 v0 = swapped(face[0]);
  for (std::size_t j = 1; j + 1 < face.size(); ++j) {
    const collision::Float3 v1 = swapped(face[j]), v2 = swapped(face[j + 1]);
    model.addTriangle(v0.data(), v1.data(), v2.data());
  }
}

collision::CollisionModel CreateWorldCol(const std::vector<DisplayFace>& faces) {
  collision::CollisionModel model;
  for (const DisplayFace& f : faces) AddFaceFan(model, f);
  model.finalize();
  return model;
}

collision::CollisionModel CreateWorldCol(const rm::MeshBuilder& mesh) {
  collision::CollisionModel model;
  std::size_t triangles = 0;
  for (const rm::Face& f : mesh.Faces())
    if (f.corners.size() > 2) triangles += f.corners.size() - 2;
  model.reserve(triangles);
  const auto& vertices = mesh.Vertices();
  std::vector<DisplayVertex> face;
  for (const rm::Face& f : mesh.Faces()) {
    face.clear();
    for (const rm::Corner& c : f.corners) {
      // The builder checks indices when faces are added; stay safe regardless.
      if (c.vertex >= vertices.size()) continue;
      const rm::Vector& v = vertices[c.vertex];
      face.push_back({v.x, v.y, v.z});
    }
    AddFaceFan(model, face);
  }
  model.finalize();
  return model;
}

collision::CollisionModel CreateWorldCol(const rm::FaceSource& faces) {
  collision::CollisionModel model;
  std::size_t triangles = 0;
  for (std::size_t i = 0; i < faces.FaceCount(); ++i)
    if (const std::size_t n = faces.CornerCount(i); n > 2) triangles += n - 2;
  model.reserve(triangles);
  std::vector<DisplayVertex> face;
  for (std::size_t i = 0; i < faces.FaceCount(); ++i) {
    face.clear();
    for (std::size_t k = 0; k < faces.CornerCount(i); ++k) {
      const Vec3f v = faces.Position(i, k);
      face.push_back({v.x, v.y, v.z});
    }
    AddFaceFan(model, face);
  }
  model.finalize();
  return model;
}

}  // namespace veltrane
