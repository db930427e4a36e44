#pragma once

#include <memory>

#include "base/math/vec3.h"
#include "sim/air/terrain_grid.h"

namespace veltrane {

// The steady flow of the wind over a landscape's terrain, per unit of free-stream
// speed: what depends only on the terrain and the wind direction, computed once
// when either changes. Over flat ground (and far above any terrain) the factor is
// the wind direction itself, (dx, dy, 0); in front of a slope that faces the wind
// it tilts upwards, over a crest it is longer than 1, in the lee of a sharp crest
// the flow separates and the factor becomes small.
class SlopeFlow {
 public:
  // fromDegrees: where the wind blows from, 0 = from +y, 90 = from +x; the
  // free-stream direction is then (-sin, -cos, 0).
  static std::shared_ptr<const SlopeFlow> Compute(const TerrainGrid& terrain, double fromDegrees);

  virtual ~SlopeFlow() = default;
  // Air velocity per unit free-stream speed at (x, y), height metres above the
  // terrain surface there (TerrainGrid::HeightAt). Cheap: a table look-up.
  virtual Vec3 FactorAt(double x, double y, double height) const = 0;
  const TerrainGrid& Terrain() const { return terrain_; }
  double FromDegrees() const { return fromDegrees_; }

 protected:
  SlopeFlow(TerrainGrid terrain, double fromDegrees)
      : terrain_(std::move(terrain)), fromDegrees_(fromDegrees) {}

 private:
  TerrainGrid terrain_;
  double fromDegrees_;
};

}  // namespace veltrane
