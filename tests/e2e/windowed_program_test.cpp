// The windowed program driven as a user drives it: the mouse on the menu bar
// and in dialogs, keys on the main window, and what it stores when it closes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "program_fixture.h"

namespace veltrane::test {
namespace {

using namespace std::chrono_literals;

// The open dialog in a 640x480 window.
constexpr int kOwnPlaceX = 420, kOwnPlaceY = 367, kFirstRowX = 100, kFirstRowY = 120;
constexpr int kOpenButtonX = 90, kOpenButtonY = 411;

TEST_F(WindowedProgramTest, MenuKeysAndDialogsAndWhatTheSettingsKeep) {
  int w = 0, h = 0;
  ASSERT_TRUE(program_->WindowSize(&w, &h));
  ASSERT_TRUE(ShowsSoon(MenuBarShown));

  // A check mark toggled with the mouse: Ansicht > Autozoom.
  ASSERT_TRUE(program_->Click(kAnsichtX, kBarY));
  pictures::Picture before;
  ASSERT_TRUE(MenuOpenBelow(kAnsichtX));
  before = program_->Grab();
  ASSERT_TRUE(program_->Click(kAnsichtX + 10, kAutozoomY));
  ASSERT_TRUE(ShowsSoon([&](const pictures::Picture& p) { return DarkPixels(p, 200, 60, 470, 160) < 2000; }))
      << "the menu stays open after the click";
  ASSERT_TRUE(program_->Click(kAnsichtX, kBarY));
  pictures::Picture after;
  ASSERT_TRUE(MenuOpenBelow(kAnsichtX));
  // The check mark sits at the item's right; only that row changes.
  after = program_->Grab();
  int changed = 0;
  for (int y = kAutozoomY - 8; y < kAutozoomY + 8; ++y)
    for (int x = 196; x < 480; ++x)
      if (std::abs(Brightness(before, x, y) - Brightness(after, x, y)) > 100) ++changed;
  EXPECT_GT(changed, 10) << "no check mark appeared";
  Keep(after, "menu.png");
  // A second click on the title closes the menu again.
  ASSERT_TRUE(program_->Click(kAnsichtX, kBarY));
  ASSERT_TRUE(ShowsSoon([](const pictures::Picture& p) { return DarkPixels(p, 200, 60, 470, 160) < 2000; }));

  // F12 hides the menu bar and shows it again.
  ASSERT_TRUE(program_->Key("F12"));
  EXPECT_TRUE(ShowsSoon([](const pictures::Picture& p) { return !MenuBarShown(p); }));
  ASSERT_TRUE(program_->Key("F12"));
  EXPECT_TRUE(ShowsSoon(MenuBarShown));

  // Esc asks for the window, which it already is: a trace and nothing else,
  // no rebuilt view, same size, still running.
  ASSERT_TRUE(program_->Key("Escape"));
  EXPECT_TRUE(WaitUntil([&] { return program_->TraceCount("TMainForm.SetDisplay Sender: NFenster") == 1; }, 5s));
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(program_->Running());
  EXPECT_EQ(program_->TraceCount("TMainForm.DXDrawFinalize"), 0);
  EXPECT_EQ(program_->TraceCount("Simulate.InitFlight"), 1);
  int w2 = 0, h2 = 0;
  ASSERT_TRUE(program_->WindowSize(&w2, &h2));
  EXPECT_EQ(w2, w);
  EXPECT_EQ(h2, h);

  // 800x600 full screen from the menu, then back to the window.
  ChooseFromMenu(kAufloesungX, k800x600Y);
  ASSERT_TRUE(WaitUntil([&] { return program_->TraceCount("TMainForm.SetDisplay Sender: N800x600") == 1; }, 5s));
  ASSERT_TRUE(WaitUntil([&] { return program_->TraceCount("Simulate.InitFlight") >= 2; }, 30s));
  int fw = 0, fh = 0;
  ASSERT_TRUE(WaitUntil([&] { return program_->WindowSize(&fw, &fh) && fw != w; }, 10s));
  ASSERT_TRUE(ShowsSoon(MenuBarShown)) << "no menu bar in full screen";
  // Esc in full screen is the way back to the window.
  ASSERT_TRUE(program_->Key("Escape"));
  ASSERT_TRUE(WaitUntil([&] { return program_->TraceCount("TMainForm.SetDisplay Sender: NFenster") == 2; }, 5s));
  ASSERT_TRUE(WaitUntil([&] { return program_->WindowSize(&w2, &h2) && w2 == w && h2 == h; }, 10s))
      << w2 << "x" << h2;
  ASSERT_TRUE(WaitUntil([&] { return program_->TraceCount("Simulate.InitFlight") >= 3; }, 30s));

  // A model through the open dialog, opened with its shortcut.
  ASSERT_TRUE(program_->Key("F2"));
  pictures::Picture dialog;
  const bool opened =
      ShowsSoon([](const pictures::Picture& p) { return DialogPixels(p, 40, 100, 350, 340) > 60000; }, &dialog);
  Keep(dialog, "dialog_open.png");
  ASSERT_TRUE(opened) << "no open dialog";
  const int loads = program_->TraceCountStartingWith("TMainForm.LoadAirplane File: ");
  ASSERT_TRUE(program_->Click(75, 240));  // glider.par, in the gliders after the powered models
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(program_->Click(85, 411));  // Öffnen
  ASSERT_TRUE(WaitUntil([&] { return program_->TraceCountStartingWith("TMainForm.LoadAirplane File: ") > loads; }, 30s));

  // The information dialog, opened from the menu and closed with its button.
  ChooseFromMenu(kHilfeX, kFensterY);
  pictures::Picture info;
  const bool shown =
      ShowsSoon([](const pictures::Picture& p) { return DialogPixels(p, 140, 340, 500, 368) > 8000; }, &info);
  Keep(info, "dialog_info.png");
  ASSERT_TRUE(shown) << "no information dialog";
  ASSERT_TRUE(program_->Click(195, 352));  // OK
  ASSERT_TRUE(ShowsSoon([](const pictures::Picture& p) { return DialogPixels(p, 140, 340, 500, 368) < 2000; }))
      << "the information dialog stays open";

  // Datei > Beenden closes the program and writes what changed.
  ChooseFromMenu(kDateiX, kBeendenY);
  EXPECT_EQ(program_->WaitExit(20s), 0);
  EXPECT_EQ(program_->TraceCount("TMainForm.FormClose"), 1);
  const std::string s = program_->Settings();
  EXPECT_NE(s.find("AutoZoom=1"), std::string::npos) << s;
  EXPECT_NE(s.find("MenuIsVisible=1"), std::string::npos);
  EXPECT_NE(s.find("doFullscreen=0"), std::string::npos);
  EXPECT_NE(s.find("DisplayWidth=800"), std::string::npos);
  EXPECT_NE(s.find("glider.par"), std::string::npos);
  EXPECT_NE(s.find("Running=0"), std::string::npos);
}

TEST_F(WindowedProgramTest, FliesTenSecondsOnTheKeyboardAndKeepsTheToggles) {
  ASSERT_TRUE(ShowsSoon(MenuBarShown));
  // The speed, height and climb overlay and the automatic zoom, by their keys.
  ASSERT_TRUE(program_->Key("a z"));
  // Full throttle held, a hand launch, and the elevator pulled now and then.
  ASSERT_TRUE(program_->KeyDown("v"));
  ASSERT_TRUE(program_->Key("r"));
  pictures::Picture previous = program_->Grab();
  int moving = 0;
  const auto end = std::chrono::steady_clock::now() + 10s;
  for (int step = 0; std::chrono::steady_clock::now() < end; ++step) {
    const bool pull = step % 4 == 1;
    if (pull) {
      ASSERT_TRUE(program_->KeyDown("Down"));
    }
    std::this_thread::sleep_for(400ms);
    if (pull) {
      ASSERT_TRUE(program_->KeyUp("Down"));
    }
    pictures::Picture now = program_->Grab();
    if (step == 12) Keep(now, "flight.png");
    if (ChangedPixels(previous, now) > 200) ++moving;
    previous = now;
  }
  ASSERT_TRUE(program_->KeyUp("v"));
  EXPECT_TRUE(program_->Running());
  // The view follows a flying model: it changes through most of the flight.
  EXPECT_GE(moving, 10);
  EXPECT_GE(program_->TraceCount("TMainForm.FormKeyPress"), 3);

  // F3 opens the landscape dialog; Abbrechen leaves the landscape as it was.
  const int scenes = program_->TraceCountStartingWith("LoadLib.LoadSCN File: ");
  ASSERT_TRUE(program_->Key("F3"));
  pictures::Picture dialog;
  const bool opened =
      ShowsSoon([](const pictures::Picture& p) { return DialogPixels(p, 40, 100, 350, 340) > 60000; }, &dialog);
  Keep(dialog, "dialog_landscape.png");
  ASSERT_TRUE(opened) << "no open dialog on F3";
  ASSERT_TRUE(program_->Click(193, 411));  // Abbrechen
  ASSERT_TRUE(ShowsSoon([](const pictures::Picture& p) { return DialogPixels(p, 40, 100, 350, 340) < 30000; }));

  ChooseFromMenu(kDateiX, kBeendenY);
  EXPECT_EQ(program_->WaitExit(20s), 0);
  EXPECT_EQ(program_->TraceCountStartingWith("LoadLib.LoadSCN File: "), scenes);
  const std::string s = program_->Settings();
  EXPECT_NE(s.find("GeschwHoehe=1"), std::string::npos) << s;
  EXPECT_NE(s.find("AutoZoom=1"), std::string::npos);
  EXPECT_NE(s.find("world.scn"), std::string::npos);
  EXPECT_NE(s.find("Running=0"), std::string::npos);
}

TEST_F(WindowedProgramTest, OpenDialogLeadsToTheUsersOwnModels) {
  ASSERT_TRUE(ShowsSoon(MenuBarShown));
  // A model of the user's own, beside none of the shipped ones.
  const fs::path own = dir_ / "share" / "veltrane" / "Model";
  fs::create_directories(own);
  fs::copy_file(fs::path(VELTRANE_DATA_DIR) / "Model" / "glider.par", own / "mine.par");
  fs::copy_file(fs::path(VELTRANE_DATA_DIR) / "Model" / "glider.geo", own / "mine.geo");
  // The start screen is dark like a dialog: wait for the first scene.
  ASSERT_TRUE(WaitUntil([&] { return program_->TraceCountStartingWith("LoadLib.LoadPAR File: ") >= 1; }, 20s));
  std::this_thread::sleep_for(500ms);

  ASSERT_TRUE(program_->Key("F2"));
  pictures::Picture dialog;
  ASSERT_TRUE(ShowsSoon([](const pictures::Picture& p) { return DialogPixels(p, 40, 100, 350, 340) > 60000; }, &dialog))
      << "no open dialog on F2";
  Keep(dialog, "dialog_model_shipped.png");
  ASSERT_TRUE(program_->Click(kOwnPlaceX, kOwnPlaceY));  // "Eigene Modelle"
  std::this_thread::sleep_for(1s);  // a slow software-rendered frame or two before the list changes
  // Only mine.par is in the user's folder: the first list row, then Öffnen.
  ASSERT_TRUE(program_->Click(kFirstRowX, kFirstRowY));
  std::this_thread::sleep_for(1s);
  pictures::Picture ownList;
  ASSERT_TRUE(ShowsSoon([](const pictures::Picture& p) { return DialogPixels(p, 40, 100, 350, 340) > 60000; }, &ownList));
  Keep(ownList, "dialog_model_own.png");
  ASSERT_TRUE(program_->Click(kOpenButtonX, kOpenButtonY));
  // The trace names the parameter file as derived from the model file: "mine.PAR".
  const std::string loaded = "LoadLib.LoadPAR File: " + (own / "mine.").string();
  EXPECT_TRUE(WaitUntil([&] { return program_->TraceCountStartingWith(loaded) >= 1; }, 10s))
      << std::ifstream(dir_ / "trace.txt").rdbuf();

  ChooseFromMenu(kDateiX, kBeendenY);
  EXPECT_EQ(program_->WaitExit(20s), 0);
  const std::string s = program_->Settings();
  // Stored with its full path, so it is found whatever the data folder is.
  EXPECT_NE(s.find("sModellFilename=" + (own / "mine.par").string()), std::string::npos) << s;
}

}  // namespace
}  // namespace veltrane::test

