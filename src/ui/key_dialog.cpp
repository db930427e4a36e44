#include "ui/key_dialog.h"

#include "radio/key_names.h"

namespace veltrane::ui {

void KeyDialog::FormActivate() {
  keys_.PendingSlot = -1;
  keys_.EditKeyCode = keys_.KeyCode;
  timer_.SetTimerEnabled(false);
  timerRunning_ = true;
}

void KeyDialog::FormDeactivate() {
  timerRunning_ = false;
  timer_.SetTimerEnabled(true);
}

void KeyDialog::SlotClick(int slot) {
  if (slot < 0 || slot >= kKeySlots) return;
  keys_.PendingSlot = slot;
}

void KeyDialog::TimerTick() {
  if (keys_.PendingSlot < 0) return;
  int highest = -1;
  for (int vk = 255; vk >= 0; --vk) {
    if (keyState_.IsKeyDown(vk)) {
      highest = vk;
      break;
    }
  }
  // Mouse buttons and the codes below the backspace key do not count.
  if (highest <= 7) return;
  keys_.EditKeyCode[static_cast<std::size_t>(keys_.PendingSlot)] =
      static_cast<std::uint16_t>(highest);
  keys_.PendingSlot = -1;
}

void KeyDialog::GroupExit() {
  TimerTick();
  keys_.PendingSlot = -1;
}

std::string KeyDialog::Label(int slot) const {
  if (slot == keys_.PendingSlot) return kWaiting;
  return KeyName(keys_.EditKeyCode[static_cast<std::size_t>(slot)]);
}

}  // namespace veltrane::ui
