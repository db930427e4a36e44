#pragma once

#include <memory>

#include "loaders/scene_file.h"
#include "sim/air/terrain_grid.h"

namespace veltrane::loaders {

// The heightmap terrain of a loaded landscape as the wind sees it: grid point
// (i, j) at world (i * GridStep, j * GridStep), HeightPerLevel metres a grey level,
// the same points and triangles the landscape's collision terrain is built from.
std::shared_ptr<const TerrainGrid> TerrainFromScene(const SceneInfo& info, const HeightGrid& grid);

}  // namespace veltrane::loaders
