#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/main_form.h"
#include "radio/radio_form.h"
#include "ui/calib_dialog.h"
#include "ui/frame_timer.h"
#include "ui/joy_dialog.h"
#include "ui/language.h"
#include "ui/pic_dialog.h"
#include "ui/radio_dialog.h"

namespace veltrane::ui {

// "Steuerung" and the dialogs opened from it, drawn with Dear ImGui. A
// sub-dialog replaces the selection dialog while it is open and hands back to
// it when it closes, which is when the selection becomes active again.
class RadioUi {
 public:
  RadioUi(TMainForm& form, TRadioForm& radio, FrameTimer& timer, const LanguageTexts& texts);
  ~RadioUi();

  void Open();  // "&Analoge Steuerung..."
  bool IsOpen() const { return shown_ != Shown::None; }
  void Draw();

 private:
  enum class Shown { None, Selection, Joystick, Pic, Calibration, Message };

  void Show(Shown s);
  void DrawSelection();
  void DrawJoystick();
  void DrawPic();
  void DrawCalibration();
  void DrawMessage();
  void BackToSelection();
  void OpenProperties();
  void ApplyTexts();
  const std::string& T(const char* section, const std::string& key) const;

  TMainForm& form_;
  TRadioForm& radio_;
  const LanguageTexts& texts_;
  RadioDialog selection_;
  std::unique_ptr<JoyDialog> joystick_;
  std::unique_ptr<PicDialog> pic_;
  CalibDialog calib_;
  Shown shown_ = Shown::None;
  bool popupOpened_ = false;
  std::string message_;
  std::array<std::array<char, 16>, kFunctionCount> rowBuf_{};
};

}  // namespace veltrane::ui
