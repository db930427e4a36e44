#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/trace/trace.h"
#include "radio/rc_int_form.h"
#include "radio/vxd/vxd_driver.h"

namespace veltrane {

// A transmitter's pulse train on a port pin, timed by a kernel driver that
// the interface loads, points at a port and asks for channels every frame.
class TRcVxdForm : public TRcIntForm {
 public:
  static constexpr std::uint32_t kOpenPort = 1, kClosePort = 2, kFirstPort = 3, kNextPort = 4,
                                 kChannels = 5;
  static constexpr int kReplyChannels = 13;

  TRcVxdForm(VxdDriver& driver, Trace trace)
      : TRcIntForm("RcVxdForm"), driver_(driver), trace_(std::move(trace)) {}

  void GetChannels(TRcChannels& channels) override;
  bool GetAvailable() override { return driver_.Available(); }
  void OpenInterface() override { OpenRcPort(portName_); }
  void CloseInterface() override { CloseRcPort(); }

  // The properties dialog ("IRQ-Interface").
  void ChoosePort(const std::string& name) { EditPortName = name; }
  void PropertiesOk() { portName_ = EditPortName; }
  void PropertiesCancel() { EditPortName = portName_; }

  const std::vector<std::string>& PortList() const { return portList_; }
  const std::string& PortName() const { return portName_; }
  std::string EditPortName;

 protected:
  void CreateOwn(const SettingsStore& settings) override;
  void DestroyOwn(SettingsStore& settings) override;

 private:
  void LoadRcVxd();
  void RemoveRcVxd();
  void OpenRcPort(const std::string& name);
  void CloseRcPort();
  void GetPortList();
  void TraceResult(const std::string& what, bool ok);

  VxdDriver& driver_;
  Trace trace_;
  bool portOpen_ = false;
  std::array<std::uint8_t, 56>
      reply_{};  // kept between calls: a failed request repeats the last one
  std::vector<std::string> portList_;
  std::string portName_;
};

}  // namespace veltrane
