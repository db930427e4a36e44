#include "radio/pic/rc_pic_form.h"

#include "base/settings/settings_store.h"

namespace veltrane {

namespace {
constexpr const char* kSection = "RcPICForm";
constexpr std::int32_t kLastIndex = kMaxChannels - 1;
}  // namespace

int BaudRateOfProtocol(std::int32_t protocol) { return protocol == 1 ? 19200 : 9600; }

void TRcPICForm::CreateOwn(const SettingsStore& s) {
  portList_ = port_.ListPorts();
  rxIndex_ = 0;
  const std::string stored = s.ReadString(kSection, "PortName", "");
  protocol_ = s.ReadInteger(kSection, "Protocol", 0);
  port_.SetBaudRate(BaudRateOfProtocol(protocol_));
  // The first entry, then the last one equal to the stored name.
  std::string name = portList_.empty() ? std::string() : portList_.front();
  for (const std::string& p : portList_)
    if (p == stored) name = p;
  port_.SetPortName(name);
  EditPortName = name;
}

void TRcPICForm::DestroyOwn(SettingsStore& s) {
  s.WriteString(kSection, "PortName", port_.PortName());
  s.WriteInteger(kSection, "Protocol", protocol_);
  if (port_.IsOpen()) {
    trace_("TRcPICForm.Destroy Closing " + port_.PortName() + "\r\n");
    port_.Close();
  }
}

void TRcPICForm::OpenInterface() {
  trace_("TRcPICForm.OpenInterface Opening " + port_.PortName() + "\r\n");
  std::string error;
  // No message: the channels keep their last values.
  if (!port_.IsOpen() && !port_.Open(error))
    trace_("TRcPICForm.OpenInterface Failed " + port_.PortName() + ": " + error + "\r\n");
}

void TRcPICForm::CloseInterface() {
  trace_("TRcPICForm.CloseInterface Closing " + port_.PortName() + "\r\n");
  Pump();  // what arrived before the close still counts
  port_.Close();
}

void TRcPICForm::SetProtocol(std::int32_t protocol) {
  if (protocol != protocol_)
    rxIndex_ = 0;  // -1 of protocol 0 would index before the table in protocol 1
  protocol_ = protocol;
  port_.SetBaudRate(BaudRateOfProtocol(protocol_));
}

void TRcPICForm::Pump() {
  if (!port_.IsOpen()) return;
  received_.clear();
  std::string error;
  if (!port_.TakeReceived(received_, error))
    trace_("TRcPICForm.ComPortRxChar Port lost " + port_.PortName() + ": " + error + "\r\n");
  if (!received_.empty()) ComPortRxChar(received_.data(), received_.size());
}

void TRcPICForm::GetChannels(TRcChannels& channels) {
  Pump();
  channels = channels_;
}

void TRcPICForm::ComPortRxChar(const std::uint8_t* bytes, std::size_t n) {
  if (protocol_ != 0 && protocol_ != 1) return;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t b = bytes[i];
    if (protocol_ == 0 ? b >= 0xF0 : b == 0xFF) {
      channels_.Count = rxIndex_;
      rxIndex_ = protocol_ == 0 ? -1 : 0;  // protocol 0 skips the byte after the sync
      continue;
    }
    if (rxIndex_ >= 0) channels_.Value[static_cast<std::size_t>(rxIndex_)] = b;
    if (++rxIndex_ > kLastIndex) rxIndex_ = kLastIndex;
  }
}

}  // namespace veltrane
