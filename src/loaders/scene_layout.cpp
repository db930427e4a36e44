#include "loaders/scene_layout.h"

#include "loaders/load_error.h"
#include "loaders/scene_file.h"

namespace veltrane::loaders {

void SceneLayout::Validate() const {
  if (!haveScene) throw LoadError("Error: SCENE is missing in " + fileName);
  if (heightmapFile.empty()) throw LoadError("Error: 3D_LANDSCAPE is missing in " + fileName);
  if (step <= 0 || tileLength <= 0 || size <= 0)
    throw LoadError("Error: SCENE " + std::to_string(size) + " " + std::to_string(tileLength) +
                    " " + std::to_string(step) + " needs positive sizes in " + fileName);
  const std::int64_t cells = 2 * size / step;
  if (cells < 1)
    throw LoadError("Error: SCENE " + std::to_string(size) + " " + std::to_string(tileLength) +
                    " " + std::to_string(step) + " gives no terrain cell in " + fileName);
  if (cells + 1 > HeightGrid::kSize)
    throw LoadError("Error: the terrain of " + fileName + " has " + std::to_string(cells) +
                    " cells per side, more than the " + std::to_string(HeightGrid::kSize - 1) +
                    " supported");
  const std::int64_t lastTile = (cells - 1) * step / tileLength;
  if (lastTile >= kTiles)
    throw LoadError("Error: the terrain of " + fileName + " needs texture tile " +
                    std::to_string(lastTile) + ", beyond the " + std::to_string(kTiles) + " x " +
                    std::to_string(kTiles) + " tile map");
}

}  // namespace veltrane::loaders
