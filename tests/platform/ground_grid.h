#pragma once

// A ground of n x n square cells for mesh and renderer tests.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "base/rm/types.h"

namespace veltrane::test {

// (n + 1)^2 points, row by row: point (i, j) at x0 + i * step, height(i, j),
// z0 + j * step.
inline std::vector<rm::Vector> GroundPoints(int n, float step, float x0, float z0,
                                            const std::function<float(int, int)>& height) {
  std::vector<rm::Vector> v;
  for (int j = 0; j <= n; ++j)
    for (int i = 0; i <= n; ++i) v.push_back({x0 + i * step, height(i, j), z0 + j * step});
  return v;
}

// Face data for MeshBuilder::AddFaces over GroundPoints(n, ...): two
// triangles a cell, clockwise seen from above, each corner with normal 0.
inline std::vector<std::uint32_t> GroundTriangles(int n) {
  auto at = [n](int i, int j) { return static_cast<std::uint32_t>(j * (n + 1) + i); };
  std::vector<std::uint32_t> d;
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i)
      for (auto tri : {std::array<std::uint32_t, 3>{at(i, j), at(i, j + 1), at(i + 1, j + 1)},
                       std::array<std::uint32_t, 3>{at(i, j), at(i + 1, j + 1), at(i + 1, j)}}) {
        d.push_back(3);
        for (auto k : tri) d.insert(d.end(), {k, 0});
      }
  d.push_back(0);
  return d;
}

}  // namespace veltrane::test
