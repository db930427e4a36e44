#include "ui/thermal_dialog.h"

#include <algorithm>
#include <cmath>

namespace veltrane::ui {

namespace {
constexpr const char* kSection = "ThermalForm";
}

void TThermalForm::ReadSettings(const SettingsStore& store, ThermalTable& table) {
  // Out-of-range stored values are pulled into the ranges the table can hold.
  table.BubbleZ = std::clamp(store.ReadFloat(kSection, "BubbleZ", table.BubbleZ), 0.0, 6.0);
  table.iBubbles =
      std::clamp(store.ReadInteger(kSection, "iBubbles", table.iBubbles), 0, kMaxThermals);
}

void TThermalForm::WriteSettings(SettingsStore& store, const ThermalTable& table) {
  store.WriteFloat(kSection, "BubbleZ", table.BubbleZ);
  store.WriteInteger(kSection, "iBubbles", table.iBubbles);
}

void TThermalForm::SetStrength(int v) { strength = std::clamp(v, 0, kMaxStrength); }
void TThermalForm::SetCount(int v) { count = std::clamp(v, 0, kMaxCount); }

void TThermalForm::FormActivate(const ThermalTable& table) {
  timer_.SetTimerEnabled(false);
  SetStrength(static_cast<int>(std::trunc(table.BubbleZ * 10.0)));
  SetCount(table.iBubbles);
}

void TThermalForm::Button1Click(ThermalTable& table) const {
  table.BubbleZ = strength / 10.0;
  table.iBubbles = count;
  if (rescatter_) rescatter_();
}

}  // namespace veltrane::ui
