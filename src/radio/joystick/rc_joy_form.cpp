#include "radio/joystick/rc_joy_form.h"

#include <algorithm>

namespace veltrane {

void TRcJoyForm::GetChannels(TRcChannels& channels) {
  channels = TRcChannels{};
  joysticks_.Poll();
  for (int device = 0; device < 2; ++device) {
    JoystickState s;
    if (!joysticks_.Query(device, s)) continue;
    // Six values are written whatever the axis count; the count says which are real.
    for (int k = 0; k < kJoystickAxes; ++k)
      channels.Value[channels.Count + k] = s.connected ? -s.pos[k] : 0.0;
    channels.Count += std::clamp(s.axes, 0, kJoystickAxes);
  }
}

bool TRcJoyForm::AxisOf(std::int32_t channel, JoystickState& state, int& axis) {
  joysticks_.Poll();  // the devices as they are now, not as at the last frame
  bool found = false;
  int a1 = 0;
  JoystickState s;
  if (joysticks_.Query(0, s)) {
    a1 = std::clamp(s.axes, 0, kJoystickAxes);
    if (channel >= 0 && channel < kJoystickAxes) {
      state = s;
      axis = channel;
      found = true;
    }
  }
  JoystickState s2;
  if (joysticks_.Query(1, s2) && channel - a1 >= 0 && channel - a1 < kJoystickAxes) {
    state = s2;
    axis = channel - a1;
    found = true;
  }
  return found;
}

double TRcJoyForm::GetInitCalibCentre(std::int32_t channel) {
  JoystickState s;
  int axis = 0;
  if (!AxisOf(channel, s, axis)) return 0.0;
  return -(static_cast<double>(s.min[axis]) + s.max[axis]) / 2.0;
}

double TRcJoyForm::GetInitCalibF(std::int32_t channel) {
  JoystickState s;
  int axis = 0;
  if (!AxisOf(channel, s, axis)) return 0.0;
  const double r = static_cast<double>(s.max[axis]) - s.min[axis];
  return r == 0.0 ? 0.0 : 2.0 / r;
}

}  // namespace veltrane
