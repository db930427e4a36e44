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

#include "program_fixture.h"

namespace veltrane::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

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

int ChangedPixels(const pictures::Picture& a, const pictures::Picture& b, int x0, int y0, int x1,
                  int y1) {
  if (a.width != b.width || a.height != b.height) return a.width * a.height;
  int n = 0;
  for (int y = y0; y < y1 && y < a.height; ++y)
    for (int x = x0; x < x1 && x < a.width; ++x)
      if (std::abs(Brightness(a, x, y) - Brightness(b, x, y)) > 60) ++n;
  return n;
}

class RadioProgramTest : public WindowedProgramTest {
 protected:
  std::vector<std::string> ExtraArgs() const override {
    return {"--test-joystick", AxesPath().string()};
  }
  void BeforeStart() override { Move("0 0 0 32767 0 0"); }  // sticks centred, throttle closed
  fs::path AxesPath() const { return dir_ / "axes.txt"; }
  void Move(const std::string& axes) {
    const fs::path tmp = dir_ / "axes.tmp";
    std::ofstream(tmp) << axes << "\n";
    fs::rename(tmp, AxesPath());
  }
  // Software rendering on a busy machine gives slow frames: every step is held
  // long enough for the toolkit to see it in a frame of its own.
  bool Xdo(const std::string& a) {
    return std::system(("timeout 20 xdotool " + a + " >/dev/null 2>&1").c_str()) == 0;
  }
  bool Hover(int x, int y) {
    const bool ok = Xdo("mousemove --window " + std::to_string(program_->Window()) + " " +
                        std::to_string(x) + " " + std::to_string(y));
    std::this_thread::sleep_for(500ms);
    return ok;
  }
  // The mouse where no widget is: the window's bottom right corner.
  bool HoverAway() {
    int w = 0, h = 0;
    return program_->WindowSize(&w, &h) && Hover(w - 10, h - 10);
  }
  bool Press(int x, int y) {
    if (!Hover(x, y) || !Xdo("mousedown 1")) return false;
    std::this_thread::sleep_for(600ms);
    const bool up = Xdo("mouseup 1");
    std::this_thread::sleep_for(300ms);
    return up;
  }
  bool Press(const std::string& id) {
    const UiRect r = Ui(id);
    return Press(r.CenterX(), r.CenterY());
  }
  bool HoldKey(const std::string& key) {
    if (!Xdo("keydown " + key)) return false;
    std::this_thread::sleep_for(600ms);
    return Xdo("keyup " + key);
  }
};

// Green in a widget's or dialog's rectangle.
int GreenIn(const pictures::Picture& p, const UiRect& r) {
  return GreenPixels(p, r.x, r.y, r.x + r.w, r.y + r.h);
}

// The value of `key=` in a section of the settings text, NaN when missing.
double Setting(const std::string& settings, const std::string& section, const std::string& key) {
  const auto start = settings.find("[" + section + "]");
  if (start == std::string::npos) return std::nan("");
  const auto end = settings.find("\n[", start);
  const auto at = settings.find("\n" + key + "=", start);
  if (at == std::string::npos || at > end) return std::nan("");
  // The program runs in a German locale, which writes decimal commas.
  std::string value =
      settings.substr(at + key.size() + 2, settings.find('\n', at + 1) - (at + key.size() + 2));
  std::replace(value.begin(), value.end(), ',', '.');
  return std::strtod(value.c_str(), nullptr);
}

// The rest of the class's helpers need the driver.
class RadioFlow : public RadioProgramTest {
 protected:
  // Presses a widget until the map shows `shown` (or, with shown false, no
  // longer shows it): a press lost in a slow frame is repeated, one that took
  // effect is not.
  bool PressUntil(const std::string& id, const std::string& dialog, bool shown = true) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (!Press(id)) return false;
      if (Shows(dialog, shown, 5s)) return true;
    }
    return false;
  }
  // Presses a widget until its rectangle looks different; the mouse is kept
  // away while looking, so that a hover highlight does not count.
  bool PressChanging(const std::string& id) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      const UiRect r = Ui(id);
      if (!HoverAway()) return false;
      const pictures::Picture before = program_->Grab();
      if (!Press(r.CenterX(), r.CenterY()) || !HoverAway()) return false;
      if (ShowsSoon([&](const pictures::Picture& p) {
            return ChangedPixels(before, p, r.x, r.y, r.x + r.w, r.y + r.h) > 20;
          }))
        return true;
    }
    return false;
  }
  void OpenSelection() {
    bool open = false;
    for (int attempt = 0; attempt < 3 && !open; ++attempt) {
      ChooseFromMenu("controls", "radio_dialog");
      open = Shows("dialog:radio", true, 5s);
    }
    ASSERT_TRUE(open) << "no selection dialog";
  }
  void Quit() {
    ChooseFromMenu("file", "quit");
    EXPECT_EQ(program_->WaitExit(20s), 0);
  }
};

