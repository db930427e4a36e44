#pragma once

#include <array>
#include <string>

#include "radio/joystick/joystick_service.h"

namespace veltrane::ui {

// "Joystick": both devices live, refreshed by the dialog's timer.
class JoyDialog {
 public:
  static constexpr int kTimerMs = 10;

  struct Bar {
    int min = 0;
    int max = 0;
    int position = 0;
  };
  struct Group {
    bool present = false;  // false: the group shows "Nicht vorhanden"
    std::string productName;
    std::string axesText;  // "Anzahl Achsen:" value
    std::string status;    // "Betriebsbereit" or "Nicht verbunden"
    std::array<Bar, kJoystickAxes> bars{};
  };

  explicit JoyDialog(JoystickService& joysticks) : joysticks_(joysticks) {}

  void FormActivate();  // one update at once, then the timer runs
  void FormDeactivate() { timerRunning_ = false; }
  void TimerTick();
  bool TimerRunning() const { return timerRunning_; }

  const Group& Joystick(int device) const { return groups_[static_cast<std::size_t>(device)]; }

  // Localised messages "sRcJoyForm000" and "sRcJoyForm002".
  std::string Ready = "Betriebsbereit";
  std::string NotConnected = "Nicht verbunden";

 private:
  JoystickService& joysticks_;
  bool timerRunning_ = false;
  std::array<Group, 2> groups_{};
};

}  // namespace veltrane::ui
