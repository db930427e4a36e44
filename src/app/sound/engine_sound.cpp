#include "app/sound/engine_sound.h"

#include <cmath>
#include <filesystem>

#include "sim/math_u.h"

namespace veltrane::sound {

namespace {
constexpr double kSpeedOfSound = 340.0;
constexpr int kSilent = -10000;
constexpr int kAudibleFrequency = 2000;

bool Exists(const std::string& f) {
  std::error_code ec;
  return !f.empty() && std::filesystem::is_regular_file(f, ec);
}

// Speed of the model towards the pilot; 0 when it stands exactly at the pilot.
double ApproachSpeed(const SimState& s) {
  const Vec3 d = s.ModelPosition - s.PilotPosition;
  const double r = VecLength(d);
  if (r == 0.0) return 0.0;
  return -VecDot(d, s.ModelVelocity) / r;
}
}  // namespace

EngineSound::EngineSound(SoundDevice* device, const Trace& trace)
    : device_(device), trace_(trace) {}

int EngineSound::VolumeAt(double distance, int soundVolume) {
  return static_cast<int>(
      std::trunc((4000.0 - 8.0 * distance) * (soundVolume * 0.6 / 100.0 + 0.4) - 4000.0));
}

int EngineSound::EngineFrequency(const SimState& s) {
  const double doppler = ApproachSpeed(s) / kSpeedOfSound + 1.0;
  double factor = 0.0;
  if (s.iModelStyle == 0) {
    factor = ((s.FunctionValue[fn::kThrottle] + 1.0) * 0.4 + 0.01 * s.Airspeed) * doppler;
  } else {
    factor = (0.01 * s.Airspeed + 1.0) * doppler;
  }
  return static_cast<int>(std::trunc(factor * 20000.0));
}

void EngineSound::LoadCrashSound(const std::string& exePath) {
  if (!device_) return;
  const std::string file = exePath + "crash.wav";
  if (!Exists(file)) return;
  trace_("TMainForm.FormCreate Loading CrashSound\r\n");
  crash_ = device_->Open(file, false);
  if (crash_)
    device_->SetPrimaryFormat(crash_->SampleRate(), crash_->BitsPerSample(), crash_->Channels());
}

void EngineSound::LoadSound(const std::string& fileName, const SimState& s) {
  if (!device_) return;
  if (engine_) {
    engine_->Stop();
    engine_.reset();
  }
  if (!Exists(fileName)) return;
  trace_("TMainForm.LoadSound File: " + fileName + "\r\n");
  engine_ = device_->Open(fileName, true);
  if (!engine_) return;
  device_->SetPrimaryFormat(44100, engine_->BitsPerSample(), 2);
  if (SoundEin) {
    UpdateSound(s, false);
    engine_->Play();
  }
}

void EngineSound::UpdateSound(const SimState& s, bool crashStarted) {
  if (!device_ || !SoundEin) return;
  const double r = VecLength(s.ModelPosition - s.PilotPosition);
  const int volume = VolumeAt(r, SoundVolume);
  if (engine_ && (s.iModelStyle == 0 || s.iModelStyle == 1)) {
    const int frequency = EngineFrequency(s);
    engine_->SetFrequency(frequency);
    bool silent = frequency < kAudibleFrequency || s.Crashed;
    if (s.iModelStyle == 0 && s.Airplane.MaxThrust == 0.0) silent = true;  // a glider has no engine
    engine_->SetVolume(silent ? kSilent : volume);
  }
  if (crash_ && crashStarted) {
    crash_->SetVolume(volume);
    crash_->Rewind();
    crash_->Play();
  }
}

void EngineSound::ApplySettings(bool on, int volume, const SimState& s) {
  SoundEin = on;
  SoundVolume = volume;
  if (!engine_) return;
  if (SoundEin) {
    UpdateSound(s, false);
    engine_->Play();
  } else {
    engine_->Stop();
  }
}

void EngineSound::DXSoundFinalize() {
  if (!device_) return;
  trace_("TMainForm.DXSoundFinalize\r\n");
  engine_.reset();
  crash_.reset();
}

}  // namespace veltrane::sound
