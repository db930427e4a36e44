#pragma once

#include <cstdint>
#include <functional>

#include "base/settings/settings_store.h"
#include "sim/air/air.h"
#include "ui/frame_timer.h"

namespace veltrane::ui {

// "Wind": speed at 10 m (0..20 m/s), the direction it blows from (0..359°,
// 0 = from +y), gusts and turbulence (0..100 %). Ok sets the air at once.
class TWindForm {
 public:
  static constexpr double kMaxSpeed = WindSettings::kMaxSpeed;
  static constexpr double kMaxDirection = 359.0;
  static constexpr int kMaxPercent = 100;

  // applied runs after Ok has set the new wind (the flight's recording notes it).
  TWindForm(FrameTimer& timer, std::function<void()> applied)
      : timer_(timer), applied_(std::move(applied)) {}

  // Section "WindForm": speed and direction as locale text, the rest as integers.
  // Missing or unreadable values keep the air's settings, stored ones are clamped.
  static void ReadSettings(const SettingsStore& store, AirModel& air);
  static void WriteSettings(SettingsStore& store, const WindSettings& wind);

  void FormActivate(const WindSettings& wind);
  void FormDeactivate() { timer_.SetTimerEnabled(true); }
  void Button1Click(AirModel& air) const;
  void SetSpeed(double v);
  // Any angle, turned into 0..360; what rounds to 360 is 0.
  void SetDirection(double degrees);
  void SetGusts(int v);
  void SetTurbulence(int v);

  double speed = 0.0;
  double direction = 0.0;
  int gusts = 0;
  int turbulence = 0;

 private:
  FrameTimer& timer_;
  std::function<void()> applied_;
  std::uint32_t seed_ = 1;  // not in the dialog: kept as the air has it
};

}  // namespace veltrane::ui
