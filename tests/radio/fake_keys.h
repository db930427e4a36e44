#pragma once

#include <set>

#include "radio/key_state.h"

namespace veltrane {

class FakeKeys : public KeyState {
 public:
  bool IsKeyDown(int vk) const override { return held.count(vk) != 0; }
  std::set<int> held;
};

}  // namespace veltrane
