#include "platform/joystick/sdl_joystick_service.h"

#include <SDL.h>

#include <algorithm>

namespace veltrane::platform {

SdlJoystickService::SdlJoystickService() {
  // A transmitter keeps steering while a dialog or another window has the focus.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  ready_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  if (ready_) Follow();
}

SdlJoystickService::~SdlJoystickService() {
  if (!ready_) return;
  for (SDL_Joystick*& j : open_)
    if (j) SDL_JoystickClose(j);
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

// Device indexes shift when one is pulled out: slot d always holds index d.
void SdlJoystickService::Follow() {
  const int n = SDL_NumJoysticks();
  for (int d = 0; d < 2; ++d) {
    SDL_Joystick*& j = open_[static_cast<std::size_t>(d)];
    if (j && (!SDL_JoystickGetAttached(j) || d >= n ||
              SDL_JoystickInstanceID(j) != SDL_JoystickGetDeviceInstanceID(d))) {
      SDL_JoystickClose(j);
      j = nullptr;
    }
    if (!j && d < n) j = SDL_JoystickOpen(d);  // SDL counts references: opening one twice is fine
  }
}

void SdlJoystickService::Poll() {
  if (!ready_) return;
  SDL_JoystickUpdate();  // fresh positions, and detection of devices that came or went
  Follow();
}

bool SdlJoystickService::Query(int device, JoystickState& state) {
  if (!ready_ || device < 0 || device > 1) return false;
  SDL_Joystick* j = open_[static_cast<std::size_t>(device)];
  if (!j || !SDL_JoystickGetAttached(j)) return false;
  state = JoystickState{};
  const char* name = SDL_JoystickName(j);
  state.productName = name ? name : "";
  state.axes = std::clamp(SDL_JoystickNumAxes(j), 0, kJoystickAxes);
  for (int k = 0; k < state.axes; ++k) {
    state.min[static_cast<std::size_t>(k)] = SDL_JOYSTICK_AXIS_MIN;
    state.max[static_cast<std::size_t>(k)] = SDL_JOYSTICK_AXIS_MAX;
    state.pos[static_cast<std::size_t>(k)] = SDL_JoystickGetAxis(j, k);
  }
  return true;
}

}  // namespace veltrane::platform
