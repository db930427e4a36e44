#include "radio/vxd/rc_vxd_form.h"

#include <algorithm>
#include <cstring>

#include "base/settings/settings_store.h"

namespace veltrane {

namespace {
constexpr const char* kSection = "RcVxdForm";
constexpr std::uint32_t kNoMoreItems = 1248, kInvalidParameter = 87;
constexpr std::size_t kMaxPorts = 256;  // a driver that never ends its list

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
}  // namespace

void TRcVxdForm::TraceResult(const std::string& what, bool ok) {
  if (ok) {
    trace_("TRcVxdForm." + what + " Succeeded\r\n");
  } else {
    const std::uint32_t e = driver_.LastError();
    trace_("TRcVxdForm." + what + " GetLastError = " + driver_.ErrorText(e) + " (" +
           std::to_string(e) + ")\r\n");
  }
}

void TRcVxdForm::LoadRcVxd() {
  trace_("TRcVxdForm.LoadRcVxd\r\n");
  driver_.Open("\\\\.\\rcvxd.vxd");
  const std::uint32_t e = driver_.LastError();
  trace_("TRcVxdForm.LoadRcVxd VxdResult = " + driver_.ErrorText(e) + " (" + std::to_string(e) +
         ")\r\n");
}

void TRcVxdForm::RemoveRcVxd() {
  trace_("TRcVxdForm.RemoveRcVxd\r\n");
  std::uint32_t n = 0;
  TraceResult("RemoveRcVxd", driver_.Control(kClosePort, nullptr, 0, nullptr, 0, n));
  driver_.CloseHandle();
}

void TRcVxdForm::CloseRcPort() {
  trace_("TRcVxdForm.CloseRcPort\r\n");
  std::uint32_t n = 0;
  TraceResult("CloseRcPort", driver_.Control(kClosePort, nullptr, 0, nullptr, 0, n));
  portOpen_ = false;
}

void TRcVxdForm::OpenRcPort(const std::string& name) {
  if (portOpen_) CloseRcPort();
  char request[30] = {};
  std::memcpy(request, name.data(),
              std::min<std::size_t>(name.size(), sizeof request - 1));  // truncated to fit
  trace_("TRcVxdForm.OpenRcPort\r\n");
  std::uint32_t n = 0;
  TraceResult("OpenRcPort", driver_.Control(kOpenPort, request, sizeof request, nullptr, 0, n));
  portOpen_ = true;  // also when the call failed: the close is sent in any case
}

void TRcVxdForm::GetPortList() {
  trace_("TRcVxdForm.GetPortList\r\n");
  portList_.clear();
  char buf[130] = {};
  std::uint32_t n = 0;
  bool ok = driver_.Control(kFirstPort, nullptr, 0, buf, sizeof buf, n);
  while ((ok || driver_.LastError() == 0 || driver_.LastError() == kInvalidParameter) &&
         portList_.size() < kMaxPorts) {
    buf[sizeof buf - 1] = 0;
    portList_.emplace_back(buf);
    ok = driver_.Control(kNextPort, nullptr, 0, buf, sizeof buf, n);
  }
  if (!ok && driver_.LastError() != kNoMoreItems)
    trace_("TRcVxdForm.GetPortList GetLastError = " + driver_.ErrorText(driver_.LastError()) +
           "\r\n");
  else
    trace_("TRcVxdForm.GetPortList Suceeded\r\n");
}

void TRcVxdForm::CreateOwn(const SettingsStore& s) {
  portOpen_ = false;
  if (!GetAvailable()) return;
  LoadRcVxd();
  GetPortList();
  const std::string stored = s.ReadString(kSection, "PortName", "");
  std::string name = portList_.empty() ? std::string() : portList_.front();
  for (const std::string& p : portList_)
    if (p == stored) name = p;
  portName_ = name;
  EditPortName = name;
}

void TRcVxdForm::DestroyOwn(SettingsStore& s) {
  if (!GetAvailable()) return;
  s.WriteString(kSection, "PortName", portName_);
  CloseInterface();
  RemoveRcVxd();
}

void TRcVxdForm::GetChannels(TRcChannels& channels) {
  channels = TRcChannels{};
  if (!GetAvailable()) return;
  std::uint32_t n = 0;
  driver_.Control(kChannels, nullptr, 0, reply_.data(), static_cast<std::uint32_t>(reply_.size()),
                  n);
  const std::uint32_t count = std::min<std::uint32_t>(Le32(reply_.data()), kReplyChannels);
  channels.Count = static_cast<std::int32_t>(count);
  for (std::uint32_t i = 0; i < count; ++i) channels.Value[i] = Le32(reply_.data() + 4 + 4 * i);
}

}  // namespace veltrane
