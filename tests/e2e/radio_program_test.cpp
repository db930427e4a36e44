// The transmitter in the real window: a virtual joystick moved by the test,
// the interface chosen in "Steuerung", its live view and its calibration.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "base/pictures/png_codec.h"
#include "program_driver.h"
#include "support/temp_dir.h"

namespace veltrane::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kBarY = 8;
constexpr int kSteuerungX = 411;
constexpr int kAnalogeY = 55;

int Brightness(const pictures::Picture& p, int x, int y) {
  const std::uint8_t* q = p.At(x, y);
  return q[0] + q[1] + q[2];
}

// Dialog pixels: ImGui's dark backgrounds and dark blue frames, neither grass nor sky.
int DialogPixels(const pictures::Picture& p, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1 && y < p.height; ++y)
    for (int x = x0; x < x1 && x < p.width; ++x) {
      const std::uint8_t* q = p.At(x, y);
      const int b = Brightness(p, x, y);
      if (b < 150 || (q[2] >= q[1] && b < 300)) ++n;
    }
  return n;
}

// The bars' green.
int GreenPixels(const pictures::Picture& p, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1 && y < p.height; ++y)
    for (int x = x0; x < x1 && x < p.width; ++x) {
      const std::uint8_t* q = p.At(x, y);
      if (q[1] > 170 && q[0] < 110 && q[2] < 140) ++n;
    }
  return n;
}

int ChangedPixels(const pictures::Picture& a, const pictures::Picture& b, int x0, int y0, int x1, int y1) {
  if (a.width != b.width || a.height != b.height) return a.width * a.height;
  int n = 0;
  for (int y = y0; y < y1 && y < a.height; ++y)
    for (int x = x0; x < x1 && x < a.width; ++x)
      if (std::abs(Brightness(a, x, y) - Brightness(b, x, y)) > 60) ++n;
  return n;
}

class RadioProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display";
    axes_ = dir_ / "axes.txt";
    Move("0 0 0 32767 0 0");  // sticks centred, throttle closed
    program_ = std::make_unique<ProgramDriver>(VELTRANE_PROGRAM, dir_,
                                               std::vector<std::string>{"--test-joystick", axes_.string()});
    ASSERT_TRUE(program_->Start()) << "no window with focus";
  }
  void TearDown() override { program_.reset(); }
  void Move(const std::string& axes) {
    const fs::path tmp = dir_ / "axes.tmp";
    std::ofstream(tmp) << axes << "\n";
    fs::rename(tmp, axes_);
  }
  // Software rendering on a busy machine gives slow frames: every step is held
  // long enough for the toolkit to see it in a frame of its own.
  bool Xdo(const std::string& a) { return std::system(("timeout 20 xdotool " + a + " >/dev/null 2>&1").c_str()) == 0; }
  bool Hover(int x, int y) {
    const bool ok = Xdo("mousemove --window " + std::to_string(program_->Window()) + " " + std::to_string(x) + " " +
                        std::to_string(y));
    std::this_thread::sleep_for(500ms);
    return ok;
  }
  bool Press(int x, int y) {
    if (!Hover(x, y) || !Xdo("mousedown 1")) return false;
    std::this_thread::sleep_for(600ms);
    const bool up = Xdo("mouseup 1");
    std::this_thread::sleep_for(300ms);
    return up;
  }
  bool HoldKey(const std::string& key) {
    if (!Xdo("keydown " + key)) return false;
    std::this_thread::sleep_for(600ms);
    return Xdo("keyup " + key);
  }
  void Keep(const pictures::Picture& p, const std::string& name) {
    if (const char* d = std::getenv("VELTRANE_E2E_SHOTS")) pictures::WritePng((fs::path(d) / name).string(), p);
  }
  bool ShowsSoon(const std::function<bool(const pictures::Picture&)>& ok, pictures::Picture* out = nullptr) {
    pictures::Picture last;
    bool r = WaitUntil(
        [&] {
          last = program_->Grab();
          return last.width > 0 && ok(last);
        },
        5s);
    if (out) *out = last;
    return r;
  }

  test_support::TempDir temp_;
  const fs::path dir_ = temp_.path();
  fs::path axes_;
  std::unique_ptr<ProgramDriver> program_;
};

// Places in a 640x480 window (13 px DejaVu Sans).
constexpr int kDateiX = 24, kBeendenY = 131;
constexpr int kJoystickEntryX = 190, kJoystickEntryY = 213, kPicEntryY = 264;
constexpr int kEigenschaftenX = 217, kKalibrationX = 420, kSubButtonsY = 293;
constexpr int kSelectionOkX = 170, kSelectionOkY = 320;
constexpr int kJoyOkX = 178, kJoyOkY = 346;
constexpr int kCalibButtonX = 400, kCalibButtonY = 343;
constexpr int kCalibOkX = 111, kCalibOkY = 370;
constexpr int kAwayX = 620, kAwayY = 460;  // outside every dialog

