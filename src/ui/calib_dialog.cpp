#include "ui/calib_dialog.h"

#include <algorithm>
#include <cmath>

#include "base/settings/settings_store.h"

namespace veltrane::ui {

const std::array<std::string, kFunctionCount>& CalibDialog::RowLabels() {
  static const std::array<std::string, kFunctionCount> kLabels = {
      "Seitenruder:", "Höhenruder:",    "Querruder:",     "Motordrossel:",
      "Heckrotor:",   "Nicksteuerung:", "Rollsteuerung:", "Pitch:"};
  return kLabels;
}

void CalibDialog::EditInterface(TRcIntForm& rc) {
  rc_ = &rc;
  for (int k = 0; k < kMaxChannels; ++k) {
    const TRcCalib& c = rc.Calib[static_cast<std::size_t>(k)];
    const auto i = static_cast<std::size_t>(k);
    Lo[i] = Mid[i] = Hi[i] = c.Centre;
    if (c.FDown != 0) Lo[i] = c.Centre - 1 / c.FDown;
    if (c.FUp != 0) Hi[i] = c.Centre + 1 / c.FUp;
  }
  for (int f = 0; f < kFunctionCount; ++f) {
    const TRcAssign& a = rc.Assign[static_cast<std::size_t>(f)];
    rows[static_cast<std::size_t>(f)] = {std::to_string(static_cast<long long>(a.Channel) + 1),
                                         a.Inv, a.Exp};
  }
  bars.fill(50);
  Calibrating = Centring = false;
}

void CalibDialog::ShowTexts(int a, int b, int c, int buttonText) {
  auto text = [this](int i) { return i < 0 ? std::string() : Texts[static_cast<std::size_t>(i)]; };
  lines = {text(a), text(b), text(c)};
  button = text(buttonText);
}

void CalibDialog::FormActivate() {
  timerRunning_ = true;
  ShowTexts(0, 1, -1, 2);
}

void CalibDialog::TimerTick() {
  if (!rc_) return;
  TRcChannels ch;
  rc_->GetChannels(ch);
  const int count = std::clamp(ch.Count, 0, kMaxChannels);
  for (int k = 0; k < count; ++k) {
    const auto i = static_cast<std::size_t>(k);
    const double v = ch.Value[i];
    if (Calibrating) {
      if (v > Hi[i]) Hi[i] = v;
      if (v < Lo[i]) Lo[i] = v;
      Mid[i] = (Hi[i] + Lo[i]) / 2;
    }
    if (Centring) Mid[i] = v;
  }
  for (int g = 0; g < 8; ++g) {
    const auto i = static_cast<std::size_t>(g);
    if (g >= count) {
      bars[i] = 50;
      continue;
    }
    if (!(Hi[i] > Mid[i] && Lo[i] < Mid[i])) continue;  // no travel known: the bar stays
    const double v = ch.Value[i];
    const double d =
        v > Mid[i] ? (v - Mid[i]) * 50 / (Hi[i] - Mid[i]) : (v - Mid[i]) * 50 / (Mid[i] - Lo[i]);
    bars[i] = static_cast<int>(std::clamp(50.0 + std::trunc(d), 0.0, 100.0));
  }
}

void CalibDialog::KalibrierenClick() {
  if (Calibrating) {
    Calibrating = false;
    Centring = true;
    ShowTexts(12, 10, -1, 11);
  } else if (Centring) {
    Centring = false;
    ShowTexts(5, 6, 7, 2);
  } else {
    Calibrating = true;
    Hi.fill(kUnseenHigh);
    Lo.fill(kUnseenLow);
    ShowTexts(8, 9, 3, 4);
  }
}

std::optional<std::string> CalibDialog::Ok() {
  if (!rc_) return std::nullopt;
  for (int f = 0; f < kFunctionCount; ++f) {
    const Row& r = rows[static_cast<std::size_t>(f)];
    const auto n = ParseInteger(r.channel);
    if (!n)
      return "\"" + r.channel + "\" ist keine gültige ganze Zahl (" +
             RowLabels()[static_cast<std::size_t>(f)] + ")";
    TRcAssign& a = rc_->Assign[static_cast<std::size_t>(f)];
    a.Channel = static_cast<std::int32_t>(static_cast<long long>(*n) - 1);
    a.Inv = r.inv;
    a.Exp = r.exp;
  }
  for (int k = 0; k < kMaxChannels; ++k) {
    const auto i = static_cast<std::size_t>(k);
    TRcCalib& c = rc_->Calib[i];
    c.Centre = Mid[i];
    c.FDown = Lo[i] < Mid[i] ? 1 / (Mid[i] - Lo[i]) : 0.0;
    c.FUp = Hi[i] > Mid[i] ? 1 / (Hi[i] - Mid[i]) : 0.0;
  }
  return std::nullopt;
}

}  // namespace veltrane::ui
