// The windowed program driven as a user drives it: the mouse on the menu bar
// and in dialogs, keys on the main window, and what it stores when it closes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
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

// Menu items and rows are drawn on ImGui's dark popup background; the sky and grass are light.
bool DarkRow(const pictures::Picture& p, const UiRect& r) {
  return DarkPixels(p, r.x, r.y, r.x + r.w, r.y + r.h) > r.w * r.h / 2;
}

TEST_F(WindowedProgramTest, MenuKeysAndDialogsAndWhatTheSettingsKeep) {
  int w = 0, h = 0;
  ASSERT_TRUE(program_->WindowSize(&w, &h));
  ASSERT_TRUE(ShowsSoon(MenuBarShown));

  // A check mark toggled with the mouse: Ansicht > Autozoom.
  std::optional<UiRect> item = OpenMenu("view", "autozoom");
  ASSERT_TRUE(item.has_value()) << "no Ansicht menu";
  pictures::Picture before;
  ASSERT_TRUE(ShowsSoon([&](const pictures::Picture& p) { return DarkRow(p, *item); }, &before));
  ASSERT_TRUE(program_->Click(item->CenterX(), item->CenterY()));
  ASSERT_TRUE(Shows("autozoom", false)) << "the menu stays open after the click";
  item = OpenMenu("view", "autozoom");
  ASSERT_TRUE(item.has_value()) << "the Ansicht menu did not open again";
  pictures::Picture after;
  ASSERT_TRUE(ShowsSoon([&](const pictures::Picture& p) { return DarkRow(p, *item); }, &after));
  // The check mark sits at the item's right; only that row changes.
  int changed = 0;
  for (int y = item->y; y < item->y + item->h; ++y)
    for (int x = item->x; x < item->x + item->w; ++x)
      if (std::abs(Brightness(before, x, y) - Brightness(after, x, y)) > 100) ++changed;
  EXPECT_GT(changed, 10) << "no check mark appeared";
  Keep(after, "menu.png");
  // A second click on the title closes the menu again.
  ClickUi("view");
  ASSERT_TRUE(Shows("autozoom", false)) << "the menu stays open";

  // F12 hides the menu bar and shows it again.
  ASSERT_TRUE(program_->Key("F12"));
  EXPECT_TRUE(ShowsSoon([](const pictures::Picture& p) { return !MenuBarShown(p); }));
  ASSERT_TRUE(program_->Key("F12"));
  EXPECT_TRUE(ShowsSoon(MenuBarShown));

  // Esc asks for the window, which it already is: a trace and nothing else,
  // no rebuilt view, same size, still running.
  ASSERT_TRUE(program_->Key("Escape"));
  EXPECT_TRUE(WaitUntil(
      [&] { return program_->TraceCount("TMainForm.SetDisplay Sender: NFenster") == 1; }, 5s));
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(program_->Running());
  EXPECT_EQ(program_->TraceCount("TMainForm.DXDrawFinalize"), 0);
  EXPECT_EQ(program_->TraceCount("Simulate.InitFlight"), 1);
  int w2 = 0, h2 = 0;
  ASSERT_TRUE(program_->WindowSize(&w2, &h2));
  EXPECT_EQ(w2, w);
  EXPECT_EQ(h2, h);

  // 800x600 full screen from the menu, then back to the window.
  ChooseFromMenu("resolution", "resolution_800x600");
  ASSERT_TRUE(WaitUntil(
      [&] { return program_->TraceCount("TMainForm.SetDisplay Sender: N800x600") == 1; }, 5s));
  ASSERT_TRUE(WaitUntil([&] { return program_->TraceCount("Simulate.InitFlight") >= 2; }, 30s));
  int fw = 0, fh = 0;
  ASSERT_TRUE(WaitUntil([&] { return program_->WindowSize(&fw, &fh) && fw != w; }, 10s));
  ASSERT_TRUE(ShowsSoon(MenuBarShown)) << "no menu bar in full screen";
  // Esc in full screen is the way back to the window.
  ASSERT_TRUE(program_->Key("Escape"));
  ASSERT_TRUE(WaitUntil(
      [&] { return program_->TraceCount("TMainForm.SetDisplay Sender: NFenster") == 2; }, 5s));
  ASSERT_TRUE(WaitUntil([&] { return program_->WindowSize(&w2, &h2) && w2 == w && h2 == h; }, 10s))
      << w2 << "x" << h2;
  ASSERT_TRUE(WaitUntil([&] { return program_->TraceCount("Simulate.InitFlight") >= 3; }, 30s));

  // A model through the open dialog, opened with its shortcut.
  ASSERT_TRUE(program_->Key("F2"));
  ASSERT_TRUE(Shows("dialog:open")) << "no open dialog";
  pictures::Picture dialog;
  EXPECT_TRUE(ShowsSoon(
      [&](const pictures::Picture& p) { return TitleBarDrawn(p, Ui("dialog:open")); }, &dialog));
  Keep(dialog, "dialog_open.png");
  // Choosing another model shows its preview in the pane above the places.
  const UiRect place = Ui("place0");
  auto previewChanged = [&](const pictures::Picture& p) {
    int n = 0;
    for (int y = std::max(place.y - 230, 0); y < place.y - 6; ++y)
      for (int x = place.x; x < std::min(place.x + 240, p.width); ++x)
        if (std::abs(Brightness(dialog, x, y) - Brightness(p, x, y)) > 60) ++n;
    return n > 2000;
  };
  ASSERT_NO_FATAL_FAILURE(SelectFile("slope-racer.par"));
  pictures::Picture racer;
  EXPECT_TRUE(ShowsSoon(previewChanged, &racer)) << "the preview stayed as it was";
  Keep(racer, "dialog_open_gliders.png");
  const int loads = program_->TraceCountStartingWith("TMainForm.LoadAirplane File: ");
  ASSERT_NO_FATAL_FAILURE(SelectFile("glider.par"));
  ClickUi("open");
  ASSERT_TRUE(WaitUntil(
      [&] { return program_->TraceCountStartingWith("TMainForm.LoadAirplane File: ") > loads; },
      30s));

  // The information dialog, opened from the menu and closed with its button.
  ChooseFromMenu("help", "info");
  ASSERT_TRUE(Shows("dialog:info")) << "no information dialog";
  pictures::Picture info;
  EXPECT_TRUE(ShowsSoon(
      [&](const pictures::Picture& p) { return TitleBarDrawn(p, Ui("dialog:info")); }, &info));
  Keep(info, "dialog_info.png");
  ClickUi("close");
  ASSERT_TRUE(Shows("dialog:info", false)) << "the information dialog stays open";

  // Datei > Beenden closes the program and writes what changed.
  ChooseFromMenu("file", "quit");
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
  // Ten changes of the view, the elevator pulled now and then.
  const int moving = CountViewChanges(
      10,
      [&](int step) {
        if (step % 4 == 1) {
          ASSERT_TRUE(program_->KeyDown("Down"));
          std::this_thread::sleep_for(400ms);
          ASSERT_TRUE(program_->KeyUp("Down"));
        }
      },
      8, "flight.png");
  ASSERT_TRUE(program_->KeyUp("v"));
  EXPECT_TRUE(program_->Running());
  // The view follows a flying model: it changes through most of the flight.
  EXPECT_GE(moving, 10);
  EXPECT_GE(program_->TraceCount("TMainForm.FormKeyPress"), 3);

  // F3 opens the landscape dialog; Abbrechen leaves the landscape as it was.
  const int scenes = program_->TraceCountStartingWith("LoadLib.LoadSCN File: ");
  ASSERT_TRUE(program_->Key("F3"));
  ASSERT_TRUE(Shows("dialog:open")) << "no open dialog on F3";
  pictures::Picture dialog;
  EXPECT_TRUE(ShowsSoon(
      [&](const pictures::Picture& p) { return TitleBarDrawn(p, Ui("dialog:open")); }, &dialog));
  Keep(dialog, "dialog_landscape.png");
  ClickUi("cancel");
  ASSERT_TRUE(Shows("dialog:open", false)) << "Abbrechen left the dialog open";

  ChooseFromMenu("file", "quit");
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
  ASSERT_TRUE(WaitUntil(
      [&] { return program_->TraceCountStartingWith("LoadLib.LoadPAR File: ") >= 1; }, 20s));

  ASSERT_TRUE(program_->Key("F2"));
  ASSERT_TRUE(Shows("dialog:open")) << "no open dialog on F2";
  ASSERT_TRUE(Shows("file:glider.par")) << "the shipped models are not listed first";
  Keep(program_->Grab(), "dialog_model_shipped.png");
  ClickUi("place1");  // "Eigene Modelle"
  // Only mine.par is in the user's folder, then Öffnen.
  ASSERT_TRUE(Shows("file:mine.par")) << "the own models are not listed";
  EXPECT_FALSE(UiNow("file:glider.par").has_value()) << "a shipped model among the own ones";
  ASSERT_NO_FATAL_FAILURE(SelectFile("mine.par"));
  Keep(program_->Grab(), "dialog_model_own.png");
  ClickUi("open");
  // The trace names the parameter file as derived from the model file: "mine.PAR".
  const std::string loaded = "LoadLib.LoadPAR File: " + (own / "mine.").string();
  EXPECT_TRUE(WaitUntil([&] { return program_->TraceCountStartingWith(loaded) >= 1; }, 10s))
      << std::ifstream(dir_ / "trace.txt").rdbuf();

  ChooseFromMenu("file", "quit");
  EXPECT_EQ(program_->WaitExit(20s), 0);
  const std::string s = program_->Settings();
  // Stored with its full path, so it is found whatever the data folder is.
  EXPECT_NE(s.find("sModellFilename=" + (own / "mine.par").string()), std::string::npos) << s;
}

}  // namespace
}  // namespace veltrane::test