bool SelectionShown(const pictures::Picture& p) {
  return DialogPixels(p, 115, 145, 525, 335) > 60000 && GreenPixels(p, 60, 110, 580, 380) < 50;
}
bool NothingInFront(const pictures::Picture& p) { return DialogPixels(p, 115, 145, 525, 335) < 20000; }
bool JoystickShown(const pictures::Picture& p) { return GreenPixels(p, 128, 262, 146, 300) > 500; }
bool CalibrationShown(const pictures::Picture& p) { return GreenPixels(p, 341, 200, 359, 262) > 500; }
bool MenuOpen(const pictures::Picture& p) { return DialogPixels(p, 385, 22, 525, 66) > 4000; }

// The value of `key=` in a section of the settings text, NaN when missing.
double Setting(const std::string& settings, const std::string& section, const std::string& key) {
  const auto start = settings.find("[" + section + "]");
  if (start == std::string::npos) return std::nan("");
  const auto end = settings.find("\n[", start);
  const auto at = settings.find("\n" + key + "=", start);
  if (at == std::string::npos || at > end) return std::nan("");
  // The program runs in a German locale, which writes decimal commas.
  std::string value = settings.substr(at + key.size() + 2, settings.find('\n', at + 1) - (at + key.size() + 2));
  std::replace(value.begin(), value.end(), ',', '.');
  return std::strtod(value.c_str(), nullptr);
}

// The rest of the class's helpers need the driver.
class RadioFlow : public RadioProgramTest {
 protected:
  // Clicks until the picture shows `ok`: a click lost in a slow frame is repeated,
  // one that took effect is not.
  bool PressUntil(int x, int y, const std::function<bool(const pictures::Picture&)>& ok) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (!Press(x, y)) return false;
      if (ShowsSoon(ok)) return true;
    }
    return false;
  }
  // Clicks until the region changes; the mouse is kept away while looking, so
  // that a hover highlight does not count.
  bool PressChanging(int x, int y, int x0, int y0, int x1, int y1) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (!Hover(kAwayX, kAwayY)) return false;
      const pictures::Picture before = program_->Grab();
      if (!Press(x, y) || !Hover(kAwayX, kAwayY)) return false;
      if (ShowsSoon([&](const pictures::Picture& p) { return ChangedPixels(before, p, x0, y0, x1, y1) > 20; }))
        return true;
    }
    return false;
  }
  void OpenSelection() {
    ASSERT_TRUE(PressUntil(kSteuerungX, kBarY, MenuOpen)) << "no Steuerung menu";
    ASSERT_TRUE(PressUntil(kSteuerungX, kAnalogeY, SelectionShown)) << "no selection dialog";
  }
  void Quit() {
    ASSERT_TRUE(PressUntil(kDateiX, kBarY, [](const pictures::Picture& p) { return DialogPixels(p, 0, 22, 120, 66) > 3000; }));
    ASSERT_TRUE(Press(kDateiX - 8, kBeendenY));
    EXPECT_EQ(program_->WaitExit(20s), 0);
  }
};

TEST_F(RadioFlow, JoystickChosenInSteuerungFliesTheModel) {
  OpenSelection();
  Keep(program_->Grab(), "dialog_steuerung.png");

  // "Eigenschaften" of the joystick: its live view follows the stick.
  ASSERT_TRUE(PressChanging(kJoystickEntryX, kJoystickEntryY, 120, 205, 520, 222));
  ASSERT_TRUE(PressUntil(kEigenschaftenX, kSubButtonsY, JoystickShown)) << "no joystick dialog";
  ASSERT_LT(GreenPixels(program_->Grab(), 128, 216, 146, 254), 50);
  Move("-32768 0 0 32767 0 0");
  pictures::Picture shot;
  ASSERT_TRUE(ShowsSoon([&](const pictures::Picture& p) { return GreenPixels(p, 128, 216, 146, 254) > 500; }, &shot))
      << "the joystick view does not follow the stick";
  Keep(shot, "dialog_joystick.png");
  ASSERT_TRUE(PressUntil(kJoyOkX, kJoyOkY, SelectionShown)) << "the joystick dialog does not hand back";

  // The list shows the active entry again: choose the joystick once more, then Ok.
  ASSERT_TRUE(PressChanging(kJoystickEntryX, kJoystickEntryY, 120, 205, 520, 222));
  Move("0 0 0 32767 0 0");
  ASSERT_TRUE(PressUntil(kSelectionOkX, kSelectionOkY, NothingInFront)) << "the selection dialog stays open";

  // Throttle closed: the model stands still; full throttle: it rolls away.
  std::this_thread::sleep_for(1500ms);
  const pictures::Picture still = program_->Grab();
  std::this_thread::sleep_for(1000ms);
  EXPECT_LT(ChangedPixels(still, program_->Grab(), 0, 30, 640, 480), 300) << "the model moves with the throttle closed";
  Move("0 0 0 -32768 0 0");
  EXPECT_TRUE(WaitUntil([&] { return ChangedPixels(still, program_->Grab(), 0, 30, 640, 480) > 3000; }, 10s))
      << "full throttle on the joystick does not move the model";

  // Pulled out mid-flight: no channels, and the program goes on.
  Move("unplugged");
  std::this_thread::sleep_for(1000ms);
  EXPECT_TRUE(program_->Running());

  Quit();
  const std::string s = program_->Settings();
  EXPECT_EQ(Setting(s, "RadioForm", "InterfaceIndex"), 1) << s;
  EXPECT_NE(s.find("[RcJoyForm]"), std::string::npos);
  EXPECT_EQ(Setting(s, "RcJoyForm", "centre0"), 0.5);  // the defaults of SDL's axis range
}

