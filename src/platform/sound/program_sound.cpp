#include "platform/sound/program_sound.h"

#include "platform/sound/system_logs.h"

namespace veltrane::sound {

namespace {
std::unique_ptr<OpenAlDevice> OpenOutput(std::unique_ptr<OpenAlDevice> given, bool tryDefault,
                                         const Trace& trace) {
  if (given || !tryDefault) return given;
  return ProgramSound::OpenDefaultOutput(trace);
}
}  // namespace

std::unique_ptr<OpenAlDevice> ProgramSound::OpenDefaultOutput(const Trace& trace) {
  RouteSystemSoundLogs(trace);
  // The main window traces a missing device where its creation reaches the sound.
  return OpenAlDevice::OpenDefault(nullptr);
}

ProgramSound::ProgramSound(const Trace& trace, std::unique_ptr<OpenAlDevice> device,
                           bool tryDefault)
    : device_(OpenOutput(std::move(device), tryDefault, trace)),
      engine_(device_.get(), trace),
      vario_(device_.get()),
      taskTone_(device_.get()) {}

void ProgramSound::UpdateSound(const SimState& state, bool crashStarted) {
  engine_.UpdateSound(state, crashStarted);
  vario_.Update(state, engine_.SoundEin && VarioWanted(VarioChoice(), state), VarioVolume());
  taskTone_.Update(state.TimeStep);
}

void ProgramSound::TaskBeep(bool start) {
  taskTone_.Beep(start ? TaskTone::kStartHz : TaskTone::kBaseHz,
                 engine_.SoundEin ? engine_.SoundVolume : 0);
}

void ProgramSound::Finalize() {
  vario_.Finalize();
  taskTone_.Finalize();
  engine_.DXSoundFinalize();
}

}  // namespace veltrane::sound
