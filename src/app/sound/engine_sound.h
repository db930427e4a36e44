#pragma once

#include <memory>
#include <string>

#include "app/sound/sound_device.h"
#include "base/trace/trace.h"
#include "sim/sim_state.h"

namespace veltrane::sound {

// Engine and crash sound of the main window: the engine's pitch follows
// throttle, airspeed and the Doppler shift towards the pilot; its loudness
// falls with distance. Without a device everything here is a no-op.
class EngineSound {
 public:
  // device may be null: then SoundAvailable is false.
  EngineSound(SoundDevice* device, const Trace& trace);

  bool SoundAvailable() const { return device_ != nullptr; }
  bool SoundEin = true;  // sound switched on by the user
  int SoundVolume = 70;  // master volume 0..100

  // At start-up: "crash.wav" from the program folder, not looping.
  void LoadCrashSound(const std::string& exePath);
  // Replaces the engine sound; a file that does not exist leaves the model silent.
  void LoadSound(const std::string& fileName, const SimState& s);
  // Once per unpaused frame; crashStarted is true on the first crashed frame.
  void UpdateSound(const SimState& s, bool crashStarted);
  // The sound dialog's Ok.
  void ApplySettings(bool on, int volume, const SimState& s);
  // Frees both sounds (the device's finalisation).
  void DXSoundFinalize();

  const SoundStream* Engine() const { return engine_.get(); }
  const SoundStream* Crash() const { return crash_.get(); }

  // The formulas, for tests and the sound dialog.
  static int VolumeAt(double distance, int soundVolume);
  static int EngineFrequency(const SimState& s);

 private:
  SoundDevice* device_;
  Trace trace_;
  std::unique_ptr<SoundStream> engine_;
  std::unique_ptr<SoundStream> crash_;
};

}  // namespace veltrane::sound