namespace veltrane::test {
namespace {

class LanguageTest : public WindowedProgramTest {
 protected:
  void SetUp() override {}  // each case starts its own program
  void StartWith(const std::string& settings) {
    fs::remove_all(dir_);  // each start from nothing
    ::setenv("VELTRANE_UI_MAP", UiMapPath().c_str(), 1);
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

TEST_F(LanguageTest, ChosenFromTheMenuTheMenuSpeaksItAndTheChoiceIsKept) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display";
  ASSERT_NO_FATAL_FAILURE(StartWith(""));  // a German user
  EXPECT_EQ(program_->TraceCount("Language.UpdateLanguage Language: 0"), 1);
  const pictures::Picture german = program_->Grab();
  const std::optional<UiRect> russianItem = OpenMenu("language", "language_russian");
  ASSERT_TRUE(russianItem.has_value()) << "no Sprache menu";
  Keep(program_->Grab(), "menu_languages.png");
  ASSERT_TRUE(program_->Click(russianItem->CenterX(), russianItem->CenterY()));
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
  // Файл > Выход.
  ChooseFromMenu("file", "quit");
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
    // most items: each one opened, drawn, and closed by a click on its title.
    static const std::pair<const char*, const char*> kMenus[] = {{"file", "choose_driver"},
                                                                 {"model", "load_model"},
                                                                 {"scene", "load_scene"},
                                                                 {"view", "zoom_in"},
                                                                 {"simulation", "init"}};
    pictures::Picture open;
    std::optional<UiRect> first;
    std::string previous, previousItem;
    for (const auto& [menu, item] : kMenus) {
      if (first) {
        ClickUi(previous);
        ASSERT_TRUE(Shows(previousItem, false)) << previous << " stays open";
      }
      first = OpenMenu(menu, item);
      ASSERT_TRUE(first.has_value()) << "menu " << menu << " did not open";
      ASSERT_TRUE(ShowsSoon(
          [&](const pictures::Picture& p) {
            return DarkPixels(p, first->x, first->y, first->x + 30, first->y + first->h) > 200;
          },
          &open))
          << "menu " << menu << " not drawn";
      previous = menu;
      previousItem = item;
    }
    EXPECT_GT(DarkPixels(open, first->x, first->y, first->x + 60, first->y + 20), 500)
        << "no open menu";
    // Nothing of the bar is cut off at the window's right edge.
    EXPECT_LT(Brightness(open, open.width - 3, 10), 150);
    Keep(open, c.shot);
    Stop();
  }
}

}  // namespace
}  // namespace veltrane::test
