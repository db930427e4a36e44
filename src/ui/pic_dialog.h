#pragma once

#include <array>
#include <string>
#include <vector>

#include "radio/pic/rc_pic_form.h"

namespace veltrane::ui {

// "PIC-Interface": the serial port and the wire protocol of the serial board.
class PicDialog {
 public:
  static const std::array<std::string, TRcPICForm::kProtocols>& ProtocolTexts();

  explicit PicDialog(TRcPICForm& pic) : pic_(pic) {}

  void FormShow();  // the list selects the port in force
  void ChoosePort(int entry);
  void Ok();
  void Cancel();

  const std::vector<std::string>& Ports() const { return pic_.PortList(); }
  int selectedPort = -1;  // -1: none listed (or the port in force is not listed)
  int protocol = 0;

 private:
  TRcPICForm& pic_;
};

}  // namespace veltrane::ui