TEST_F(RadioFlow, JoystickChosenInSteuerungFliesTheModel) {
  OpenSelection();
  Keep(program_->Grab(), "dialog_steuerung.png");

  // "Eigenschaften" of the joystick: its live view follows the stick.
  ASSERT_TRUE(PressChanging("entry1"));  // the joystick
  ASSERT_TRUE(PressUntil("properties", "dialog:joystick")) << "no joystick dialog";
  ASSERT_TRUE(ShowsSoon(
      [&](const pictures::Picture& p) { return TitleBarDrawn(p, Ui("dialog:joystick")); }));
  const int centred = GreenIn(program_->Grab(), Ui("dialog:joystick"));
  Move("-32768 0 0 32767 0 0");
  pictures::Picture shot;
  ASSERT_TRUE(ShowsSoon(
      [&](const pictures::Picture& p) { return GreenIn(p, Ui("dialog:joystick")) > centred + 500; },
      &shot))
      << "the joystick view does not follow the stick";
  Keep(shot, "dialog_joystick.png");
  ASSERT_TRUE(PressUntil("ok", "dialog:radio")) << "the joystick dialog does not hand back";

  // The list shows the active entry again: choose the joystick once more, then Ok.
  ASSERT_TRUE(PressChanging("entry1"));
  Move("0 0 0 32767 0 0");
  ASSERT_TRUE(PressUntil("ok", "dialog:radio", false)) << "the selection dialog stays open";

  // Throttle closed: the model stands still; full throttle: it rolls away.
  std::this_thread::sleep_for(1500ms);
  const pictures::Picture still = program_->Grab();
  std::this_thread::sleep_for(1000ms);
  EXPECT_LT(ChangedPixels(still, program_->Grab(), 0, 30, 640, 480), 300)
      << "the model moves with the throttle closed";
  Move("0 0 0 -32768 0 0");
  EXPECT_TRUE(WaitUntil(
      [&] { return ChangedPixels(still, program_->Grab(), 0, 30, 640, 480) > 3000; }, 10s))
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
  ASSERT_TRUE(PressChanging("entry1"));
  ASSERT_TRUE(PressUntil("calibration", "dialog:calibration")) << "no calibration dialog";

  // Rudder fed by channel 2 and reversed: the field, as the map reads it, holds just "2".
  const auto typed = [&] { return UiNow("ch0").value_or(UiRect{}).label; };
  bool two = false;
  for (int attempt = 0; attempt < 3 && !two; ++attempt) {
    ASSERT_TRUE(Press("ch0"));  // the field takes the focus
    ASSERT_TRUE(HoldKey("End") && HoldKey("BackSpace") && HoldKey("BackSpace") &&
                program_->Key("2"));
    two = WaitUntil([&] { return typed() == "2"; }, 10s);
  }
  ASSERT_TRUE(two) << "the channel field holds \"" << typed() << "\"";
  ASSERT_TRUE(PressChanging("inv0"));

  // Range capture of X between -20000 and 20000, then centred at 5000. The first
  // channel's bar tells what the capture has seen: it stands still until both
  // ends are known, then reads 0 at 20000 (the channel is the negated position)
  // and 50 in the middle.
  const auto bar = [&] { return UiNow("bar0").value_or(UiRect{}).label; };
  ASSERT_TRUE(PressChanging("calib"));
  Move("-20000 0 0 0 0 0");
  std::this_thread::sleep_for(700ms);
  Move("20000 0 0 0 0 0");
  for (int attempt = 0; attempt < 3 && bar() != "0"; ++attempt) {
    // A busy machine may have skipped the low end: show it again.
    if (!WaitUntil([&] { return bar() == "0"; }, 5s)) {
      Move("-20000 0 0 0 0 0");
      std::this_thread::sleep_for(1s);
      Move("20000 0 0 0 0 0");
    }
  }
  ASSERT_EQ(bar(), "0") << "the capture did not see both ends";
  Move("0 0 0 0 0 0");
  ASSERT_TRUE(WaitUntil([&] { return bar() == "50"; }, 10s)) << bar();
  ASSERT_TRUE(PressChanging("calib"));  // "Weiter"
  Move("5000 0 0 0 0 0");
  std::this_thread::sleep_for(700ms);
  Keep(program_->Grab(), "dialog_calibration.png");
  ASSERT_TRUE(PressChanging("calib"));  // "Fertig"
  // Centred at 5000, a stick at 12500 is half way down (25); centred at 0 it would read 19.
  Move("12500 0 0 0 0 0");
  ASSERT_TRUE(WaitUntil(
      [&] {
        const int b = std::atoi(bar().c_str());
        return b >= 23 && b <= 27;
      },
      10s))
      << "centre not taken at 5000: bar " << bar();
  ASSERT_TRUE(PressUntil("ok", "dialog:radio")) << "not back in the selection";
  ASSERT_TRUE(PressChanging("entry1"));
  ASSERT_TRUE(PressUntil("ok", "dialog:radio", false));

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
  ASSERT_TRUE(PressChanging("entry4"));  // the serial PIC interface
  // The selection gives way to the PIC dialog.
  ASSERT_TRUE(PressUntil("properties", "dialog:pic")) << "no PIC-Interface dialog";
  ASSERT_TRUE(PressChanging("protocol1"));  // "19200 Baud / 0xFF Sync"
  Keep(program_->Grab(), "dialog_pic.png");
  ASSERT_TRUE(PressUntil("ok", "dialog:radio")) << "Ok does not hand back to the selection";
  ASSERT_TRUE(PressUntil("cancel", "dialog:radio", false))
      << "Abbrechen does not close the selection";

  Quit();
  const std::string s = program_->Settings();
  EXPECT_EQ(Setting(s, "RcPICForm", "Protocol"), 1) << s;
  EXPECT_EQ(Setting(s, "RadioForm", "InterfaceIndex"), 0);  // chosen, then cancelled
}

}  // namespace
}  // namespace veltrane::test
