#pragma once

namespace veltrane::ui {

// The main window's frame timer, which several dialogs stop while they are active.
class FrameTimer {
 public:
  virtual ~FrameTimer() = default;
  virtual void SetTimerEnabled(bool enabled) = 0;
};

}  // namespace veltrane::ui