namespace veltrane::test {
namespace {

// The x range of the rightmost highlighted title in the menu bar (the one
// hovered or open), {-1, -1} if none.
std::pair<int, int> OpenTitle(const pictures::Picture& p) {
  std::pair<int, int> run{-1, -1};
  for (int x = 0; x < p.width; ++x) {
    const std::uint8_t* q = p.At(x, 4);
    if (q[2] > 150 && q[2] > q[0] + 60) {
      if (run.second != x - 1) run.first = x;
      run.second = x;
    }
  }
  return run;
}

class LanguageTest : public WindowedProgramTest {
 protected:
  void SetUp() override {}  // each case starts its own program
  void StartWith(const std::string& settings) {
    fs::remove_all(dir_);  // each start from nothing
    program_ = std::make_unique<ProgramDriver>(VELTRANE_PROGRAM, dir_);
    if (!settings.empty()) std::ofstream(program_->ConfigDir() / "settings.ini") << settings;
    ASSERT_TRUE(program_->Start()) << "no window with focus";
    // The sky behind the menu bar: the scene is built and frames are drawn.
    ASSERT_TRUE(ShowsSoon([](const pictures::Picture& p) {
      return MenuBarShown(p) && Brightness(p, 320, 60) > 400;
    }));
  }
  void Stop() {
    program_.reset();
    fs::remove_all(dir_);
  }
};

// The languages' entries in the "Sprache" menu: menu order, one line each.
constexpr int kLanguageItemY0 = 33, kLanguageItemPitch = 17;
constexpr int kRussianRow = 14;

TEST_F(LanguageTest, ChosenFromTheMenuTheMenuSpeaksItAndTheChoiceIsKept) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display";
  ASSERT_NO_FATAL_FAILURE(StartWith(""));  // a German user
  EXPECT_EQ(program_->TraceCount("Language.UpdateLanguage Language: 0"), 1);
  const pictures::Picture german = program_->Grab();
  ASSERT_TRUE(program_->Click(kSpracheX, kBarY));
  ASSERT_TRUE(MenuOpenBelow(kSpracheX));
  Keep(program_->Grab(), "menu_languages.png");
  ASSERT_TRUE(
      program_->Click(kSpracheX - 20 + kItemX, kLanguageItemY0 + kRussianRow * kLanguageItemPitch));
  ASSERT_TRUE(WaitUntil(
      [&] { return program_->TraceCount("Language.UpdateLanguage Language: 4") == 1; }, 5s));
  pictures::Picture russian;
  ASSERT_TRUE(ShowsSoon(
      [&](const pictures::Picture& p) {
        int changed = 0;
        for (int y = 2; y < 16; ++y)
          for (int x = 0; x < 400; ++x)
            if (std::abs(Brightness(german, x, y) - Brightness(p, x, y)) > 200) ++changed;
        return changed > 200;
      },
      &russian))
      << "the menu bar kept its German titles";
  // Файл > Выход: the first menu keeps its place and its items their rows.
  ChooseFromMenu(kDateiX, kBeendenY);
  EXPECT_EQ(program_->WaitExit(20s), 0);
  EXPECT_NE(program_->Settings().find("iLanguage=4"), std::string::npos) << program_->Settings();
  Stop();
}

// Each script's menu, opened: the pictures that show no glyph is missing or cut.
TEST_F(LanguageTest, MenusOfEveryScriptOpen) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display";
  const struct {
    int index;
    const char* shot;
  } cases[] = {{0, "menu_de.png"},  {4, "menu_ru.png"},     {13, "menu_el.png"},
               {11, "menu_ja.png"}, {16, "menu_zh_cn.png"}, {17, "menu_zh_tw.png"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shot);
    ASSERT_NO_FATAL_FAILURE(StartWith("[MainForm]\niLanguage=" + std::to_string(c.index) + "\n"));
    EXPECT_EQ(program_->TraceCount("Language.UpdateLanguage Language: " + std::to_string(c.index)),
              1);
    // Title by title from Datei to Simulation, the fifth, whose menu has the
    // most items: each one opened by a click just right of the one before,
    // which a click on it closed again.
    pictures::Picture open;
    std::pair<int, int> title{-1, -1};
    for (int n = 0; n < 5; ++n) {
      if (n > 0) {
        ASSERT_TRUE(program_->Click((title.first + title.second) / 2, kBarY));
        std::this_thread::sleep_for(300ms);
      }
      ASSERT_TRUE(program_->Click(n == 0 ? kDateiX : title.second + 6, kBarY));
      const int before = title.second;
      const bool opened = ShowsSoon(
          [&](const pictures::Picture& p) {
            title = OpenTitle(p);
            return title.first > before &&
                   DarkPixels(p, title.first, 22, title.first + 30, 44) > 300;
          },
          &open);
      ASSERT_TRUE(opened) << "menu " << n << " did not open";
    }
    EXPECT_GT(DarkPixels(open, title.first, 25, title.first + 60, 45), 500) << "no open menu";
    // Nothing of the bar is cut off at the window's right edge.
    EXPECT_LT(Brightness(open, open.width - 3, 10), 150);
    Keep(open, c.shot);
    Stop();
  }
}

}  // namespace
}  // namespace veltrane::test
