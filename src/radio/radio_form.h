#pragma once

#include <array>
#include <cstdint>

#include "radio/rc_int_form.h"

namespace veltrane {

class SettingsStore;

constexpr int kInterfaceCount = 5;

// The choice of the transmitter interface: all five by list position (0 none,
// 1 joystick, 2 kernel driver, 3 16-bit library, 4 serial board) and which one
// is in use. The interface objects belong to the caller.
class TRadioForm {
 public:
  explicit TRadioForm(const std::array<TRcIntForm*, kInterfaceCount>& interfaces);

  // "RadioForm"/"InterfaceIndex" (outside 0..4: 0), then the active one is opened.
  void Create(const SettingsStore& settings);
  void Destroy(SettingsStore& settings) const;

  TRcIntForm& Active() const { return *Interfaces[static_cast<std::size_t>(ActiveIndex)]; }
  TRcIntForm& Selected() const { return *Interfaces[static_cast<std::size_t>(SelectedIndex)]; }

  // The per-frame copy from the active interface into FunctionValue.
  void UpdateFunctionValues(FunctionValues& functionValue) const;

  std::array<TRcIntForm*, kInterfaceCount> Interfaces{};
  std::int32_t ActiveIndex = 0;
  std::int32_t SelectedIndex = 0;
};

}  // namespace veltrane
