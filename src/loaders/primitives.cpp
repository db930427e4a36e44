#include "loaders/primitives.h"

#include <array>
#include <cmath>

#include "sim/math_u.h"

namespace veltrane::loaders {

int AddCleanedFace(MeshBuild& mb, MeshFace face, std::span<const int> refs) {
  const auto vertexOf = [&](int ref) { return mb.Refs()[static_cast<std::size_t>(ref)].vertex; };
  const std::size_t n = refs.size();
  std::array<int, 4> kept{};
  std::size_t count = 0;
  if (n > 0) {
    for (std::size_t k = 0; k + 1 < n; ++k)
      if (vertexOf(refs[k]) != vertexOf(refs[k + 1])) kept[count++] = refs[k];
    kept[count++] = refs[n - 1];
    const bool firstKept = n > 1 && vertexOf(refs[0]) != vertexOf(refs[1]);
    if (firstKept && count > 1 && vertexOf(kept[count - 1]) == vertexOf(refs[0])) --count;
  }
  face.cornerCount = static_cast<std::int32_t>(count);
  for (std::size_t k = 0; k < count; ++k) face.corner[k] = kept[count - 1 - k];
  return mb.AppendFace(face);
}

void AddLineTube(MeshBuild& mb, const Vec3& p1, const Vec3& p2, const PointFrame& frame, int color,
                 double side) {
  const Vec3 d = p2 - p1;
  Vec3 e1 = (d.x == 0.0 && d.y == 0.0) ? Vec3{1.0, 0.0, 0.0} : Vec3{d.y, -d.x, 0.0};
  Vec3 e2;
  VecCross(e1, d, e2);
  VecNormalize(e1);
  VecNormalize(e2);
  e1 = e1 * side;
  e2 = e2 * side;

  const std::array<Vec3, 8> points = {p1, p1 + e1, p1 + e1 + e2, p1 + e2,
                                      p2, p2 + e1, p2 + e1 + e2, p2 + e2};
  std::array<int, 8> ref{};
  for (std::size_t k = 0; k < points.size(); ++k)
    ref[k] = mb.AddVertexRef(mb.AddVertex(frame(points[k])), false, 0.0, 0.0);

  // A0..A3 are ref[0..3], B0..B3 are ref[4..7].
  constexpr int kSides[4][4] = {{0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
  for (const auto& s : kSides) {
    MeshFace f;
    f.cornerCount = 4;
    for (int k = 0; k < 4; ++k)
      f.corner[static_cast<std::size_t>(k)] = ref[static_cast<std::size_t>(s[k])];
    f.color = color;
    f.singleSided = true;
    f.texture = 0;
    f.material = 0;
    mb.AppendFace(f);
  }
}

}  // namespace veltrane::loaders
