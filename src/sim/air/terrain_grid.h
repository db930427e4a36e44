#pragma once

#include <vector>

namespace veltrane {

// The landscape's heightmap terrain as the air sees it: grid points (i, j) for
// i, j in 0..cells at world (i * step, j * step), heights in metres (z up). Each
// cell is split into the same two triangles the landscape loader builds, with the
// diagonal from (i, j + 1) to (i + 1, j), so HeightAt agrees with the collision
// terrain. Outside the grid the height of the nearest edge point holds.
class TerrainGrid {
 public:
  TerrainGrid() = default;
  // heights holds (cells + 1)^2 values, index i * (cells + 1) + j (column-major in x).
  TerrainGrid(int cells, double step, std::vector<double> heights);

  int Cells() const { return cells_; }
  double Step() const { return step_; }
  bool Empty() const { return cells_ <= 0; }
  // Height at grid point (i, j), indices clamped into the grid.
  double PointHeight(int i, int j) const;
  // Height of the terrain surface under (x, y); 0 for an empty grid.
  double HeightAt(double x, double y) const;

 private:
  int cells_ = 0;
  double step_ = 1.0;
  std::vector<double> heights_;
};

}  // namespace veltrane
