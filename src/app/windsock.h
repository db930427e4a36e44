#pragma once

#include <memory>

#include "base/math/vec3.h"
#include "base/rm/rm.h"

namespace veltrane {

// The sock's axis from its mouth to its tail (unit, world axes): downwind along
// the horizontal air, along `heading` (a horizontal unit vector, updated here)
// while the air is still; level from Windsock::kFullSpeed on, hanging
// Windsock::kLimpDroop degrees below level in still air, in proportion between.
Vec3 SockAxis(const Vec3& air, Vec3& heading);

// The windsock at the landscape's wind pole: a pole and a red and white striped
// sock that turns downwind and fills as the wind grows. It is only drawn: the
// collision world never sees it, so no flight changes.
class Windsock {
 public:
  static constexpr double kPoleHeight = 5.0;
  static constexpr double kFullSpeed = 8.0;   // m/s
  static constexpr double kLimpDroop = 80.0;  // degrees
  static constexpr double kLength = 2.4;
  static constexpr double kMouthRadius = 0.3;
  static constexpr double kTailRadius = 0.15;

  // Pole and sock as children of `parent`, the pole's foot at `foot` (world axes).
  Windsock(rm::Root& root, const std::shared_ptr<rm::Frame>& parent, const Vec3& foot);

  // The point whose air the sock shows.
  Vec3 Top() const { return {foot_.x, foot_.y, foot_.z + kPoleHeight}; }
  // Turns and lifts the sock for the air velocity at Top() (world axes, m/s).
  void Show(const Vec3& air);
  const rm::Frame& SockFrame() const { return *sock_; }
  const rm::Frame& PoleFrame() const { return *pole_; }

 private:
  std::shared_ptr<rm::Frame> pole_, sock_;
  Vec3 foot_;
  Vec3 heading_{0.0, 1.0, 0.0};
};

}  // namespace veltrane
