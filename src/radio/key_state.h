#pragma once

namespace veltrane {

// The held-key query of the platform, by Windows virtual-key number.
class KeyState {
 public:
  virtual ~KeyState() = default;
  virtual bool IsKeyDown(int vk) const = 0;
};

}  // namespace veltrane
