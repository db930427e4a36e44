// The training aids of the main window: slow motion that replays exactly, the
// thermals drawn as columns, and the hint shown for a first flight.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "app/commands.h"
#include "app/fake_services.h"
#include "app/main_form.h"
#include "app/thermal_columns.h"
#include "record/flight_reader.h"
#include "support/temp_dir.h"

namespace veltrane {
namespace {

constexpr int kLeft = 0x25, kV = 0x56;
const std::string kData = std::string(VELTRANE_TEST_DIR) + "/data/";

bool Same(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

class TrainingAidsTest : public ::testing::Test {
 protected:
  void Start(const std::string& settings) {
    form.reset();
    std::ofstream(config.path() / "settings.ini") << settings;
    store = std::make_unique<SettingsStore>(config.path(), NumberFormat{'.'});
    form = std::make_unique<TMainForm>(kData, *store, Trace(), clock, services);
    form->FormCreate();
  }
  void StartFlying() {
    Start("[MainForm]\nsModellFilename=Model/trainer.par\nsLandFileName=Landscape/field.scn\n");
    form->SetFlightsFolder((flights.path() / "flights").string());
    form->SimInit();
  }

  test_support::TempDir config, flights;
  ManualClock clock;
  FakeServices services;
  std::unique_ptr<SettingsStore> store;
  std::unique_ptr<TMainForm> form;
};

// The flight's clock runs at a half or a quarter of real time: a 16 ms display
// frame flies 8 or 4 ms, the recording holds the slowed times, and its replay
// (slowed alike while slow motion is on) retraces the flight exactly.
TEST_F(TrainingAidsTest, SlowMotionScalesTheFrameAndItsRecordingReplaysExactly) {
  for (const int divisor : {2, 4}) {
    SCOPED_TRACE(divisor);
    StartFlying();
    services.held = {kV};
    std::vector<Vec3> path;
    auto fly = [&](int frames) {
      for (int i = 0; i < frames; ++i) {
        clock.Advance(16 + i % 3);
        form->DXTimerTimer();
        path.push_back(form->State().ModelPosition);
      }
    };
    fly(100);
    const char* id = divisor == 2 ? "slow_motion_half" : "slow_motion_quarter";
    RunCommand(*FindCommand(id), *form);
    ASSERT_EQ(form->SlowMotion(), divisor);
    EXPECT_TRUE(FindCommand(id)->checked(*form));
    EXPECT_TRUE(form->CurrentOverlay().slowMotion.visible);
    const std::int64_t flightBefore = form->State().LastTickTime;
    clock.Advance(16 * divisor);
    form->DXTimerTimer();
    path.push_back(form->State().ModelPosition);
    EXPECT_DOUBLE_EQ(form->State().TimeStep, 0.016);
    EXPECT_EQ(form->State().LastTickTime - flightBefore, 16);
    services.held = {kV, kLeft};
    fly(400);
    const std::string recorded = form->RecordingPath();
    ASSERT_FALSE(recorded.empty());
    form->Initialisieren1Click();
    services.held.clear();

    const record::Recording rec = record::ReadRecording(recorded);
    ASSERT_EQ(rec.frames.size(), path.size());
    form->ReplayFlight(recorded);
    ASSERT_TRUE(form->Replaying());
    // Real time runs slowed in the replay too: 1 s of it shows 1/divisor s.
    for (int i = 0; i < 50; ++i) {
      clock.Advance(20);
      form->DXTimerTimer();
    }
    EXPECT_NEAR(form->ReplaySeconds(), 1.0 / divisor, 0.05);
    for (int i = 0; i < 20000 && form->ReplaySeconds() * 1000 < rec.DurationMs(); ++i) {
      clock.Advance(20);
      form->DXTimerTimer();
    }
    EXPECT_FALSE(form->HasErrorMessage()) << *form->TakeErrorMessage();
    EXPECT_TRUE(Same(form->State().ModelPosition, path.back()));

    // Back to real time; the pilot takes over with a normal next frame.
    RunCommand(*FindCommand(id), *form);
    EXPECT_EQ(form->SlowMotion(), 1);
    form->FormKeyDown(vk::kF9, false);
    clock.Advance(20);
    form->DXTimerTimer();
    EXPECT_DOUBLE_EQ(form->State().TimeStep, 0.02);
    EXPECT_FALSE(form->CurrentOverlay().slowMotion.visible);
  }
}

// Shown on a first start (no settings, or none written since the hint came)
// until the first key, and not again once a key was pressed.
TEST_F(TrainingAidsTest, FirstFlightHelpUntilTheFirstKeyOfTheFirstStart) {
  struct Case {
    const char* settings;
    bool key;        // a key pressed during the run
    bool shown;      // at the start
    bool nextStart;  // at the start after it
  };
  const Case cases[] = {
      {"", false, true, true},
      {"", true, true, false},
      {"[MainForm]\nsModellFilename=Model/trainer.par\n", false, false, false},
      {"[MainForm]\nFirstFlightHelpShown=0\n", false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    std::filesystem::remove(config.path() / "settings.ini");
    Start(c.settings);
    EXPECT_EQ(form->FirstFlightHelp(), c.shown);
    if (c.key) form->FormKeyDown(kV, false);
    EXPECT_EQ(form->FirstFlightHelp(), c.shown && !c.key);
    form->FormClose();
    form.reset();
    store = std::make_unique<SettingsStore>(config.path(), NumberFormat{'.'});
    form = std::make_unique<TMainForm>(kData, *store, Trace(), clock, services);
    form->FormCreate();
    EXPECT_EQ(form->FirstFlightHelp(), c.nextStart);
    form.reset();
  }
}

// A column is as wide as the circle its thermal beats a glider's sink in and
// denser the stronger it is; weak and far thermals are not drawn, and the
// columns follow the drift.
TEST(ThermalColumns, WidthAndOpacityFollowTheStrength) {
  const Thermal weak{0, 0, 0.2, 60}, mild{0, 0, 1.0, 60}, strong{0, 0, 2.5, 60},
      fierce{0, 0, 6.0, 60};
  EXPECT_EQ(ColumnLookOf(weak).radius, 0.0);
  EXPECT_GT(ColumnLookOf(mild).radius, 0.0);
  EXPECT_LT(ColumnLookOf(mild).radius, ColumnLookOf(strong).radius);
  EXPECT_LT(ColumnLookOf(mild).alpha, ColumnLookOf(strong).alpha);
  EXPECT_LE(ColumnLookOf(fierce).radius, 1.5 * 60);  // never wider than its lift reaches
  EXPECT_LT(ColumnLookOf(fierce).alpha, 128);        // faint even at its strongest
  // At the drawn edge a thermal lifts just the useful amount.
  const double r = ColumnLookOf(Thermal{0, 0, 1.5, 60}).radius, r4 = 60.0 * 60 * 60 * 60;
  EXPECT_NEAR(1.5 * r4 / (r * r * r * r + r4), ThermalColumns::kUsefulLift, 1e-9);

  rm::Root root;
  const auto scene = root.CreateFrame(nullptr);
  FlatWorld ground;
  ThermalTable table;
  table.iBubbles = 3;
  table.Thermals[0] = {100, 200, 2.5, 60};
  table.Thermals[1] = {5000, 0, 2.5, 60};  // beyond the range around the model
  table.Thermals[2] = weak;
  ThermalColumns columns(root, scene);
  columns.Update(table, {0, 0, 50}, ground, true);
  EXPECT_EQ(columns.Shown(), 1);
  table.Thermals[0].x += 30;  // drifted
  columns.Update(table, {0, 0, 50}, ground, true);
  ASSERT_EQ(scene->Children().size(), 3u);
  const rm::Vector at = scene->Children()[0]->Position();
  EXPECT_EQ(rm::ToLayer(Vec3{130, 200, 0}).x, at.x);
  columns.Update(table, {0, 0, 50}, ground, false);
  EXPECT_EQ(columns.Shown(), 0);
}

}  // namespace
}  // namespace veltrane
