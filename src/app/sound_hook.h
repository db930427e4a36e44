#pragma once

#include <string>

#include "app/sound/vario.h"
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
  // A frame in which the flight stands still (paused, a dialog open, a replay):
  // the vario's tone stops instead of hanging on.
  virtual void HoldFlight() {}
  // A flying task's counted moment: a short beep, higher for the start.
  virtual void TaskBeep(bool /*start*/) {}
  virtual void Finalize() {}
  // The persisted switches of the sound dialog.
  virtual bool SoundEin() const { return soundEin_; }
  virtual void SetSoundEin(bool on) { soundEin_ = on; }
  virtual int SoundVolume() const { return soundVolume_; }
  virtual void SetSoundVolume(int volume) { soundVolume_ = volume; }
  // The vario: automatic (on for models without an engine) until the user sets
  // it in the menu, then the user's choice for every model; its own volume.
  sound::VarioChoice VarioChoice() const { return varioChoice_; }
  void SetVarioChoice(sound::VarioChoice choice) { varioChoice_ = choice; }
  int VarioVolume() const { return varioVolume_; }
  void SetVarioVolume(int volume) { varioVolume_ = volume; }

 private:
  bool soundEin_ = true;
  int soundVolume_ = 70;
  sound::VarioChoice varioChoice_ = sound::VarioChoice::Automatic;
  int varioVolume_ = 70;
};

}  // namespace veltrane
