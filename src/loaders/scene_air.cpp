#include "loaders/scene_air.h"

#include <algorithm>
#include <vector>

namespace veltrane::loaders {

std::shared_ptr<const TerrainGrid> TerrainFromScene(const SceneInfo& info, const HeightGrid& grid) {
  const int cells = std::clamp(info.CellsX, 0, HeightGrid::kSize - 1);
  if (cells <= 0 || info.GridStep <= 0) return std::make_shared<TerrainGrid>();
  const auto points = static_cast<std::size_t>(cells + 1);
  std::vector<double> heights(points * points);
  for (int i = 0; i <= cells; ++i)
    for (int j = 0; j <= cells; ++j)
      heights[static_cast<std::size_t>(i) * points + static_cast<std::size_t>(j)] =
          info.HeightPerLevel * grid.At(i, j);
  return std::make_shared<TerrainGrid>(cells, static_cast<double>(info.GridStep),
                                       std::move(heights));
}

}  // namespace veltrane::loaders
