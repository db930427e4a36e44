#pragma once

#include <string>
#include <vector>

#include "ui/frame_timer.h"

namespace veltrane::ui {

// "Sound": on/off, master volume and the vario's volume. Stops the frame timer while active.
class TSoundForm {
 public:
  explicit TSoundForm(FrameTimer& timer) : timer_(timer) {}
  void FormActivate(bool soundEin, int soundVolume, int varioVolume = 70);
  void FormDeactivate() { timer_.SetTimerEnabled(true); }
  void SetVolume(int v);
  void SetVarioVolume(int v);

  bool checkBox = true;  // "Sound ein/aus"
  int volume = 70;       // scroll bar 0..100
  int varioVolume = 70;  // scroll bar 0..100

 private:
  FrameTimer& timer_;
};

// The graphics options the dialog edits.
struct GraphicsOptions {
  int bitCount = 16;
  bool waitVBlank = true;
  bool flip = true;
  bool mipmapping = true;
};

// "Grafik Optionen": colour depth, vertical blank, flip, mipmapping.
class TGraphConfigForm {
 public:
  void FormShow(const GraphicsOptions& current);
  // Ok: 16 when "16-Bit Farbtiefe" is selected, else 32.
  GraphicsOptions Button1Click() const;

  bool radio16 = true;  // "16-Bit Farbtiefe" (else "32-Bit Farbtiefe")
  bool waitVBlank = true;
  bool flip = true;
  bool mipmapping = true;
};

// "Grafikkarte auswählen": the list of displays, with the stored one selected.
class TConfigForm {
 public:
  // An index outside the list falls back to the first entry.
  void FormCreate(std::vector<std::string> driverDescriptions, int iDXDrawDriver);
  // Ok: the chosen index (0 when the list is empty).
  int Button1Click() const { return selected < 0 ? 0 : selected; }

  std::vector<std::string> drivers;
  int selected = 0;
};

// "Info"/"About": the credits scrolling over the picture, one pixel per 30 ms tick.
class TInfoForm {
 public:
  static constexpr int kAreaWidth = 348;
  static constexpr int kAreaHeight = 204;
  static constexpr int kTimerMs = 30;
  static constexpr int kLinePitch = 16;

  explicit TInfoForm(FrameTimer& timer) : timer_(timer) {}
  // The caption follows the language: "Info" in German, "About" otherwise.
  void FormActivate(int iLanguage);
  void FormDeactivate();
  // One timer tick: advances the scroll offset and wraps it.
  void DXTimerTimer();
  // Top of line i in the picture area at the current offset.
  int LineY(std::size_t i) const;
  // Left edge of a centred line of the given width.
  static int LineX(int textWidth) { return (kAreaWidth - textWidth) / 2; }

  std::string caption = "Info";
  std::vector<std::string> CreditLines;
  int ScrollOffset = 0;
  bool timerRunning = false;

 private:
  FrameTimer& timer_;
};

// The credits shown by the information dialog; the first line is the program name.
// Lines stay short enough (about 34 characters) to fit the 348-pixel picture.
std::vector<std::string> DefaultCredits();

}  // namespace veltrane::ui
