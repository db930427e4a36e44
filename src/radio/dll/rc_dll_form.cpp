#include "radio/dll/rc_dll_form.h"

#include <algorithm>
#include <cstdlib>

#include "base/settings/settings_store.h"

namespace veltrane {

namespace {
constexpr const char* kSection = "RcDllForm";
}

const std::array<const char*, 8>& TRcDllForm::Addresses() {
  static const std::array<const char*, 8> kList = {"3BC", "378", "278", "2BC",
                                                   "3F8", "2F8", "3E8", "2E8"};
  return kList;
}

const std::array<const char*, 4>& TRcDllForm::Interrupts() {
  static const std::array<const char*, 4> kList = {"3", "4", "5", "7"};
  return kList;
}

void TRcDllForm::CreateOwn(const SettingsStore& s) {
  started_ = false;
  if (!GetAvailable()) return;
  trace_("RCint32.LoadRCIntDLL\r\n");
  library_.Load("load16.dll");
  // Stored positions outside the lists are brought back into them.
  PortAddr =
      std::clamp(s.ReadInteger(kSection, "PortAddr", 1), 1, static_cast<int>(Addresses().size()));
  PortIRQ =
      std::clamp(s.ReadInteger(kSection, "PortIRQ", 1), 1, static_cast<int>(Interrupts().size()));
  EditAddr = PortAddr;
  EditIRQ = PortIRQ;
}

void TRcDllForm::DestroyOwn(SettingsStore& s) {
  if (!GetAvailable()) return;
  s.WriteInteger(kSection, "PortAddr", PortAddr);
  s.WriteInteger(kSection, "PortIRQ", PortIRQ);
  if (started_) Stop();
  trace_("RCint32.FreeRCIntDLL\r\n");
  library_.Free();
}

void TRcDllForm::OpenInterface() {
  trace_("TRcDllForm.OpenInterface\r\n");
  const int irq = std::atoi(Interrupts()[static_cast<std::size_t>(std::clamp(PortIRQ, 1, 4) - 1)]);
  if (library_.Lookup("RCRadioStart16"))
    library_.RCRadioStart16(static_cast<std::uint16_t>(PortAddr), static_cast<std::uint16_t>(irq));
  started_ = true;
}

void TRcDllForm::Stop() {
  if (library_.Lookup("RCRadioStop16")) library_.RCRadioStop16();
  started_ = false;
}

void TRcDllForm::CloseInterface() {
  trace_("TRcDllForm.CloseInterface\r\n");
  Stop();
}

void TRcDllForm::GetChannels(TRcChannels& channels) {
  channels = TRcChannels{};
  if (!GetAvailable()) return;
  channels.Count = kMaxChannels;
  for (int i = 0; i < kMaxChannels; ++i) {
    if (library_.Lookup("GetChannel16")) last_ = library_.GetChannel16(i + 1);
    channels.Value[static_cast<std::size_t>(i)] = last_;
  }
}

void TRcDllForm::ChooseLists(std::int32_t addressPosition, std::int32_t irqPosition) {
  EditAddr = addressPosition;
  EditIRQ = irqPosition;
}

void TRcDllForm::PropertiesOk() {
  PortAddr = EditAddr;
  PortIRQ = EditIRQ;
}

void TRcDllForm::PropertiesCancel() {
  EditAddr = PortAddr;
  EditIRQ = PortIRQ;
}

}  // namespace veltrane
