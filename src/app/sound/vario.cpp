#include "app/sound/vario.h"

#include <algorithm>
#include <cmath>

namespace veltrane::sound {

namespace {
constexpr double kGravity = 9.81;
constexpr int kSilent = -10000;
constexpr double kStrongestLift = 6.0;     // m/s: pitch and rhythm stop rising here
constexpr double kSinkToneQuieter = -600;  // hundredths of a dB against the lift tone
}  // namespace

VarioTone VarioToneAt(double climb) {
  VarioTone t;
  if (climb >= kVarioLiftThreshold) {
    const double c = std::min(climb, kStrongestLift);
    t.audible = true;
    t.frequencyHz = 550.0 + 130.0 * c;
    t.periodS = 0.6 / (1.0 + 0.5 * c);
    t.duty = 0.5;
  } else if (climb <= kVarioSinkAlarm) {
    t.audible = true;
    t.frequencyHz = std::max(200.0, 350.0 + 30.0 * climb);
  }
  return t;
}

int VarioVolumeOf(const VarioTone& tone, int varioVolume) {
  if (!tone.audible || varioVolume <= 0) return kSilent;
  const double v = 2000.0 * std::log10(std::min(varioVolume, 100) / 100.0);
  const double sink = tone.periodS == 0.0 ? kSinkToneQuieter : 0.0;
  return std::clamp(static_cast<int>(std::lround(v + sink)), kSilent, 0);
}

double TotalEnergyVario::EnergyHeight(double height, double airspeed) {
  return height + airspeed * airspeed / (2.0 * kGravity);
}

double TotalEnergyVario::Update(double height, double airspeed, double dt) {
  const double energy = EnergyHeight(height, airspeed);
  if (!std::isfinite(energy)) return climb_;
  const bool jumped = primed_ && dt > 0.0 && std::fabs(height - height_) / dt > kJump;
  if (!primed_ || jumped) {
    primed_ = true;
    energy_ = energy;
    height_ = height;
    climb_ = 0.0;
    return climb_;
  }
  if (!(dt > 0.0)) return climb_;
  const double raw = std::clamp((energy - energy_) / dt, -kRawLimit, kRawLimit);
  energy_ = energy;
  height_ = height;
  climb_ += (raw - climb_) * (1.0 - std::exp(-dt / kTimeConstant));
  return climb_;
}

void TotalEnergyVario::Reset() {
  primed_ = false;
  climb_ = 0.0;
}

bool VarioBeeper::Advance(const VarioTone& tone, double dt) {
  if (!tone.audible) {
    wasAudible_ = false;
    return false;
  }
  if (!wasAudible_) phase_ = 0.0;  // a new beep starts at once
  wasAudible_ = true;
  if (tone.periodS <= 0.0) return true;
  const bool on = phase_ < tone.duty;
  phase_ += std::max(dt, 0.0) / tone.periodS;
  phase_ -= std::floor(phase_);
  return on;
}

bool VarioWanted(VarioChoice choice, const SimState& s) {
  if (choice != VarioChoice::Automatic) return choice == VarioChoice::On;
  return s.iModelStyle == 0 && s.Airplane.MaxThrust == 0.0;
}

void VarioSound::Update(const SimState& s, bool on, int varioVolume) {
  if (!device_) return;
  if (!on || s.Crashed) {
    te_.Reset();
    Hold();
    return;
  }
  if (!tone_ && !triedOpen_) {
    triedOpen_ = true;
    tone_ = device_->OpenTone();
  }
  const double climb = te_.Update(s.ModelPosition.z, s.Airspeed, s.TimeStep);
  if (!tone_) return;
  const VarioTone tone = VarioToneAt(climb);
  if (!beeper_.Advance(tone, s.TimeStep)) {
    Hold();
    return;
  }
  tone_->SetFrequency(static_cast<int>(std::lround(tone.frequencyHz * kToneSamplesPerCycle)));
  tone_->SetVolume(VarioVolumeOf(tone, varioVolume));
  if (!tone_->Playing()) tone_->Play();
}

void VarioSound::Hold() {
  if (tone_ && tone_->Playing()) tone_->Stop();
}

}  // namespace veltrane::sound
