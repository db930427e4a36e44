#include "radio/radio_form.h"

#include <stdexcept>

#include "base/settings/settings_store.h"

namespace veltrane {

namespace {
constexpr const char* kSection = "RadioForm";
}

TRadioForm::TRadioForm(const std::array<TRcIntForm*, kInterfaceCount>& interfaces)
    : Interfaces(interfaces) {
  for (TRcIntForm* i : Interfaces)
    if (!i) throw std::logic_error("RadioFrm: an interface object is missing");
}

void TRadioForm::Create(const SettingsStore& settings) {
  ActiveIndex = settings.ReadInteger(kSection, "InterfaceIndex", 0);
  if (ActiveIndex < 0 || ActiveIndex >= kInterfaceCount) ActiveIndex = 0;
  SelectedIndex = ActiveIndex;
  Active().OpenInterface();
}

void TRadioForm::Destroy(SettingsStore& settings) const {
  settings.WriteInteger(kSection, "InterfaceIndex", ActiveIndex);
}

void TRadioForm::UpdateFunctionValues(FunctionValues& functionValue) const {
  veltrane::UpdateFunctionValues(Active(), ActiveIndex, functionValue);
}

}  // namespace veltrane
