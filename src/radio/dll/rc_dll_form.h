#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/trace/trace.h"
#include "radio/dll/load16_library.h"
#include "radio/rc_int_form.h"

namespace veltrane {

// A transmitter's pulse train timed by interrupt code in a 16-bit library.
class TRcDllForm : public TRcIntForm {
 public:
  static const std::array<const char*, 8>& Addresses();   // "E/A-Bereich:", position 1 first
  static const std::array<const char*, 4>& Interrupts();  // "Interrupt:"

  TRcDllForm(Load16Library& library, Trace trace)
      : TRcIntForm("RcDllForm"), library_(library), trace_(std::move(trace)) {}

  void GetChannels(TRcChannels& channels) override;
  bool GetAvailable() override { return library_.Available(); }
  void OpenInterface() override;
  void CloseInterface() override;

  // The properties dialog ("IRQ-Interface"): list positions, 1-based.
  void ChooseLists(std::int32_t addressPosition, std::int32_t irqPosition);
  void PropertiesOk();
  void PropertiesCancel();

  std::int32_t PortAddr = 1;
  std::int32_t PortIRQ = 1;
  std::int32_t EditAddr = 1;
  std::int32_t EditIRQ = 1;
  bool Started() const { return started_; }

 protected:
  void CreateOwn(const SettingsStore& settings) override;
  void DestroyOwn(SettingsStore& settings) override;

 private:
  void Stop();

  Load16Library& library_;
  Trace trace_;
  bool started_ = false;
  std::int16_t last_ = 0;  // what GetChannel16 gave last
};

}  // namespace veltrane
