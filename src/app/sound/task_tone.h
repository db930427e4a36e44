#pragma once

#include <memory>

#include "app/sound/sound_device.h"

namespace veltrane::sound {

// The tasks' beeps on the generated tone: one short beep for each counted
// moment. Without a device, or one that cannot make a tone, it is silent.
class TaskTone {
 public:
  static constexpr double kLength = 0.2;      // s
  static constexpr double kBaseHz = 1320.0;   // a base crossing, a pass
  static constexpr double kStartHz = 1760.0;  // the start, the finish

  explicit TaskTone(SoundDevice* device) : device_(device) {}

  // Starts a beep (a sounding one starts again); volume is the dialog's 0..100.
  void Beep(double hz, int volume);
  // dt seconds of flight went by: a beep that has sounded its length stops.
  void Update(double dt);
  // The flight stands still: the beep stops at once.
  void Hold();
  void Finalize() { tone_.reset(); }
  bool Sounding() const { return left_ > 0.0; }

 private:
  SoundDevice* device_;
  std::unique_ptr<SoundStream> tone_;
  bool triedOpen_ = false;
  double left_ = 0.0;
};

}  // namespace veltrane::sound
