#pragma once

#include <string>

#include "sim/sim_state.h"

namespace veltrane {

// What the main window asks of the engine and crash sound. The default does
// nothing, so the program runs silently until a sound layer is plugged in.
class SoundHook {
 public:
  virtual ~SoundHook() = default;
  // Whether the sound device could be opened (false hides the sound menu).
  virtual bool Available() const { return false; }
  // "crash.wav" from the data folder, at start-up.
  virtual void LoadCrashSound(const std::string& /*exePath*/) {}
  // Replaces the engine sound; a missing file keeps silence.
  virtual void LoadSound(const std::string& /*file*/, const SimState& /*state*/) {}
  // Once per unpaused frame; crashStarted on the frame the model crashed.
  virtual void UpdateSound(const SimState& /*state*/, bool /*crashStarted*/) {}
  virtual void Finalize() {}
  // The persisted switches of the sound dialog.
  virtual bool SoundEin() const { return soundEin_; }
  virtual void SetSoundEin(bool on) { soundEin_ = on; }
  virtual int SoundVolume() const { return soundVolume_; }
  virtual void SetSoundVolume(int volume) { soundVolume_ = volume; }

 private:
  bool soundEin_ = true;
  int soundVolume_ = 70;
};

}  // namespace veltrane
