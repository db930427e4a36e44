#pragma once

#include <string>

#include "platform/joystick/sdl_joystick_service.h"

namespace veltrane::platform {

// For tests of the whole program: an SDL virtual joystick with six axes whose
// positions follow a text file, read at every poll. The file holds six
// integers (-32768..32767), or the word "unplugged" to pull the device out.
class FileJoystick : public SdlJoystickService {
 public:
  explicit FileJoystick(std::string file);
  ~FileJoystick() override;

  void Poll() override;

 private:
  void Attach();
  void Detach();

  std::string file_;
  _SDL_Joystick* device_ = nullptr;
  int deviceIndex_ = -1;
};

}  // namespace veltrane::platform
