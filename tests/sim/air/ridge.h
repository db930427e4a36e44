#pragma once

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "base/collision/collision_model.h"
#include "sim/air/terrain_grid.h"
#include "sim/collision_world.h"

namespace veltrane::testing {

// A long ridge across x, its slope facing +y: a plateau 50 m high for y below
// 450 m, falling at about 30 degrees to the plain at y = 540 m. The collision world is built from
// the same triangles the air sees.
struct Ridge {
  std::shared_ptr<const TerrainGrid> grid;
  std::unique_ptr<CollisionWorld> world;
};

inline Ridge MakeRidge() {
  constexpr int kCells = 200;
  constexpr double kStep = 5.0;
  std::vector<double> h(static_cast<std::size_t>((kCells + 1) * (kCells + 1)));
  for (int i = 0; i <= kCells; ++i)
    for (int j = 0; j <= kCells; ++j) {
      const double y = j * kStep;
      h[static_cast<std::size_t>(i * (kCells + 1) + j)] =
          std::clamp((540.0 - y) / 90.0, 0.0, 1.0) * 50.0;
    }
  Ridge r;
  r.grid = std::make_shared<TerrainGrid>(kCells, kStep, std::move(h));
  collision::CollisionModel m;
  const auto P = [&](int i, int j) {
    return std::array<float, 3>{static_cast<float>(i * kStep), static_cast<float>(j * kStep),
                                static_cast<float>(r.grid->PointHeight(i, j))};
  };
  for (int i = 0; i < kCells; ++i)
    for (int j = 0; j < kCells; ++j) {
      const auto a = P(i, j), b = P(i, j + 1), c = P(i + 1, j), d = P(i + 1, j + 1);
      m.addTriangle(a.data(), b.data(), c.data());
      m.addTriangle(d.data(), c.data(), b.data());
    }
  r.world = std::make_unique<CollisionWorld>(std::move(m));
  return r;
}

}  // namespace veltrane::testing
