#pragma once

#include <array>
#include <cstdint>

#include "radio/key_state.h"
#include "radio/rc_int_form.h"

namespace veltrane {

class SettingsStore;

constexpr int kKeySlots = 20;

// What a key slot does to FunctionValue while its key is held.
struct KeySlot {
  const char* caption;
  std::uint16_t defaultKey;
  int function;
  enum class Effect { Set, Add } effect;
  double amount;
};

const std::array<KeySlot, kKeySlots>& KeySlots();

// The keyboard control's data: one virtual-key code per slot.
class TKeyForm {
 public:
  TKeyForm();

  // "KeyForm", "KeyChannel0".."KeyChannel19"; the low 16 bits of the stored number.
  void ReadSettings(const SettingsStore& settings);
  void WriteSettings(SettingsStore& settings) const;

  // Applies every held slot in slot order; later slots see earlier ones.
  void ApplyKeys(FunctionValues& functionValue, const KeyState& keys) const;

  std::array<std::uint16_t, kKeySlots> KeyCode{};
  std::array<std::uint16_t, kKeySlots> EditKeyCode{};
  std::int32_t PendingSlot = -1;
};

// UpdateFunctionValues, then the keys, then the clamp: the radio read of one frame.
void ReadRadio(TRcIntForm& active, int listPosition, const TKeyForm& keys, const KeyState& keyState,
               FunctionValues& functionValue);

}  // namespace veltrane
