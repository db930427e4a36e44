#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/trace/trace.h"
#include "radio/pic/serial_port.h"
#include "radio/rc_int_form.h"

namespace veltrane {

// A microcontroller board on a serial port that sends one byte per channel,
// framed by sync bytes, in one of two wire protocols.
class TRcPICForm : public TRcIntForm {
 public:
  static constexpr int kProtocols = 2;

  TRcPICForm(SerialPort& port, Trace trace)
      : TRcIntForm("RcPICForm"), port_(port), trace_(std::move(trace)) {}

  // Hands the bytes received since the last call to the decoder, then copies
  // the last frame. Never waits for the port.
  void GetChannels(TRcChannels& channels) override;
  bool GetAvailable() override { return true; }
  void OpenInterface() override;
  void CloseInterface() override;

  // The decoder for n received bytes (main thread).
  void ComPortRxChar(const std::uint8_t* bytes, std::size_t n);

  // The properties dialog's Ok: protocol with its line speed, and the port.
  // A new protocol starts at the beginning of the channel table.
  void SetProtocol(std::int32_t protocol);
  void SetPortName(const std::string& name) { port_.SetPortName(name); }

  std::int32_t Protocol() const { return protocol_; }
  std::int32_t RxIndex() const { return rxIndex_; }
  const TRcChannels& Channels() const { return channels_; }
  const std::vector<std::string>& PortList() const { return portList_; }
  SerialPort& Port() { return port_; }
  std::string EditPortName;

 protected:
  void CreateOwn(const SettingsStore& settings) override;
  void DestroyOwn(SettingsStore& settings) override;

 private:
  void Pump();

  SerialPort& port_;
  Trace trace_;
  std::int32_t protocol_ = 0;
  TRcChannels channels_;
  std::int32_t rxIndex_ = 0;
  std::vector<std::string> portList_;
  std::vector<std::uint8_t> received_;
};

int BaudRateOfProtocol(std::int32_t protocol);

}  // namespace veltrane
