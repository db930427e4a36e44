#include "platform/joystick/file_joystick.h"

#include <SDL.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace veltrane::platform {

FileJoystick::FileJoystick(std::string file) : file_(std::move(file)) {
  if (Ready()) Attach();
}

FileJoystick::~FileJoystick() { Detach(); }

void FileJoystick::Attach() {
  if (device_) return;
  deviceIndex_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, kJoystickAxes, 0, 0);
  if (deviceIndex_ >= 0) device_ = SDL_JoystickOpen(deviceIndex_);
}

void FileJoystick::Detach() {
  if (!device_) return;
  const SDL_JoystickID id = SDL_JoystickInstanceID(device_);
  SDL_JoystickClose(device_);
  device_ = nullptr;
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
}

void FileJoystick::Poll() {
  std::ifstream in(file_);
  std::string first;
  if (in >> first) {
    if (first == "unplugged") {
      Detach();
    } else {
      Attach();
      std::istringstream rest(first);
      int v = 0;
      for (int k = 0; k < kJoystickAxes && device_; ++k) {
        if (k > 0 && !(in >> v)) break;
        if (k == 0 && !(rest >> v)) break;
        SDL_JoystickSetVirtualAxis(device_, k, static_cast<Sint16>(std::clamp(v, -32768, 32767)));
      }
    }
  }
  SdlJoystickService::Poll();
}

}  // namespace veltrane::platform
