#pragma once

#include <array>
#include <string>

namespace veltrane {

constexpr int kJoystickAxes = 6;  // X, Y, Z, R, U, V

// One device as the joystick service reports it.
struct JoystickState {
  bool connected = true;  // false: present but reporting unplugged (positions undefined)
  std::string productName;
  int axes = 0;  // axes in use, 0..6
  std::array<int, kJoystickAxes> min{};
  std::array<int, kJoystickAxes> max{};
  std::array<int, kJoystickAxes> pos{};  // 0 for axes the device does not have
};

// The platform's joysticks by device number (0 first, 1 second). Every query
// asks the device afresh, so plugging in or out shows at the next call.
class JoystickService {
 public:
  virtual ~JoystickService() = default;
  // Takes in what the devices did since the last call (new positions, devices
  // plugged in or out). Called once before a round of queries.
  virtual void Poll() {}
  // False when the device is absent; `state` is then left as it was.
  virtual bool Query(int device, JoystickState& state) = 0;
};

}  // namespace veltrane
