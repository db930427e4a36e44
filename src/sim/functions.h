#pragma once

// The eight control functions, as indices into SimState::FunctionValue and every
// table kept per function (assignments, key slots, recorded frames). The airplane
// reads the first four, the helicopter the throttle and the last four.
namespace veltrane::fn {

enum Function : int {
  kRudder = 0,
  kElevator = 1,
  kAileron = 2,
  kThrottle = 3,
  kTailRotor = 4,
  kPitchCyclic = 5,
  kRollCyclic = 6,
  kCollective = 7,
};

inline constexpr int kCount = 8;

}  // namespace veltrane::fn
