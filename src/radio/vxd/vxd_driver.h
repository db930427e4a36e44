#pragma once

#include <cstdint>
#include <string>

namespace veltrane {

// The kernel pulse-capture driver's device, as the interface calls it: opened
// by name, driven by synchronous device-control calls. Such drivers exist only
// on the old single-user Windows platform.
class VxdDriver {
 public:
  virtual ~VxdDriver() = default;
  virtual bool Available() const = 0;
  // Opening the device loads the driver; LastError tells how it went.
  virtual void Open(const std::string& device) = 0;
  virtual bool Control(std::uint32_t code, const void* in, std::uint32_t inSize, void* out,
                       std::uint32_t outSize, std::uint32_t& returned) = 0;
  virtual void CloseHandle() = 0;
  virtual std::uint32_t LastError() const = 0;
  virtual std::string ErrorText(std::uint32_t code) const = 0;
};

// This system: no such driver; every call fails as on an unopened handle.
class NoVxdDriver : public VxdDriver {
 public:
  bool Available() const override { return false; }
  void Open(const std::string&) override {}
  bool Control(std::uint32_t, const void*, std::uint32_t, void*, std::uint32_t,
               std::uint32_t& returned) override {
    returned = 0;
    return false;
  }
  void CloseHandle() override {}
  std::uint32_t LastError() const override { return 6; }
  std::string ErrorText(std::uint32_t) const override { return "Kein Treiber auf diesem System"; }
};

}  // namespace veltrane
