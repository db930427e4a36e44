#include "radio/key_form.h"

#include "base/settings/settings_store.h"

namespace veltrane {

namespace {
constexpr const char* kSection = "KeyForm";
using E = KeySlot::Effect;
}  // namespace

const std::array<KeySlot, kKeySlots>& KeySlots() {
  static const std::array<KeySlot, kKeySlots> kSlots = {{
      {"Seitenruder links", 0x25, fn::kRudder, E::Set, 1.0},
      {"Seitenruder rechts", 0x27, fn::kRudder, E::Set, -1.0},
      {"Höhenruder drücken", 0x26, fn::kElevator, E::Set, 1.0},
      {"Höhenruder ziehen", 0x28, fn::kElevator, E::Set, -1.0},
      {"Motordrossel auf", 0x56, fn::kThrottle, E::Set, 1.0},
      {"Motordrossel zu", 0x48, fn::kThrottle, E::Set, -1.0},
      {"Motordrossel mehr", 0x47, fn::kThrottle, E::Add, 0.05},
      {"Motordrossel  weniger", 0x42, fn::kThrottle, E::Add, -0.05},
      {"Querruder links", 0x4A, fn::kAileron, E::Set, 1.0},
      {"Querruder rechts", 0x4B, fn::kAileron, E::Set, -1.0},
      {"Heckrotor links", 0x25, fn::kTailRotor, E::Set, 1.0},
      {"Heckrotor rechts", 0x27, fn::kTailRotor, E::Set, -1.0},
      {"Nick drücken", 0x26, fn::kPitchCyclic, E::Set, 1.0},
      {"Nick ziehen", 0x28, fn::kPitchCyclic, E::Set, -1.0},
      {"Pitch voll", 0x56, fn::kCollective, E::Set, 1.0},
      {"Pitch ab", 0x48, fn::kCollective, E::Set, -1.0},
      {"Pitch mehr", 0x47, fn::kCollective, E::Add, 0.05},
      {"Pitch weniger", 0x42, fn::kCollective, E::Add, -0.05},
      {"Rollen links", 0x4A, fn::kRollCyclic, E::Set, 1.0},
      {"Rollen rechts", 0x4B, fn::kRollCyclic, E::Set, -1.0},
  }};
  return kSlots;
}

TKeyForm::TKeyForm() {
  for (int k = 0; k < kKeySlots; ++k) KeyCode[k] = KeySlots()[k].defaultKey;
  EditKeyCode = KeyCode;
}

void TKeyForm::ReadSettings(const SettingsStore& s) {
  for (int k = 0; k < kKeySlots; ++k) {
    const int v =
        s.ReadInteger(kSection, "KeyChannel" + std::to_string(k), KeySlots()[k].defaultKey);
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

void ReadRadio(TRcIntForm& active, int listPosition, const TKeyForm& keys, const KeyState& keyState,
               FunctionValues& functionValue) {
  UpdateFunctionValues(active, listPosition, functionValue);
  keys.ApplyKeys(functionValue, keyState);
  ClampFunctionValues(functionValue);
}

}  // namespace veltrane
