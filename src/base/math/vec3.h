#pragma once

namespace veltrane {

// Three 64-bit components; the simulation frame is right-handed with z up.
struct Vec3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;

  friend bool operator==(const Vec3&, const Vec3&) = default;
};

}  // namespace veltrane
