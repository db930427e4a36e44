#include "sim/create_world_col.h"

#include "base/rm/mesh_builder.h"
#include "base/rm/mesh_geometry.h"

namespace veltrane {

void AddFaceFan(collision::CollisionModel& model, std::span<const Vec3f> face) {
  // The model takes three floats per vertex, already in simulation axes.
  auto swapped = [](const Vec3f& v, float* out) {
    out[0] = v.x;
    out[1] = v.z;
    out[2] = v.y;
  };
  if (face.size() < 3) return;
  float v0[3], v1[3], v2[3];
  swapped(face[0], v0);
  for (std::size_t j = 1; j + 1 < face.size(); ++j) {
    swapped(face[j], v1);
    swapped(face[j + 1], v2);
    model.addTriangle(v0, v1, v2);
  }
}

collision::CollisionModel CreateWorldCol(const std::vector<std::vector<Vec3f>>& faces) {
  collision::CollisionModel model;
  for (const std::vector<Vec3f>& f : faces) AddFaceFan(model, f);
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
  std::vector<Vec3f> face;
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
  collision::CollisionModel model = WorldColTriangles(faces);
  model.finalize();
  return model;
}

collision::CollisionModel WorldColTriangles(const rm::FaceSource& faces) {
  collision::CollisionModel model;
  std::size_t triangles = 0;
  for (std::size_t i = 0; i < faces.FaceCount(); ++i)
    if (const std::size_t n = faces.CornerCount(i); n > 2) triangles += n - 2;
  model.reserve(triangles);
  std::vector<Vec3f> face;
  for (std::size_t i = 0; i < faces.FaceCount(); ++i) {
    face.clear();
    for (std::size_t k = 0; k < faces.CornerCount(i); ++k) face.push_back(faces.Position(i, k));
    AddFaceFan(model, face);
  }
  return model;
}

}  // namespace veltrane