TEST_F(RadioFlow, CalibrationAndAssignmentThroughTheDialog) {
  OpenSelection();
  ASSERT_TRUE(PressChanging(kJoystickEntryX, kJoystickEntryY, 120, 205, 520, 222));
  ASSERT_TRUE(PressUntil(kKalibrationX, kSubButtonsY, CalibrationShown)) << "no calibration dialog";

  // Rudder fed by channel 2 and reversed.
  ASSERT_TRUE(Hover(kAwayX, kAwayY));
  const pictures::Picture before = program_->Grab();
  ASSERT_TRUE(Press(215, 164));  // the field takes the focus
  ASSERT_TRUE(HoldKey("End") && HoldKey("BackSpace") && program_->Key("2"));
  ASSERT_TRUE(Hover(kAwayX, kAwayY));
  ASSERT_TRUE(ShowsSoon([&](const pictures::Picture& p) { return ChangedPixels(before, p, 205, 152, 250, 176) > 5; }))
      << "the channel field did not change";
  ASSERT_TRUE(PressChanging(269, 164, 259, 154, 281, 174));

  // Range capture of X between -20000 and 20000, then centred at 5000.
  ASSERT_TRUE(PressChanging(kCalibButtonX, kCalibButtonY, 310, 280, 580, 352));
  for (const char* axes : {"-20000 0 0 0 0 0", "20000 0 0 0 0 0", "0 0 0 0 0 0"}) {
    Move(axes);
    std::this_thread::sleep_for(700ms);
  }
  ASSERT_TRUE(PressChanging(kCalibButtonX, kCalibButtonY, 310, 280, 580, 352));  // "Weiter"
  Move("5000 0 0 0 0 0");
  std::this_thread::sleep_for(700ms);
  Keep(program_->Grab(), "dialog_calibration.png");
  ASSERT_TRUE(PressChanging(kCalibButtonX, kCalibButtonY, 310, 280, 580, 352));  // "Fertig"
  ASSERT_TRUE(PressUntil(kCalibOkX, kCalibOkY, SelectionShown)) << "not back in the selection";
  ASSERT_TRUE(PressChanging(kJoystickEntryX, kJoystickEntryY, 120, 205, 520, 222));
  ASSERT_TRUE(PressUntil(kSelectionOkX, kSelectionOkY, NothingInFront));

  Quit();
  const std::string s = program_->Settings();
  // Channel values are the negated positions: seen from -20000 to 20000, centred at -5000.
  EXPECT_EQ(Setting(s, "RcJoyForm", "centre0"), -5000) << s;
  EXPECT_NEAR(Setting(s, "RcJoyForm", "fup0"), 1.0 / 25000, 1e-15);
  EXPECT_NEAR(Setting(s, "RcJoyForm", "fdown0"), 1.0 / 15000, 1e-15);
  EXPECT_EQ(Setting(s, "RcJoyForm", "i0"), 1);
  EXPECT_EQ(Setting(s, "RcJoyForm", "inv0"), 1);
  EXPECT_EQ(Setting(s, "RadioForm", "InterfaceIndex"), 1);
}

TEST_F(RadioFlow, SerialBoardPropertiesAndAbbrechen) {
  OpenSelection();
  ASSERT_TRUE(PressChanging(kJoystickEntryX, kPicEntryY, 120, 256, 520, 272));
  // The selection gives way to the PIC dialog.
  ASSERT_TRUE(PressChanging(kEigenschaftenX, kSubButtonsY, 115, 145, 525, 335)) << "no PIC-Interface dialog";
  ASSERT_TRUE(ShowsSoon([](const pictures::Picture& p) { return DialogPixels(p, 200, 200, 440, 280) > 15000; }));
  ASSERT_TRUE(PressChanging(179, 280, 165, 270, 345, 290));  // "19200 Baud / 0xFF Sync"
  Keep(program_->Grab(), "dialog_pic.png");
  ASSERT_TRUE(PressUntil(206, 306, SelectionShown)) << "Ok does not hand back to the selection";
  ASSERT_TRUE(PressUntil(278, kSelectionOkY, NothingInFront)) << "Abbrechen does not close the selection";

  Quit();
  const std::string s = program_->Settings();
  EXPECT_EQ(Setting(s, "RcPICForm", "Protocol"), 1) << s;
  EXPECT_EQ(Setting(s, "RadioForm", "InterfaceIndex"), 0);  // chosen, then cancelled
}

}  // namespace
}  // namespace veltrane::test
