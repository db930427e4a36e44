#pragma once

#include <memory>
#include <string>

#include "app/sound/engine_sound.h"
#include "app/sound/task_tone.h"
#include "app/sound/vario.h"
#include "app/sound_hook.h"
#include "platform/sound/openal_device.h"

namespace veltrane::sound {

// The main window's sound on the system's audio output. When no output opens,
// Available() is false and everything stays silent; the program runs on. The
// vario sounds only while the sound is switched on.
class ProgramSound final : public SoundHook {
 public:
  // Opens the default output (or a given device, for tests).
  explicit ProgramSound(const Trace& trace, std::unique_ptr<OpenAlDevice> device = nullptr,
                        bool tryDefault = true);
  // The system's default output, or none; its logs go to the trace. Opening it
  // can take a while (a sound server may be asked), so the program does it on a
  // worker while its window opens and hands the result to the constructor.
  static std::unique_ptr<OpenAlDevice> OpenDefaultOutput(const Trace& trace);

  bool Available() const override { return engine_.SoundAvailable(); }
  void LoadCrashSound(const std::string& exePath) override { engine_.LoadCrashSound(exePath); }
  void LoadSound(const std::string& file, const SimState& state) override {
    engine_.LoadSound(file, state);
  }
  void UpdateSound(const SimState& state, bool crashStarted) override;
  void HoldFlight() override {
    vario_.Hold();
    taskTone_.Hold();
  }
  void TaskBeep(bool start) override;
  void Finalize() override;
  bool SoundEin() const override { return engine_.SoundEin; }
  void SetSoundEin(bool on) override { engine_.SoundEin = on; }
  int SoundVolume() const override { return engine_.SoundVolume; }
  void SetSoundVolume(int volume) override { engine_.SoundVolume = volume; }
  // The sound dialog's Ok: starts or stops the engine at once.
  void Apply(bool on, int volume, const SimState& state) {
    engine_.ApplySettings(on, volume, state);
  }

  EngineSound& Engine() { return engine_; }
  const VarioSound& Vario() const { return vario_; }

 private:
  std::unique_ptr<OpenAlDevice> device_;
  EngineSound engine_;
  VarioSound vario_;
  TaskTone taskTone_;
};

}  // namespace veltrane::sound
