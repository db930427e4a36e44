#include "app/commands.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "app/fake_services.h"
#include "app/main_form.h"
#include "support/temp_dir.h"

namespace veltrane {
namespace {

const std::string kData = std::string(VELTRANE_TEST_DIR) + "/data/";

// Records what the commands asked of the user interface.
class FakeHost : public CommandHost {
 public:
  void ShowDialog(std::string_view id) override { calls.push_back("open " + std::string(id)); }
  bool CanOpenDialog(std::string_view id) const override { return id != "radio" || radioHandedIn; }
  void Quit() override { calls.push_back("quit"); }
  std::vector<std::string> calls;
  bool radioHandedIn = true;
};

// One main window with a scene, its trace and its host.
struct Window {
  Window() {
    std::ofstream(config.path() / "settings.ini", std::ios::binary)
        << "[MainForm]\nsModellFilename=Model/trainer.par\nsLandFileName=Landscape/field.scn\n";
    store = std::make_unique<SettingsStore>(config.path(), NumberFormat{'.'});
    form = std::make_unique<TMainForm>(kData, *store, traces.Sink(), clock, services);
    form->SetCommandHost(&host);
    form->FormCreate();
    form->SimInit();
    traces.Clear();
  }
  // Everything a command may change, as one comparable text.
  std::string State() const {
    std::ostringstream o;
    const SimState& s = form->State();
    const CameraSettings& z = form->Zooms();
    const MenuChecks& k = form->Checks();
    o << s.ModelPosition.x << ' ' << s.ModelVelocity.x << ' ' << s.ModelVelocity.z << ' '
      << s.ModelPosition.y << ' ' << s.ModelPosition.z << " pause " << s.Flags.Pause << " winch "
      << s.WinchAttached << " restart " << s.Flags.Autorestart << " init " << s.Flags.AutoInit
      << " zoom " << z.Zoom << ' ' << z.aZoom << ' ' << z.AutoZoom << ' ' << z.Hinterherflug
      << " checks " << k.Nebel << k.weicheTexturen << k.Texturen << k.FPS << k.GeschwHoehe
      << " record " << form->RecordFlights() << " ghost " << form->GhostShown();
    for (const std::string& l : traces.Lines()) o << '\n' << l;
    for (const std::string& c : host.calls) o << '\n' << c;
    return o.str();
  }

  test_support::TempDir config;
  ManualClock clock;
  FakeServices services;
  TraceCapture traces;
  FakeHost host;
  std::unique_ptr<SettingsStore> store;
  std::unique_ptr<TMainForm> form;
};

class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("LC_ALL", "de_DE.UTF-8", 1); }
  void TearDown() override { unsetenv("LC_ALL"); }
};

TEST_F(CommandsTest, EveryShortcutShownFiresTheSameActionAsItsItem) {
  int keys = 0;
  for (const AppCommand& c : Commands()) {
    for (const Shortcut& s : c.shortcuts) {
      SCOPED_TRACE(std::string(c.id) + " " + ShortcutText(s));
      Window byMenu, byKey;
      const std::string before = byMenu.State();
      RunCommand(c, *byMenu.form);
      byKey.form->FormKeyDown(s.vk, s.ctrl);
      EXPECT_EQ(byKey.State(), byMenu.State());
      EXPECT_NE(byMenu.State(), before) << "the command changed nothing";
      ++keys;
    }
  }
  EXPECT_EQ(keys, 14);
}

TEST_F(CommandsTest, ShortcutsAreShownAsTheMenuShowsThem) {
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"load_model", "F2"},  {"reload_model", "Ctrl+M"},
      {"load_scene", "F3"},  {"reload_scene", "Ctrl+L"},
      {"zoom_in", "Num +"},  {"zoom_out", "Num -"},
      {"autozoom", "Z"},     {"follow_flight", "C"},
      {"speed_height", "A"}, {"init", "I"},
      {"pause", "P"},        {"winch_launch", "W"},
      {"hand_launch", "R"},  {"indestructible", "U"},
  };
  std::vector<std::pair<std::string, std::string>> shown;
  for (const AppCommand& c : Commands())
    for (const Shortcut& s : c.shortcuts) shown.emplace_back(c.id, ShortcutText(s));
  EXPECT_EQ(shown, expected);
}

TEST_F(CommandsTest, IdentifiersAndKeysAreUniqueAndEachKeyFindsItsCommand) {
  std::set<std::string> ids, names;
  for (const AppCommand& c : Commands()) {
    EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    EXPECT_TRUE(names.insert(c.key).second) << c.key;
    EXPECT_EQ(FindCommand(c.id), &c);
    EXPECT_NE(c.action, nullptr) << c.id;
    for (const Shortcut& s : c.shortcuts) EXPECT_EQ(CommandForKey(s.vk, s.ctrl), &c) << c.id;
  }
  EXPECT_EQ(CommandForKey('M', false), nullptr);  // M alone is no command
  EXPECT_EQ(FindCommand("nothing"), nullptr);
}

TEST_F(CommandsTest, CheckMarksFollowTheirCommands) {
  Window run;
  for (const AppCommand& c : Commands()) {
    if (!c.Checkable()) continue;
    SCOPED_TRACE(c.id);
    const bool was = c.checked(*run.form);
    RunCommand(c, *run.form);
    EXPECT_NE(c.checked(*run.form), was);
  }
}

// Until the user sets it, the vario's mark follows the model: on for one
// without an engine. The user's choice then holds for every model and is stored.
TEST_F(CommandsTest, TheVarioFollowsTheModelUntilTheUserSetsIt) {
  Window run;
  const AppCommand& vario = *FindCommand("vario");
  SimState& s = run.form->State();
  const double engine = s.Airplane.MaxThrust;
  ASSERT_GT(engine, 0.0);
  struct Step {
    double maxThrust;
    bool click, checked;
  };
  const Step steps[] = {
      {engine, false, false}, {0.0, false, true},   {0.0, true, false},
      {engine, false, false}, {engine, true, true}, {0.0, false, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(&step - steps);
    s.Airplane.MaxThrust = step.maxThrust;
    if (step.click) RunCommand(vario, *run.form);
    EXPECT_EQ(vario.checked(*run.form), step.checked);
  }
  run.form->FormClose();
  EXPECT_EQ(run.store->ReadInteger("MainForm", "Vario", 99), 1);
}

TEST_F(CommandsTest, DisabledCommandsDoNothing) {
  Window run;
  run.host.radioHandedIn = false;
  const AppCommand* radio = FindCommand("radio_dialog");
  ASSERT_NE(radio, nullptr);
  EXPECT_FALSE(IsEnabled(*radio, *run.form));
  RunCommand(*radio, *run.form);
  EXPECT_TRUE(run.host.calls.empty());
  run.host.radioHandedIn = true;
  EXPECT_TRUE(IsEnabled(*radio, *run.form));
  EXPECT_FALSE(IsEnabled(*FindCommand("hide_ghost"), *run.form));  // no ghost shown
}

TEST_F(CommandsTest, DialogCommandsAskTheHostAndDoNothingWithoutOne) {
  Window run;
  RunCommand(*FindCommand("wind_dialog"), *run.form);
  RunCommand(*FindCommand("quit"), *run.form);
  EXPECT_EQ(run.host.calls, (std::vector<std::string>{"open wind", "quit"}));
  run.form->SetCommandHost(nullptr);
  RunCommand(*FindCommand("wind_dialog"), *run.form);
  EXPECT_EQ(run.host.calls.size(), 2u);
}

}  // namespace
}  // namespace veltrane
