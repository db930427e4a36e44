// Every dialog of the menu in one run of the program: opened from the menu,
// changed, confirmed, opened again and left with Esc; then a flight on the
// keyboard, and the settings file after SIGTERM.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "program_fixture.h"
#include "x_screen.h"

namespace veltrane::test {
namespace {

using namespace std::chrono_literals;

// ImGui's blue check mark or radio dot in the box around (x, y).
int MarkPixels(const pictures::Picture& p, int x, int y) {
  int n = 0;
  for (int yy = y - 7; yy <= y + 7; ++yy)
    for (int xx = x - 8; xx <= x + 8; ++xx) {
      const std::uint8_t* q = p.At(xx, yy);
      if (q[2] > 200 && q[1] > 120 && q[1] < 180 && q[0] < 100) ++n;
    }
  return n;
}

// Where a slider's grab stands: the mean x of its blue pixels in the row (the
// frame around it is darker, hovered or not, and the value text is white).
double GrabX(const pictures::Picture& p, int left, int right, int y) {
  double sum = 0;
  int n = 0;
  for (int yy = y - 6; yy <= y + 6; ++yy)
    for (int x = left; x <= right; ++x) {
      const std::uint8_t* q = p.At(x, yy);
      if (q[2] > 200 && q[0] < 100) {
        sum += x;
        ++n;
      }
    }
  return n > 20 ? sum / n : -100.0;
}

bool Has(const std::string& text, const std::string& line) {
  return text.find("\n" + line + "\n") != std::string::npos;
}

// The same walk through every dialog in German and in Russian: the widgets
// are found by their identifiers, whatever their captions and widths.
struct Language {
  const char* name;
  int index;  // 0 German, the user's locale; others chosen in the settings
};

class EveryDialogTest : public WindowedProgramTest, public ::testing::WithParamInterface<Language> {
 protected:
  void BeforeStart() override {
    // A sound output that discards what it gets: the Sound menu is there on
    // every machine, with or without a sound card.
    ::setenv("ALSOFT_DRIVERS", "null", 1);
    if (GetParam().index != 0)
      std::ofstream(program_->ConfigDir() / "settings.ini")
          << "[MainForm]\niLanguage=" << GetParam().index << "\n";
  }

  // From the menu, until the map shows the dialog and its title bar is drawn.
  // A click that a slow software-rendered frame lost is made once more.
  void OpenDialog(const std::string& menu, const std::string& item, const std::string& dialog,
                  const std::string& shot = "") {
    pictures::Picture p;
    bool open = false;
    for (int attempt = 0; attempt < 2 && !open; ++attempt) {
      ChooseFromMenu(menu, item);
      open =
          Shows(dialog, true, 5s) &&
          ShowsSoon([&](const pictures::Picture& q) { return TitleBarDrawn(q, Ui(dialog)); }, &p);
    }
    if (!shot.empty()) Keep(p, std::string(GetParam().name) + "_" + shot);
    ASSERT_TRUE(open) << "no " << dialog << " from " << menu << " > " << item;
  }
  // A check box or radio button clicked until its mark has changed.
  void Toggle(const std::string& id) {
    const UiRect box = Ui(id);
    const int x = box.BoxX(), y = box.CenterY();
    const bool marked = MarkPixels(program_->Grab(), x, y) > 12;
    bool changed = false;
    for (int attempt = 0; attempt < 3 && !changed; ++attempt) {
      ASSERT_TRUE(program_->Click(x, y));
      changed = WaitUntil([&] { return (MarkPixels(program_->Grab(), x, y) > 12) != marked; }, 2s);
    }
    ASSERT_TRUE(changed) << "no change of " << id;
  }
  void ExpectClosed(const std::string& dialog) {
    EXPECT_TRUE(Shows(dialog, false)) << dialog << " stays open";
  }
  // A slider clicked at a fraction of its width.
  void ClickSlider(const std::string& id, double fraction) {
    const UiRect r = Ui(id);
    ASSERT_TRUE(program_->Click(r.x + static_cast<int>(r.w * fraction), r.CenterY())) << id;
  }
  // Reopened, it is left with Esc.
  void ReopenAndEscape(const std::string& menu, const std::string& item,
                       const std::string& dialog) {
    OpenDialog(menu, item, dialog);
    ASSERT_TRUE(program_->Key("Escape"));
    ExpectClosed(dialog);
  }
  int Rebuilds() const { return program_->TraceCount("TMainForm.SimInit"); }
};

TEST_P(EveryDialogTest, EachDialogChangedConfirmedReopenedAndLeftThenAFlightAndSigterm) {
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown));
  EXPECT_EQ(
      program_->TraceCount("Language.UpdateLanguage Language: " + std::to_string(GetParam().index)),
      1);

