#pragma once

#include <memory>

#include "app/sound/sound_device.h"
#include "sim/sim_state.h"

namespace veltrane::sound {

// What the vario sounds like at one climb rate. Lift beeps, higher and faster
// the stronger it is; ordinary sink is silent, so a glider in its normal glide
// is quiet; strong sink gives a low continuous tone.
struct VarioTone {
  bool audible = false;
  double frequencyHz = 0.0;
  double periodS = 0.0;  // one beep and its pause; 0 for a continuous tone
  double duty = 1.0;     // the part of the period the tone sounds
};

constexpr double kVarioLiftThreshold = 0.2;  // m/s: weaker lift is not worth a beep
constexpr double kVarioSinkAlarm = -2.5;     // m/s: below this the sink tone sounds

VarioTone VarioToneAt(double climb);
// Hundredths of a decibel for the tone at the dialog's vario volume (0..100);
// silent for an inaudible tone or volume 0. The sink tone is quieter than lift.
int VarioVolumeOf(const VarioTone& tone, int varioVolume);

// Total-energy climb rate: the rate of change of the energy height h + V²/2g,
// with V the speed through the air, as a compensated variometer reads it. A
// pull-up trades speed for height at constant energy, so it reads as the
// glider's sink, not as lift. Smoothed by a first-order lag like the
// instrument's own.
class TotalEnergyVario {
 public:
  static constexpr double kTimeConstant = 0.4;  // s
  // A height change faster than this is the flight being reset, not flight:
  // the vario starts afresh.
  static constexpr double kJump = 150.0;  // m/s
  // A sharp gust changes the airspeed, and so the energy, within a frame; the
  // instrument's reading of it is bounded like a real one's.
  static constexpr double kRawLimit = 30.0;  // m/s

  static double EnergyHeight(double height, double airspeed);
  // The state after a frame of dt seconds; returns the smoothed climb rate.
  // Pass airspeed 0 for an uncompensated vario.
  double Update(double height, double airspeed, double dt);
  void Reset();
  double Climb() const { return climb_; }

 private:
  bool primed_ = false;
  double energy_ = 0.0;
  double height_ = 0.0;
  double climb_ = 0.0;
};

// Switches the tone on and off in the beep rhythm, frame by frame.
class VarioBeeper {
 public:
  // Advances by dt seconds; true while the tone sounds.
  bool Advance(const VarioTone& tone, double dt);

 private:
  double phase_ = 0.0;  // fraction of the beep period
  bool wasAudible_ = false;
};

// Whether the vario is switched on: the user's explicit choice from the menu,
// or, until there is one, on for models without an engine (gliders).
enum class VarioChoice { Automatic = -1, Off = 0, On = 1 };
bool VarioWanted(VarioChoice choice, const SimState& s);

// The vario of the main window on a generated tone. Without a device, or a
// device that cannot make a tone, it does nothing.
class VarioSound {
 public:
  explicit VarioSound(SoundDevice* device) : device_(device) {}

  // Once per flight frame (s.TimeStep seconds since the last one).
  void Update(const SimState& s, bool on, int varioVolume);
  // A frame in which the flight stands still: the tone stops at once.
  void Hold();
  void Finalize() { tone_.reset(); }

  double Climb() const { return te_.Climb(); }
  const SoundStream* Stream() const { return tone_.get(); }

 private:
  SoundDevice* device_;
  std::unique_ptr<SoundStream> tone_;
  bool triedOpen_ = false;
  TotalEnergyVario te_;
  VarioBeeper beeper_;
};

}  // namespace veltrane::sound
