#include "radio/rc_int_form.h"

#include <algorithm>

#include "base/settings/settings_store.h"

namespace veltrane {

TRcIntForm::TRcIntForm(std::string name) : name_(std::move(name)) {
  for (int n = 0; n < kFunctionCount; ++n) Assign[n].Channel = n;
}

void TRcIntForm::GetChannels(TRcChannels& channels) { channels = TRcChannels{}; }
double TRcIntForm::GetInitCalibCentre(std::int32_t) { return 0.0; }
double TRcIntForm::GetInitCalibF(std::int32_t) { return 0.0; }
bool TRcIntForm::GetAvailable() { return false; }
void TRcIntForm::OpenInterface() {}
void TRcIntForm::CloseInterface() {}

void TRcIntForm::GetFunctionValues(FunctionValues& values) {
  TRcChannels ch;
  GetChannels(ch);
  MapChannels(ch, values);
}

void TRcIntForm::MapChannels(const TRcChannels& ch, FunctionValues& values) const {
  for (int i = 0; i < kFunctionCount; ++i) {
    const std::int32_t c = Assign[i].Channel;
    double v = 0.0;
    // Only channels 0..7 feed functions, and only those the interface delivers.
    if (c >= 0 && c <= 7 && c < ch.Count) {
      const double r = ch.Value[c];
      const TRcCalib& k = Calib[c];
      v = r > k.Centre ? (r - k.Centre) * k.FUp : (r - k.Centre) * k.FDown;
    }
    if (Assign[i].Inv) v = -v;
    if (Assign[i].Exp) v = v * (v < 0 ? -v : v);
    values[i] = v;
  }
}

void TRcIntForm::ReadSettings(const SettingsStore& s) {
  for (int n = 0; n < kMaxChannels; ++n) {
    const std::string k = std::to_string(n);
    const double f = GetInitCalibF(n);
    Calib[n].Centre = s.ReadFloat(name_, "centre" + k, GetInitCalibCentre(n));
    Calib[n].FUp = s.ReadFloat(name_, "fup" + k, f);
    Calib[n].FDown = s.ReadFloat(name_, "fdown" + k, f);
  }
  for (int n = 0; n < kFunctionCount; ++n) {
    const std::string k = std::to_string(n);
    Assign[n].Channel = s.ReadInteger(name_, "i" + k, n);
    Assign[n].Inv = s.ReadBool(name_, "inv" + k, false);
    Assign[n].Exp = s.ReadBool(name_, "exp" + k, false);
  }
}

void TRcIntForm::WriteSettings(SettingsStore& s) const {
  for (int n = 0; n < kMaxChannels; ++n) {
    const std::string k = std::to_string(n);
    s.WriteFloat(name_, "centre" + k, Calib[n].Centre);
    s.WriteFloat(name_, "fup" + k, Calib[n].FUp);
    s.WriteFloat(name_, "fdown" + k, Calib[n].FDown);
  }
  for (int n = 0; n < kFunctionCount; ++n) {
    const std::string k = std::to_string(n);
    s.WriteInteger(name_, "i" + k, Assign[n].Channel);
    s.WriteBool(name_, "inv" + k, Assign[n].Inv);
    s.WriteBool(name_, "exp" + k, Assign[n].Exp);
  }
}

void TRcIntForm::Create(const SettingsStore& settings) {
  ReadSettings(settings);
  CreateOwn(settings);
}

void TRcIntForm::Destroy(SettingsStore& settings) {
  DestroyOwn(settings);
  WriteSettings(settings);
}

void UpdateFunctionValues(TRcIntForm& active, int listPosition, FunctionValues& functionValue) {
  FunctionValues v{};
  active.GetFunctionValues(v);
  for (int i = 0; i < kFunctionCount; ++i) {
    if (i == fn::kThrottle || i == fn::kCollective) {
      if (listPosition == 0 || active.Assign[i].Channel == -1) continue;
    }
    functionValue[i] = v[i];
  }
}

void ClampFunctionValues(FunctionValues& functionValue) {
  for (double& v : functionValue) v = std::clamp(v, -1.0, 1.0);
}

}  // namespace veltrane
