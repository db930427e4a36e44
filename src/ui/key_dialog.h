#pragma once

#include <string>

#include "radio/key_form.h"
#include "radio/key_state.h"
#include "ui/frame_timer.h"

namespace veltrane::ui {

// "Tastatur": twenty slot buttons; clicking one waits for a key, and the
// dialog's timer takes the highest virtual-key code that is down.
class KeyDialog {
 public:
  static constexpr const char* kWaiting = "_________";

  KeyDialog(TKeyForm& keys, FrameTimer& timer, const KeyState& keyState)
      : keys_(keys), timer_(timer), keyState_(keyState) {}

  void FormActivate();
  void FormDeactivate();
  void SlotClick(int slot);
  // One tick of the dialog's timer: records a key for the waiting slot.
  void TimerTick();
  // The "Tastenbelegung" group lost the focus: a slot still waiting is abandoned.
  void GroupExit();
  void Ok() { keys_.KeyCode = keys_.EditKeyCode; }
  void Cancel() {}

  // What the label beside a slot shows.
  std::string Label(int slot) const;
  bool TimerRunning() const { return timerRunning_; }
  bool Waiting() const { return keys_.PendingSlot >= 0; }

 private:
  TKeyForm& keys_;
  FrameTimer& timer_;
  const KeyState& keyState_;
  bool timerRunning_ = false;
};

}  // namespace veltrane::ui
