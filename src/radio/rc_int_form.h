#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "sim/functions.h"

namespace veltrane {

class SettingsStore;

constexpr int kMaxChannels = 16;
constexpr int kFunctionCount = fn::kCount;

// Raw channel values as an interface delivers them, in its own units.
struct TRcChannels {
  std::int32_t Count = 0;
  std::array<double, kMaxChannels> Value{};
};

struct TRcCalib {
  double Centre = 0.0;
  double FUp = 0.0;    // scale above the centre; 0: no travel known
  double FDown = 0.0;  // scale at or below the centre
};

struct TRcAssign {
  std::int32_t Channel = 0;  // 0-based; anything outside 0..7 is unassigned
  bool Inv = false;
  bool Exp = false;
};

using FunctionValues = std::array<double, kFunctionCount>;

// Base of every transmitter interface: calibration and assignment turn raw
// channels into the eight function values. The plain base is "no interface".
class TRcIntForm {
 public:
  // name: the settings section ("RcIntForm", "RcJoyForm", ...).
  explicit TRcIntForm(std::string name = "RcIntForm");
  virtual ~TRcIntForm() = default;

  virtual void GetChannels(TRcChannels& channels);
  virtual double GetInitCalibCentre(std::int32_t channel);
  virtual double GetInitCalibF(std::int32_t channel);
  virtual bool GetAvailable();
  virtual void OpenInterface();
  virtual void CloseInterface();

  // The channel mapping; no clamping, values beyond the calibrated ends exceed 1.
  void GetFunctionValues(FunctionValues& values);
  // The same mapping of channels already read.
  void MapChannels(const TRcChannels& channels, FunctionValues& values) const;

  // Reads calibration and assignment, defaults through the virtual operations;
  // so call it on the finished object, not from a constructor.
  void ReadSettings(const SettingsStore& settings);
  void WriteSettings(SettingsStore& settings) const;

  // The life at start-up and exit: the base values first, then the subclass's
  // own; at exit the subclass saves and closes its hardware before the base writes.
  void Create(const SettingsStore& settings);
  void Destroy(SettingsStore& settings);

  const std::string& Name() const { return name_; }

 protected:
  virtual void CreateOwn(const SettingsStore&) {}
  virtual void DestroyOwn(SettingsStore&) {}

 public:
  std::array<TRcCalib, kMaxChannels> Calib{};
  std::array<TRcAssign, kFunctionCount> Assign{};

 private:
  std::string name_;
};

// The per-frame copy into FunctionValue. Throttle and collective are kept
// when there is no interface (list position 0) or their assignment is exactly -1,
// so that the keyboard can hold them.
void UpdateFunctionValues(TRcIntForm& active, int listPosition, FunctionValues& functionValue);

// Every value into [-1, 1].
void ClampFunctionValues(FunctionValues& functionValue);

}  // namespace veltrane
