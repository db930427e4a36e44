#include "ui/pic_dialog.h"

namespace veltrane::ui {

const std::array<std::string, TRcPICForm::kProtocols>& PicDialog::ProtocolTexts() {
  static const std::array<std::string, TRcPICForm::kProtocols> kTexts = {"9600 Baud / 0xF0+ Sync",
                                                                         "19200 Baud / 0xFF Sync"};
  return kTexts;
}

void PicDialog::FormShow() {
  protocol = pic_.Protocol();
  pic_.EditPortName = pic_.Port().PortName();
  selectedPort = -1;
  for (std::size_t i = 0; i < Ports().size(); ++i)
    if (Ports()[i] == pic_.EditPortName) selectedPort = static_cast<int>(i);
}

void PicDialog::ChoosePort(int entry) {
  if (entry < 0 || entry >= static_cast<int>(Ports().size())) return;
  selectedPort = entry;
  pic_.EditPortName = Ports()[static_cast<std::size_t>(entry)];
}

void PicDialog::Ok() {
  pic_.SetProtocol(protocol);
  pic_.SetPortName(pic_.EditPortName);
}

void PicDialog::Cancel() { FormShow(); }

}  // namespace veltrane::ui
