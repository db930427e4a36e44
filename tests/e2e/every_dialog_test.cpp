// Every dialog of the menu in one run of the program: opened from the menu,
// changed, confirmed, opened again and left with Esc; then a flight on the
// keyboard, and the settings file after SIGTERM.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "program_fixture.h"
#include "x_screen.h"

namespace veltrane::test {
namespace {

using namespace std::chrono_literals;

// Menu titles with the Sound menu present, and the rows of their items.

// ImGui's blue title bar of a modal dialog, right of any title text.
bool TitleAt(const pictures::Picture& p, int y) {
  int n = 0;
  for (int x = 380; x < 420 && x < p.width; ++x) {
    const std::uint8_t* q = p.At(x, y);
    if (std::abs(q[0] - 41) < 14 && std::abs(q[1] - 74) < 14 && std::abs(q[2] - 122) < 14) ++n;
  }
  return n > 30;
}

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

bool Has(const std::string& text, const std::string& line) { return text.find("\n" + line + "\n") != std::string::npos; }

class EveryDialogTest : public WindowedProgramTest {
 protected:
  // A sound output that discards what it gets: the Sound menu is there on
  // every machine, with or without a sound card.
  void BeforeStart() override { ::setenv("ALSOFT_DRIVERS", "null", 1); }

  // From the menu; the dialog's title bar at titleY shows it is open. A
  // click that a slow software-rendered frame lost is made once more.
  void OpenDialog(const std::string& menu, const std::string& item, int titleY, const std::string& shot = "") {
    pictures::Picture p;
    bool open = false;
    for (int attempt = 0; attempt < 2 && !open; ++attempt) {
      ChooseFromMenu(menu, item);
      open = ShowsSoon([&](const pictures::Picture& q) { return TitleAt(q, titleY); }, &p);
    }
    if (!shot.empty()) Keep(p, shot);
    ASSERT_TRUE(open) << "no dialog from " << menu << " > " << item;
  }
  // A check box or radio button clicked until its mark has changed.
  void Toggle(int x, int y) {
    const bool marked = MarkPixels(program_->Grab(), x, y) > 12;
    bool changed = false;
    for (int attempt = 0; attempt < 3 && !changed; ++attempt) {
      ASSERT_TRUE(program_->Click(x, y));
      changed = WaitUntil([&] { return (MarkPixels(program_->Grab(), x, y) > 12) != marked; }, 2s);
    }
    ASSERT_TRUE(changed) << "no change at " << x << "," << y;
  }
  void ExpectClosed(int titleY) {
    EXPECT_TRUE(ShowsSoon([&](const pictures::Picture& q) { return !TitleAt(q, titleY); })) << "dialog stays open";
  }
  void ExpectOpen(int titleY) {
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(TitleAt(program_->Grab(), titleY)) << "dialog closed";
  }
  void Click(int x, int y) {
    ASSERT_TRUE(program_->Click(x, y));
    std::this_thread::sleep_for(200ms);
  }
  // Reopened, it is left with Esc.
  void ReopenAndEscape(const std::string& menu, const std::string& item, int titleY) {
    OpenDialog(menu, item, titleY);
    ASSERT_TRUE(program_->Key("Escape"));
    ExpectClosed(titleY);
  }
  int Rebuilds() const { return program_->TraceCount("TMainForm.SimInit"); }
};

TEST_F(EveryDialogTest, EachDialogChangedConfirmedReopenedAndLeftThenAFlightAndSigterm) {
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown));

