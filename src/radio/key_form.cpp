#include "radio/key_form.h"

#include "platform/settings/settings_store.h"

namespace veltrane {

namespace {
constexpr const char* kSection = "KeyForm";
using E = KeySlot::Effect;
}  // namespace

const std::array<KeySlot, kKeySlots>& KeySlots() {
  static const std::array<KeySlot, kKeySlots> kSlots = {{
      {"Seitenruder links", 0x25, 0, E::Set, 1.0},
      {"Seitenruder rechts", 0x27, 0, E::Set, -1.0},
      {"Höhenruder drücken", 0x26, 1, E::Set, 1.0},
      {"Höhenruder ziehen", 0x28, 1, E::Set, -1.0},
      {"Motordrossel auf", 0x56, 3, E::Set, 1.0},
      {"Motordrossel zu", 0x48, 3, E::Set, -1.0},
      {"Motordrossel mehr", 0x47, 3, E::Add, 0.05},
      {"Motordrossel  weniger", 0x42, 3, E::Add, -0.05},
      {"Querruder links", 0x4A, 2, E::Set, 1.0},
      {"Querruder rechts", 0x4B, 2, E::Set, -1.0},
      {"Heckrotor links", 0x25, 4, E::Set, 1.0},
      {"Heckrotor rechts", 0x27, 4, E::Set, -1.0},
      {"Nick drücken", 0x26, 5, E::Set, 1.0},
      {"Nick ziehen", 0x28, 5, E::Set, -1.0},
      {"Pitch voll", 0x56, 7, E::Set, 1.0},
      {"Pitch ab", 0x48, 7, E::Set, -1.0},
      {"Pitch mehr", 0x47, 7, E::Add, 0.05},
      {"Pitch weniger", 0x42, 7, E::Add, -0.05},
      {"Rollen links", 0x4A, 6, E::Set, 1.0},
      {"Rollen rechts", 0x4B, 6, E::Set, -1.0},
  }};
  return kSlots;
}

TKeyForm::TKeyForm() {
  for (int k = 0; k < kKeySlots; ++k) KeyCode[k] = KeySlots()[k].defaultKey;
  EditKeyCode = KeyCode;
}

void TKeyForm::ReadSettings(const SettingsStore& s) {
  for (int k = 0; k < kKeySlots; ++k) {
    const int v = s.ReadInteger(kSection, "KeyChannel" + std::to_string(k), KeySlots()[k].defaultKey);
    // Virtual-key codes run from 0 to 255; anything else is not a key.
    KeyCode[k] = static_cast<std::uint16_t>(v >= 0 && v <= 255 ? v : KeySlots()[k].defaultKey);
  }
  EditKeyCode = KeyCode;
}

void TKeyForm::WriteSettings(SettingsStore& s) const {
  for (int k = 0; k < kKeySlots; ++k)
    s.WriteInteger(kSection, "KeyChannel" + std::to_string(k), KeyCode[k]);
}

void TKeyForm::ApplyKeys(FunctionValues& fv, const KeyState& keys) const {
  for (int k = 0; k < kKeySlots; ++k) {
    if (!keys.IsKeyDown(KeyCode[k])) continue;
    const KeySlot& slot = KeySlots()[k];
    if (slot.effect == E::Set)
      fv[slot.function] = slot.amount;
    else
      fv[slot.function] += slot.amount;
  }
}

void ReadRadio(TRcIntForm& active, int listPosition, const TKeyForm& keys,
               const KeyState& keyState, FunctionValues& functionValue) {
  UpdateFunctionValues(active, listPosition, functionValue);
  keys.ApplyKeys(functionValue, keyState);
  ClampFunctionValues(functionValue);
}

}  // namespace veltrane