  // Datei > Grafikkarte auswählen: Abbrechen, then the display chosen and
  // Enter. Ok builds the 3D view anew and the program flies on.
  OpenDialog("file", "choose_driver", "dialog:driver", "dialog_driver.png");
  int rebuilds = Rebuilds();
  ClickUi("cancel");
  ExpectClosed("dialog:driver");
  OpenDialog("file", "choose_driver", "dialog:driver");
  ClickUi("driver0");
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed("dialog:driver");
  EXPECT_TRUE(WaitUntil([&] { return Rebuilds() > rebuilds; }, 30s)) << "no rebuild after Ok";
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown));
  ReopenAndEscape("file", "choose_driver", "dialog:driver");

  // Grafik > Optionen ...: every option changed, Ok clicked.
  OpenDialog("graphics", "graphics_options", "dialog:graphics", "dialog_graphics.png");
  rebuilds = Rebuilds();
  for (const char* id : {"color_32", "wait_vblank", "flip", "mipmapping"}) Toggle(id);
  Keep(program_->Grab(), std::string(GetParam().name) + "_dialog_graphics_changed.png");
  ClickUi("ok");
  ExpectClosed("dialog:graphics");
  EXPECT_TRUE(WaitUntil([&] { return Rebuilds() > rebuilds; }, 30s)) << "no rebuild after Ok";
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown));
  ReopenAndEscape("graphics", "graphics_options", "dialog:graphics");
  EXPECT_TRUE(program_->Running());

  // Ansicht > Autozoom einstellen...: 80 and 50 typed, Enter.
  OpenDialog("view", "autozoom_dialog", "dialog:autozoom", "dialog_autozoom.png");
  ClickUi("nozoom");
  ASSERT_TRUE(program_->Key("8 0"));
  ClickUi("fullzoom");
  ASSERT_TRUE(program_->Key("5 0"));
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed("dialog:autozoom");
  ReopenAndEscape("view", "autozoom_dialog", "dialog:autozoom");

  // Simulation > Thermik einstellen...: both sliders near their ends, Enter.
  OpenDialog("simulation", "thermal_dialog", "dialog:thermal", "dialog_thermal.png");
  ClickSlider("strength", 0.9);
  ClickSlider("count", 0.9);
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed("dialog:thermal");
  ReopenAndEscape("simulation", "thermal_dialog", "dialog:thermal");

  // Sound > Sound: switched off, quieter, Enter.
  OpenDialog("sound", "sound_dialog", "dialog:sound", "dialog_sound.png");
  Toggle("sound_on");
  ClickSlider("volume", 0.25);
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed("dialog:sound");
  ReopenAndEscape("sound", "sound_dialog", "dialog:sound");

  // Steuerung > Tastatur...: K for "Seitenruder links". K neither cancels
  // nor confirms; Enter does.
  OpenDialog("controls", "keyboard_dialog", "dialog:keys", "dialog_keys.png");
  const std::string before = Ui("key0").label;
  const auto key0 = [&] { return UiNow("key0").value_or(UiRect{}).label; };
  bool waiting = false;
  for (int attempt = 0; attempt < 2 && !waiting; ++attempt) {
    ClickUi("slot0");
    waiting = WaitUntil([&] { return key0() != before; }, 10s);
  }
  ASSERT_TRUE(waiting) << "the slot does not wait for its key";
  ASSERT_TRUE(program_->Key("k"));
  EXPECT_TRUE(WaitUntil([&] { return key0() == "K"; }, 10s)) << "K not assigned: " << key0();
  EXPECT_TRUE(UiNow("dialog:keys").has_value()) << "K closed the dialog";
  Keep(program_->Grab(), std::string(GetParam().name) + "_dialog_keys_assigned.png");
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed("dialog:keys");
  ReopenAndEscape("controls", "keyboard_dialog", "dialog:keys");

  // Hilfe > Info: Enter, then Esc.
  OpenDialog("help", "info", "dialog:info", "dialog_info_menu.png");
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed("dialog:info");
  ReopenAndEscape("help", "info", "dialog:info");

  // Flugmodell > Laden... and Landschaft > Laden...: another file, Enter.
  const int models = program_->TraceCountStartingWith("TMainForm.LoadAirplane File: ");
  OpenDialog("model", "load_model", "dialog:open", "dialog_model.png");
  ASSERT_NO_FATAL_FAILURE(SelectFile("glider.par"));
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed("dialog:open");
  EXPECT_TRUE(WaitUntil(
      [&] { return program_->TraceCountStartingWith("TMainForm.LoadAirplane File: ") > models; },
      30s));
  ReopenAndEscape("model", "load_model", "dialog:open");
  const int scenes = program_->TraceCountStartingWith("LoadLib.LoadSCN File: ");
  OpenDialog("scene", "load_scene", "dialog:open", "dialog_scene.png");
  ASSERT_NO_FATAL_FAILURE(SelectFile("lake.scn"));
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed("dialog:open");
  EXPECT_TRUE(WaitUntil(
      [&] { return program_->TraceCountStartingWith("LoadLib.LoadSCN File: ") > scenes; }, 30s));
  ReopenAndEscape("scene", "load_scene", "dialog:open");

  // F12 hides the menu and the mouse cursor, and the cursor stays hidden
  // over the following frames; F12 shows both again.
  ASSERT_TRUE(program_->Click(320, 300));
  ASSERT_TRUE(WaitUntil(CursorVisible, 5s)) << "no cursor over the window";
  ASSERT_TRUE(program_->Key("F12"));
  ASSERT_TRUE(ShowsSoon([](const pictures::Picture& p) { return !MenuBarShown(p); }));
  std::this_thread::sleep_for(1s);
  EXPECT_FALSE(CursorVisible()) << "the cursor came back with the menu hidden";
  ASSERT_TRUE(program_->Key("F12"));
  ASSERT_TRUE(ShowsSoon(MenuBarShown));
  EXPECT_TRUE(WaitUntil(CursorVisible, 5s));

  // On the keyboard until the view has changed thrice: a hand launch, the elevator now and then.
  ASSERT_TRUE(program_->Key("r"));
  const int moving = CountViewChanges(
      3,
      [&](int step) {
        const char* key = step % 2 ? "Down" : "Up";
        ASSERT_TRUE(program_->KeyDown(key));
        std::this_thread::sleep_for(300ms);
        ASSERT_TRUE(program_->KeyUp(key));
      },
      2, "flight_glider_lake.png");
  EXPECT_TRUE(program_->Running());
  EXPECT_GE(moving, 3) << "the view stood still";
  const std::string trace = program_->TraceText();
  EXPECT_EQ(trace.find("Exception"), std::string::npos) << trace;

  ASSERT_TRUE(program_->Terminate());
  EXPECT_EQ(program_->WaitExit(20s), 0);
  const std::string s = "\n" + program_->Settings();
  for (const char* line :
       {"iDXDrawDriver=0", "BitCount=32", "doWaitVBlank=0", "doFlip=0", "Mipmapping=0",
        "fNoZoom=80", "fFullZoom=82", "SoundEin=0", "KeyChannel0=75", "Running=0"})
    EXPECT_TRUE(Has(s, line)) << line << " missing in" << s;
  EXPECT_FALSE(Has(s, "BubbleZ=2")) << "thermal strength unchanged";
  EXPECT_FALSE(Has(s, "iBubbles=40")) << "thermal count unchanged";
  EXPECT_FALSE(Has(s, "SoundVolume=70")) << "volume unchanged";
  EXPECT_NE(s.find("/Model/glider.par\n"), std::string::npos);
  EXPECT_NE(s.find("/Landscape/lake.scn\n"), std::string::npos);
}

