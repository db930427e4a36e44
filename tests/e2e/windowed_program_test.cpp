// The windowed program driven as a user drives it: the mouse on the menu bar
// and in dialogs, keys on the main window, and what it stores when it closes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

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
