#pragma once

#include <cstdint>
#include <string>

namespace veltrane {

// The 16-bit pulse library and its three exports, as the interface calls
// them. Each call looks its procedure up first; a failed lookup skips it.
// Only the old single-user Windows platform can reach such a library.
class Load16Library {
 public:
  virtual ~Load16Library() = default;
  virtual bool Available() const = 0;
  virtual void Load(const std::string& file) = 0;
  virtual void Free() = 0;
  virtual bool Lookup(const std::string& procedure) = 0;
  virtual void RCRadioStart16(std::uint16_t addressPosition, std::uint16_t interrupt) = 0;
  virtual void RCRadioStop16() = 0;
  virtual std::int16_t GetChannel16(std::int32_t channel) = 0;
};

// This system: nothing to load, no procedure found.
class NoLoad16Library : public Load16Library {
 public:
  bool Available() const override { return false; }
  void Load(const std::string&) override {}
  void Free() override {}
  bool Lookup(const std::string&) override { return false; }
  void RCRadioStart16(std::uint16_t, std::uint16_t) override {}
  void RCRadioStop16() override {}
  std::int16_t GetChannel16(std::int32_t) override { return 0; }
};

}  // namespace veltrane
