#pragma once

#include <functional>

#include "base/settings/settings_store.h"
#include "sim/sim_state.h"
#include "ui/frame_timer.h"

namespace veltrane::ui {

// "Thermik": strength ("Aufwind", tenths of m/s, 0..60) and count ("Ablösungen",
// 0..160) of the thermals. Ok re-scatters them around the model.
class TThermalForm {
 public:
  static constexpr int kMaxStrength = 60;
  static constexpr int kMaxCount = 160;

  // rescatter runs after Ok with the new settings (RandomizeThermal at the model).
  TThermalForm(FrameTimer& timer, std::function<void()> rescatter)
      : timer_(timer), rescatter_(std::move(rescatter)) {}

  // Section "ThermalForm": "BubbleZ" as locale text, "iBubbles" as integer.
  static void ReadSettings(const SettingsStore& store, ThermalTable& table);
  static void WriteSettings(SettingsStore& store, const ThermalTable& table);

  void FormActivate(const ThermalTable& table);
  void FormDeactivate() { timer_.SetTimerEnabled(true); }
  void Button1Click(ThermalTable& table) const;
  void SetStrength(int v);
  void SetCount(int v);

  int strength = 20;
  int count = 40;

 private:
  FrameTimer& timer_;
  std::function<void()> rescatter_;
};

}  // namespace veltrane::ui
