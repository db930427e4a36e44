#include "ui/radio_dialog.h"

namespace veltrane::ui {

const std::array<std::string, kInterfaceCount>& RadioDialog::EntryTexts() {
  static const std::array<std::string, kInterfaceCount> kTexts = {
      "Kein Interface", "Joystick Interface", "Paralleles / Serielles IRQ-Interface (32-Bit-VXD)",
      "Paralleles / Serielles IRQ-Interface (16-Bit-DLL)", "Serielles PIC-Interface"};
  return kTexts;
}

void RadioDialog::FormActivate() {
  timer_.SetTimerEnabled(false);
  radio_.SelectedIndex = radio_.ActiveIndex;
  radio_.Active().CloseInterface();
}

void RadioDialog::FormDeactivate() {
  radio_.Active().OpenInterface();
  timer_.SetTimerEnabled(true);
}

void RadioDialog::Choose(int entry) {
  if (entry >= 0 && entry < kInterfaceCount) radio_.SelectedIndex = entry;
}

bool RadioDialog::Available(int entry) const {
  return entry >= 0 && entry < kInterfaceCount &&
         radio_.Interfaces[static_cast<std::size_t>(entry)]->GetAvailable();
}

bool RadioDialog::ButtonsEnabled() const { return Available(radio_.SelectedIndex); }

void RadioDialog::CalibrationOpening() {
  calibrating_ = &radio_.Selected();
  calibrating_->OpenInterface();
  FormDeactivate();
}

void RadioDialog::CalibrationClosed() {
  FormActivate();
  if (calibrating_) calibrating_->CloseInterface();
  calibrating_ = nullptr;
}

}  // namespace veltrane::ui
