#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace veltrane::loaders {

// The terrain description a scene file gives: sizes, heightmap and texture tiles.
struct SceneLayout {
  static constexpr int kTiles = 10;

  std::string fileName;  // the scene file, for messages
  bool haveScene = false;
  std::int64_t size = 0;        // half the side of the square terrain
  std::int64_t tileLength = 0;  // side of one texture tile
  std::int64_t step = 0;        // side of one grid cell
  std::string heightmapFile;    // empty: no "3D_LANDSCAPE" item
  // tileMap[tx][ty]: texture index of the tile.
  std::array<std::array<std::int32_t, kTiles>, kTiles> tileMap{};

  // 2 * size / step; only meaningful after Validate().
  int Cells() const { return static_cast<int>(2 * size / step); }
  // Throws LoadError for a terrain the grid or the tile map cannot hold.
  void Validate() const;
};

}  // namespace veltrane::loaders
