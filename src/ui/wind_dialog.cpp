#include "ui/wind_dialog.h"

#include <algorithm>
#include <cmath>

namespace veltrane::ui {

namespace {

constexpr const char* kSection = "WindForm";

double WrapDegrees(double degrees) {
  if (!std::isfinite(degrees)) return 0.0;
  double d = std::fmod(degrees, 360.0);
  if (d < 0.0) d += 360.0;
  return d >= 359.5 ? 0.0 : d;  // shown as whole degrees: 359.7 would read "360"
}

}  // namespace

void TWindForm::ReadSettings(const SettingsStore& store, AirModel& air) {
  WindSettings w = air.Settings();
  w.speed = store.ReadFloat(kSection, "fWindSpeed", w.speed);
  w.fromDegrees = WrapDegrees(store.ReadFloat(kSection, "fWindDirection", w.fromDegrees));
  w.gusts = store.ReadInteger(kSection, "iGusts", w.gusts);
  w.turbulence = store.ReadInteger(kSection, "iTurbulence", w.turbulence);
  // The seed is an unsigned 32-bit number; the store reads signed ints, so the
  // upper half wraps through the sign as it was written.
  w.turbulenceSeed = static_cast<std::uint32_t>(
      store.ReadInteger(kSection, "iTurbulenceSeed", static_cast<int>(w.turbulenceSeed)));
  air.SetWind(w.Clamped());
}

void TWindForm::WriteSettings(SettingsStore& store, const WindSettings& wind) {
  store.WriteFloat(kSection, "fWindSpeed", wind.speed);
  store.WriteFloat(kSection, "fWindDirection", wind.fromDegrees);
  store.WriteInteger(kSection, "iGusts", wind.gusts);
  store.WriteInteger(kSection, "iTurbulence", wind.turbulence);
  store.WriteInteger(kSection, "iTurbulenceSeed", static_cast<int>(wind.turbulenceSeed));
}

void TWindForm::SetSpeed(double v) {
  speed = std::isfinite(v) ? std::clamp(v, 0.0, kMaxSpeed) : 0.0;
}
void TWindForm::SetDirection(double degrees) { direction = WrapDegrees(degrees); }
void TWindForm::SetGusts(int v) { gusts = std::clamp(v, 0, kMaxPercent); }
void TWindForm::SetTurbulence(int v) { turbulence = std::clamp(v, 0, kMaxPercent); }

void TWindForm::FormActivate(const WindSettings& wind) {
  timer_.SetTimerEnabled(false);
  SetSpeed(wind.speed);
  SetDirection(wind.fromDegrees);
  SetGusts(wind.gusts);
  SetTurbulence(wind.turbulence);
  seed_ = wind.turbulenceSeed;
}

void TWindForm::Button1Click(AirModel& air) const {
  WindSettings w;
  w.speed = speed;
  w.fromDegrees = direction;
  w.gusts = gusts;
  w.turbulence = turbulence;
  w.turbulenceSeed = seed_;
  air.SetWind(w.Clamped());
  if (applied_) applied_();
}

}  // namespace veltrane::ui
