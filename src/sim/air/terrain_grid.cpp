#include "sim/air/terrain_grid.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace veltrane {

TerrainGrid::TerrainGrid(int cells, double step, std::vector<double> heights)
    : cells_(cells), step_(step), heights_(std::move(heights)) {
  const auto points = static_cast<std::size_t>(cells + 1);
  if (cells < 0 || !(step > 0.0) || heights_.size() != points * points)
    throw std::invalid_argument("TerrainGrid: heights do not match the cell count");
}

double TerrainGrid::PointHeight(int i, int j) const {
  if (cells_ <= 0) return heights_.empty() ? 0.0 : heights_[0];
  i = std::clamp(i, 0, cells_);
  j = std::clamp(j, 0, cells_);
  return heights_[static_cast<std::size_t>(i) * static_cast<std::size_t>(cells_ + 1) +
                  static_cast<std::size_t>(j)];
}

double TerrainGrid::HeightAt(double x, double y) const {
  if (cells_ <= 0) return PointHeight(0, 0);
  const double extent = cells_ * step_;
  const double gx = std::clamp(x, 0.0, extent) / step_;
  const double gy = std::clamp(y, 0.0, extent) / step_;
  const int i = std::min(static_cast<int>(gx), cells_ - 1);
  const int j = std::min(static_cast<int>(gy), cells_ - 1);
  const double fx = gx - i, fy = gy - j;
  const double h00 = PointHeight(i, j), h01 = PointHeight(i, j + 1);
  const double h10 = PointHeight(i + 1, j), h11 = PointHeight(i + 1, j + 1);
  // Triangle A (i, j), (i, j+1), (i+1, j) below the diagonal, B (i+1, j+1) above it.
  if (fx + fy <= 1.0) return h00 + (h10 - h00) * fx + (h01 - h00) * fy;
  return h11 + (h01 - h11) * (1.0 - fx) + (h10 - h11) * (1.0 - fy);
}

}  // namespace veltrane
