#pragma once

#include <array>
#include <optional>
#include <string>

#include "radio/rc_int_form.h"

namespace veltrane::ui {

// "Kanalbelegung / Kalibration" for one interface: the assignment rows, live
// bars of channels 1..8 and the guided capture of range and centre. Works on
// copies; only Ok changes the interface.
class CalibDialog {
 public:
  static constexpr int kTimerMs = 10;
  static constexpr double kUnseenHigh = -10000000000.0;
  static constexpr double kUnseenLow = 10000000000.0;

  // Localised texts "sCalibForm000".."sCalibForm012".
  std::array<std::string, 13> Texts = {
      "Um den Sender zu kalibrieren, klicken",
      "Sie auf 'Kalibrieren'.",
      "Kalibrieren",
      "Mit 'Weiter' die Kalibration fortsetzen.",
      "Weiter",
      "Die Kalibration ist nun beendet. Wenn die",
      "Kalibration nicht sauber ist, kann sie mit",
      "'Kalibrieren' wiederholt werden.",
      "Bewegen Sie die Knüppel mehrmals im",
      "Kreis bis der Ausschlag angepasst ist.",
      "Beenden Sie die Kalibration mit 'Fertig'.",
      "Fertig",
      "Zentrieren Sie alle Knüppel",
  };
  static const std::array<std::string, kFunctionCount>& RowLabels();

  // Entry of EditInterface: the working values from the interface.
  void EditInterface(TRcIntForm& rcInterface);
  void FormActivate();
  void FormDeactivate() { timerRunning_ = false; }
  void TimerTick();
  void KalibrierenClick();
  // Takes rows and calibration over. A row that is not a whole number stops
  // there with a message naming it: earlier rows are taken, nothing after.
  std::optional<std::string> Ok();

  struct Row {
    std::string channel;  // 1-based; "0" unassigned
    bool inv = false;
    bool exp = false;
  };
  std::array<Row, kFunctionCount> rows{};
  std::array<double, kMaxChannels> Lo{}, Mid{}, Hi{};
  bool Calibrating = false;
  bool Centring = false;
  std::array<int, 8> bars{};  // 0..100, centre 50
  std::array<std::string, 3> lines{};
  std::string button;
  bool TimerRunning() const { return timerRunning_; }

 private:
  void ShowTexts(int a, int b, int c, int buttonText);

  TRcIntForm* rc_ = nullptr;
  bool timerRunning_ = false;
};

}  // namespace veltrane::ui
