#pragma once

#include <cstdint>

namespace veltrane {

// What the pilot sets of the moving air. With speed 0 (the default) the air is
// still and every flight is what it was before the wind existed.
struct WindSettings {
  static constexpr double kMaxSpeed = 20.0;
  double speed = 0.0;           // m/s, 10 m above the terrain, 0..20
  double fromDegrees = 0.0;     // where it blows from: 0 = from +y, 90 = from +x
  std::int32_t gusts = 0;       // percent, 0..100
  std::int32_t turbulence = 0;  // percent, 0..100
  std::uint32_t turbulenceSeed = 1;

  bool Still() const { return speed == 0.0; }
  // Speed, direction and percentages brought into their ranges (direction 0..360).
  WindSettings Clamped() const;
  friend bool operator==(const WindSettings&, const WindSettings&) = default;
};

}  // namespace veltrane