// Simulation > Wind einstellen...: speed and direction changed, Ok; opened again
// they stand where they were left; gusts changed and Esc keeps nothing of it;
// turbulence changed and Enter applies. The settings file holds what was confirmed.
TEST_P(EveryDialogTest, WindChangedConfirmedKeptLeftWithEscAndConfirmedWithEnter) {
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown));
  const auto grabAt = [](const pictures::Picture& p, const UiRect& r) {
    return GrabX(p, r.x, r.x + r.w, r.CenterY());
  };

  OpenDialog("simulation", "wind_dialog", "dialog:wind", "dialog_wind.png");
  const UiRect speedSlider = Ui("speed_slider"), directionSlider = Ui("direction_slider");
  const UiRect gustsSlider = Ui("gusts"), turbulenceSlider = Ui("turbulence");
  const auto grabs = [&](const pictures::Picture& p) {
    return std::pair{grabAt(p, speedSlider), grabAt(p, directionSlider)};
  };
  const auto still = grabs(program_->Grab());
  ClickSlider("speed_slider", 0.6);       // about 12 m/s
  ClickSlider("direction_slider", 0.75);  // about 270°
  pictures::Picture p;
  ASSERT_TRUE(ShowsSoon(
      [&](const pictures::Picture& q) {
        const auto [speed, direction] = grabs(q);
        return speed > still.first + 100 && direction > still.second + 100;
      },
      &p))
      << "the sliders did not move";
  Keep(p, std::string(GetParam().name) + "_dialog_wind_changed.png");
  const auto changed = grabs(p);
  ClickUi("ok");
  ExpectClosed("dialog:wind");

  OpenDialog("simulation", "wind_dialog", "dialog:wind");
  p = program_->Grab();
  const auto kept = grabs(p);
  EXPECT_NEAR(kept.first, changed.first, 2.0) << "speed not kept";
  EXPECT_NEAR(kept.second, changed.second, 2.0) << "direction not kept";
  const double gusts = grabAt(p, gustsSlider);
  ClickSlider("gusts", 0.8);
  ASSERT_TRUE(program_->Key("Escape"));
  ExpectClosed("dialog:wind");

  OpenDialog("simulation", "wind_dialog", "dialog:wind");
  EXPECT_NEAR(grabAt(program_->Grab(), gustsSlider), gusts, 2.0) << "Esc kept the gusts";
  ClickSlider("turbulence", 0.5);
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed("dialog:wind");
  EXPECT_TRUE(program_->Running());

  ASSERT_TRUE(program_->Terminate());
  EXPECT_EQ(program_->WaitExit(20s), 0);
  const std::string s = "\n" + program_->Settings();
  const auto section = s.find("\n[WindForm]\n");
  ASSERT_NE(section, std::string::npos) << s;
  const std::string wind = s.substr(section);
  for (const char* key : {"fWindSpeed=", "fWindDirection=", "iTurbulence="}) {
    EXPECT_NE(wind.find(std::string("\n") + key), std::string::npos)
        << key << " missing in" << wind;
    EXPECT_FALSE(Has(wind, std::string(key) + "0")) << key << " still 0 in" << wind;
  }
  EXPECT_TRUE(Has(wind, "iGusts=0")) << "gusts changed by Esc in" << wind;
  EXPECT_TRUE(Has(wind, "iTurbulenceSeed=1")) << wind;
}

INSTANTIATE_TEST_SUITE_P(Languages, EveryDialogTest,
                         ::testing::Values(Language{"German", 0}, Language{"Russian", 4}),
                         [](const ::testing::TestParamInfo<Language>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace veltrane::test
