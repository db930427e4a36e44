#pragma once

#include <array>

#include "radio/joystick/joystick_service.h"

struct _SDL_Joystick;

namespace veltrane::platform {

// Joysticks through SDL: device numbers are SDL's device indexes 0 and 1,
// axes 0..5 are X, Y, Z, R, U, V, the range -32768..32767. Devices are opened
// when they appear and closed when they go. Main thread only.
class SdlJoystickService : public JoystickService {
 public:
  SdlJoystickService();
  ~SdlJoystickService() override;
  SdlJoystickService(const SdlJoystickService&) = delete;
  SdlJoystickService& operator=(const SdlJoystickService&) = delete;

  bool Ready() const { return ready_; }

  // Reads the current axis state from the devices and follows plugging.
  void Poll() override;
  bool Query(int device, JoystickState& state) override;

 private:
  void Follow();

  bool ready_ = false;
  std::array<_SDL_Joystick*, 2> open_{};
};

}  // namespace veltrane::platform