  // Datei > Grafikkarte auswählen: Abbrechen, then the display chosen and
  // Enter. Ok builds the 3D view anew and the program flies on.
  constexpr int kDriverTitle = 149;
  OpenDialog("file", "choose_driver", kDriverTitle, "dialog_driver.png");
  int rebuilds = Rebuilds();
  Click(Ui("cancel").CenterX(), Ui("cancel").CenterY());
  ExpectClosed(kDriverTitle);
  OpenDialog("file", "choose_driver", kDriverTitle);
  Click(300, 194);  // the display
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed(kDriverTitle);
  EXPECT_TRUE(WaitUntil([&] { return Rebuilds() > rebuilds; }, 30s)) << "no rebuild after Ok";
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown));
  ReopenAndEscape("file", "choose_driver", kDriverTitle);

  // Grafik > Optionen ...: every option changed, Ok clicked.
  constexpr int kGraphicsTitle = 136;
  OpenDialog("graphics", "graphics_options", kGraphicsTitle, "dialog_graphics.png");
  rebuilds = Rebuilds();
  for (const char* id : {"color_32", "wait_vblank", "flip", "mipmapping"}) {
    const UiRect box = Ui(id);
    Toggle(box.BoxX(), box.CenterY());
  }
  Keep(program_->Grab(), "dialog_graphics_changed.png");
  const UiRect ok = Ui("ok");
  Click(ok.CenterX(), ok.CenterY());
  ExpectClosed(kGraphicsTitle);
  EXPECT_TRUE(WaitUntil([&] { return Rebuilds() > rebuilds; }, 30s)) << "no rebuild after Ok";
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown));
  ReopenAndEscape("graphics", "graphics_options", kGraphicsTitle);
  EXPECT_TRUE(program_->Running());

  // Ansicht > Autozoom einstellen...: 80 and 50 typed, Enter.
  constexpr int kAutozoomTitle = 176;
  OpenDialog("view", "autozoom_dialog", kAutozoomTitle, "dialog_autozoom.png");
  Click(Ui("nozoom").CenterX(), Ui("nozoom").CenterY());
  ASSERT_TRUE(program_->Key("8 0"));
  Click(Ui("fullzoom").CenterX(), Ui("fullzoom").CenterY());
  ASSERT_TRUE(program_->Key("5 0"));
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed(kAutozoomTitle);
  ReopenAndEscape("view", "autozoom_dialog", kAutozoomTitle);

  // Simulation > Thermik einstellen...: both sliders near their ends, Enter.
  constexpr int kThermalTitle = 180;
  OpenDialog("simulation", "thermal_dialog", kThermalTitle, "dialog_thermal.png");
  Click(390, 223);
  Click(390, 263);
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed(kThermalTitle);
  ReopenAndEscape("simulation", "thermal_dialog", kThermalTitle);

  // Sound > Sound: switched off, quieter, Enter.
  constexpr int kSoundTitle = 179;
  OpenDialog("sound", "sound_dialog", kSoundTitle, "dialog_sound.png");
  Toggle(Ui("sound_on").BoxX(), Ui("sound_on").CenterY());
  Click(250, 263);
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed(kSoundTitle);
  ReopenAndEscape("sound", "sound_dialog", kSoundTitle);

  // Steuerung > Tastatur...: K for "Seitenruder links". K neither cancels
  // nor confirms; Enter does.
  constexpr int kKeysTitle = 97;
  OpenDialog("controls", "keyboard_dialog", kKeysTitle, "dialog_keys.png");
  Click(125, 140);
  ASSERT_TRUE(program_->Key("k"));
  ExpectOpen(kKeysTitle);
  Keep(program_->Grab(), "dialog_keys_assigned.png");
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed(kKeysTitle);
  ReopenAndEscape("controls", "keyboard_dialog", kKeysTitle);

  // Hilfe > Info: Enter, then Esc.
  constexpr int kInfoTitle = 117;
  OpenDialog("help", "info", kInfoTitle, "dialog_info_menu.png");
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed(kInfoTitle);
  ReopenAndEscape("help", "info", kInfoTitle);

  // Flugmodell > Laden... and Landschaft > Laden...: another file, Enter.
  constexpr int kOpenTitle = 59;
  const int models = program_->TraceCountStartingWith("TMainForm.LoadAirplane File: ");
  OpenDialog("model", "load_model", kOpenTitle, "dialog_model.png");
  Click(75, 240);  // glider.par: the powered airplanes come first
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed(kOpenTitle);
  EXPECT_TRUE(WaitUntil([&] { return program_->TraceCountStartingWith("TMainForm.LoadAirplane File: ") > models; }, 30s));
  ReopenAndEscape("model", "load_model", kOpenTitle);
  const int scenes = program_->TraceCountStartingWith("LoadLib.LoadSCN File: ");
  OpenDialog("scene", "load_scene", kOpenTitle, "dialog_scene.png");
  Click(70, 155);  // lake.scn, after coast and field
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed(kOpenTitle);
  EXPECT_TRUE(WaitUntil([&] { return program_->TraceCountStartingWith("LoadLib.LoadSCN File: ") > scenes; }, 30s));
  ReopenAndEscape("scene", "load_scene", kOpenTitle);

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

  // Five seconds on the keyboard: a hand launch, the elevator now and then.
  ASSERT_TRUE(program_->Key("r"));
  pictures::Picture previous = program_->Grab();
  int moving = 0;
  const auto end = std::chrono::steady_clock::now() + 5s;
  for (int step = 0; std::chrono::steady_clock::now() < end; ++step) {
    ASSERT_TRUE(program_->KeyDown(step % 2 ? "Down" : "Up"));
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(program_->KeyUp(step % 2 ? "Down" : "Up"));
    pictures::Picture now = program_->Grab();
    if (step == 4) Keep(now, "flight_glider_lake.png");
    if (ChangedPixels(previous, now) > 200) ++moving;
    previous = now;
  }
  EXPECT_TRUE(program_->Running());
  EXPECT_GE(moving, 3) << "the view stood still";
  const std::string trace = program_->TraceText();
  EXPECT_EQ(trace.find("Exception"), std::string::npos) << trace;

  ASSERT_TRUE(program_->Terminate());
  EXPECT_EQ(program_->WaitExit(20s), 0);
  const std::string s = "\n" + program_->Settings();
  for (const char* line : {"iDXDrawDriver=0", "BitCount=32", "doWaitVBlank=0", "doFlip=0", "Mipmapping=0",
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
TEST_F(EveryDialogTest, WindChangedConfirmedKeptLeftWithEscAndConfirmedWithEnter) {
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown));
  constexpr int kWindTitle = 149;
  constexpr int kSliderLeft = 149, kSliderRight = 387, kSpeedY = 192, kDirectionY = 232;
  constexpr int kPercentLeft = 221, kPercentRight = 419, kGustsY = 272, kTurbulenceY = 295;
  const auto grabs = [&](const pictures::Picture& p) {
    return std::pair{GrabX(p, kSliderLeft, kSliderRight, kSpeedY), GrabX(p, kSliderLeft, kSliderRight, kDirectionY)};
  };

  OpenDialog("simulation", "wind_dialog", kWindTitle, "dialog_wind.png");
  const auto still = grabs(program_->Grab());
  Click(kSliderLeft + (kSliderRight - kSliderLeft) * 6 / 10, kSpeedY);     // about 12 m/s
  Click(kSliderLeft + (kSliderRight - kSliderLeft) * 3 / 4, kDirectionY);  // about 270°
  pictures::Picture p;
  ASSERT_TRUE(ShowsSoon(
      [&](const pictures::Picture& q) {
        const auto [speed, direction] = grabs(q);
        return speed > still.first + 100 && direction > still.second + 100;
      },
      &p))
      << "the sliders did not move";
  Keep(p, "dialog_wind_changed.png");
  const auto changed = grabs(p);
  Click(Ui("ok").CenterX(), Ui("ok").CenterY());
  ExpectClosed(kWindTitle);

  OpenDialog("simulation", "wind_dialog", kWindTitle);
  p = program_->Grab();
  const auto kept = grabs(p);
  EXPECT_NEAR(kept.first, changed.first, 2.0) << "speed not kept";
  EXPECT_NEAR(kept.second, changed.second, 2.0) << "direction not kept";
  const double gusts = GrabX(p, kPercentLeft, kPercentRight, kGustsY);
  Click(kPercentLeft + (kPercentRight - kPercentLeft) * 8 / 10, kGustsY);
  ASSERT_TRUE(program_->Key("Escape"));
  ExpectClosed(kWindTitle);

  OpenDialog("simulation", "wind_dialog", kWindTitle);
  EXPECT_NEAR(GrabX(program_->Grab(), kPercentLeft, kPercentRight, kGustsY), gusts, 2.0) << "Esc kept the gusts";
  Click(kPercentLeft + (kPercentRight - kPercentLeft) / 2, kTurbulenceY);
  ASSERT_TRUE(program_->Key("Return"));
  ExpectClosed(kWindTitle);
  EXPECT_TRUE(program_->Running());

  ASSERT_TRUE(program_->Terminate());
  EXPECT_EQ(program_->WaitExit(20s), 0);
  const std::string s = "\n" + program_->Settings();
  const auto section = s.find("\n[WindForm]\n");
  ASSERT_NE(section, std::string::npos) << s;
  const std::string wind = s.substr(section);
  for (const char* key : {"fWindSpeed=", "fWindDirection=", "iTurbulence="}) {
    EXPECT_NE(wind.find(std::string("\n") + key), std::string::npos) << key << " missing in" << wind;
    EXPECT_FALSE(Has(wind, std::string(key) + "0")) << key << " still 0 in" << wind;
  }
  EXPECT_TRUE(Has(wind, "iGusts=0")) << "gusts changed by Esc in" << wind;
  EXPECT_TRUE(Has(wind, "iTurbulenceSeed=1")) << wind;
}

}  // namespace
}  // namespace veltrane::test
