#pragma once

#include <array>
#include <string>

#include "radio/radio_form.h"
#include "ui/frame_timer.h"

namespace veltrane::ui {

// "Steuerung": the interface list and its buttons. While it is in front the
// simulation halts and no interface is open; while a dialog opened from it is
// in front, the active interface is open and the simulation runs behind it.
class RadioDialog {
 public:
  static const std::array<std::string, kInterfaceCount>& EntryTexts();

  RadioDialog(TRadioForm& radio, FrameTimer& timer) : radio_(radio), timer_(timer) {}

  // Becoming the active window: on opening and whenever a sub-dialog closes.
  void FormActivate();
  // Ceasing to be it: on closing and whenever a sub-dialog opens.
  void FormDeactivate();

  void Choose(int entry);
  // "Eigenschaften" and "Belegung / Kalibration".
  bool ButtonsEnabled() const;
  bool Available(int entry) const;

  // "Belegung / Kalibration": the selected interface is opened before the
  // calibration dialog and closed after it.
  void CalibrationOpening();
  void CalibrationClosed();

  void Ok() { radio_.ActiveIndex = radio_.SelectedIndex; }
  void Cancel() {}

  int Selected() const { return radio_.SelectedIndex; }
  TRadioForm& Radio() { return radio_; }

 private:
  TRadioForm& radio_;
  FrameTimer& timer_;
  TRcIntForm* calibrating_ = nullptr;
};

}  // namespace veltrane::ui
