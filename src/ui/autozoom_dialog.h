#pragma once

#include <optional>
#include <string>

#include "ui/frame_timer.h"

namespace veltrane::ui {

// The autozoom distances and speed the dialog edits.
struct AutozoomSettings {
  double fNoZoom = 10.0;
  double fFullZoom = 60.0;
  int fZoomSpeed = 50;
};

// "Autozoom": two distance fields and a speed scroll bar.
class TAZoomForm {
 public:
  static constexpr int kMinSpeed = 25;
  static constexpr int kMaxSpeed = 200;

  explicit TAZoomForm(FrameTimer& timer) : timer_(timer) {}

  void FormActivate(const AutozoomSettings& current);
  void FormDeactivate();
  // Ok: takes the fields into target. A field that is not a whole number ends
  // the taking there and its message is returned; the fields before it stay taken.
  std::optional<std::string> Button1Click(AutozoomSettings& target) const;

  std::string noZoomText;    // "Kein Autozoom bis:"
  std::string fullZoomText;  // "Voller Autozoom ab:"
  int speed = 50;            // scroll bar, kept within 25..200

  void SetSpeed(int value);
  // The shortest decimal text of a number, as the fields show it (10, 60, 12.5).
  static std::string ShortestText(double value);
  // The message for text that is not a whole number.
  static std::string InvalidNumberMessage(const std::string& text);
  // The message for 0 and 0, which would zoom without end.
  static std::string ZeroRangeMessage();

 private:
  FrameTimer& timer_;
};

// Whole-number text as the dialogs accept it: optional sign and digits, blanks
// around it allowed. Nothing else.
std::optional<int> ParseWholeNumber(const std::string& text);

}  // namespace veltrane::ui
