#include "ui/joy_dialog.h"

namespace veltrane::ui {

void JoyDialog::FormActivate() {
  timerRunning_ = true;
  TimerTick();
}

void JoyDialog::TimerTick() {
  joysticks_.Poll();
  for (int d = 0; d < 2; ++d) {
    Group& g = groups_[static_cast<std::size_t>(d)];
    JoystickState s;
    g.present = joysticks_.Query(d, s);
    if (!g.present) continue;
    g.productName = s.productName;
    g.axesText = std::to_string(s.axes);
    g.status = s.connected ? Ready : NotConnected;
    // The bars show the channel values: the range and position negated.
    for (int k = 0; k < kJoystickAxes; ++k) {
      const auto i = static_cast<std::size_t>(k);
      g.bars[i] = {-s.max[i], -s.min[i], -s.pos[i]};
    }
  }
}

}  // namespace veltrane::ui
