// The main window records each live flight as it goes and flies it again,
// through the same tick, to the same state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "app/commands.h"
#include "app/fake_services.h"
#include "app/main_form.h"
#include "app/tasks/results_store.h"
#include "record/flight_folder.h"
#include "record/flight_reader.h"
#include "sim/math_u.h"
#include "support/temp_dir.h"

namespace veltrane {
namespace {

constexpr int kLeft = 0x25, kV = 0x56;
const std::string kData = std::string(VELTRANE_TEST_DIR) + "/data/";

class FlightsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(config.path() / "settings.ini")
        << "[MainForm]\nsModellFilename=Model/trainer.par\nsLandFileName=Landscape/field.scn\n";
    store = std::make_unique<SettingsStore>(config.path(), NumberFormat{'.'});
    form = std::make_unique<TMainForm>(kData, *store, Trace(), clock, services);
    form->FormCreate();
    form->SetFlightsFolder((flights.path() / "flights").string() + "/");  // as the program names it
    form->SimInit();
  }
  // Uneven frame times, as a real display gives them.
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      clock.Advance(15 + (i * 7) % 5);
      form->DXTimerTimer();
    }
  }
  std::vector<Vec3> path;  // the model's place after each live frame
  void FlyLive(int n) {
    for (int i = 0; i < n; ++i) {
      Ticks(1);
      path.push_back(form->State().ModelPosition);
    }
  }

  test_support::TempDir config, flights;
  ManualClock clock;
  FakeServices services;
  std::unique_ptr<SettingsStore> store;
  std::unique_ptr<TMainForm> form;
};

bool Same(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

TEST_F(FlightsTest, AReplayRetracesTheLiveFlightSeeksAndHandsOverToThePilot) {
  services.held = {kV};  // full throttle on the keyboard
  FlyLive(300);
  form->PauseClick();
  FlyLive(40);
  form->PauseClick();
  form->FormKeyPress('8');  // the pilot walks towards the model
  services.held = {kV, kLeft};
  FlyLive(500);
  const std::string recorded = form->RecordingPath();
  ASSERT_FALSE(recorded.empty());
  form->Initialisieren1Click();  // the next flight goes to a file of its own
  EXPECT_NE(form->RecordingPath(), recorded);
  services.held.clear();

  form->ReplayFlight(recorded);
  ASSERT_TRUE(form->Replaying());
  EXPECT_FALSE(form->HasErrorMessage());
  EXPECT_TRUE(form->RecordingPath().empty());
  // Real time runs at the replay's pace: 17 ms a display frame at 1x.
  const record::Recording rec = record::ReadRecording(recorded);
  ASSERT_EQ(rec.frames.size(), path.size());
  std::size_t checked = 0;
  for (int i = 0; i < 2000 && form->ReplaySeconds() < rec.DurationMs() / 1000.0; ++i) {
    clock.Advance(17);
    form->DXTimerTimer();
    // The frame the replay stands at: the first whose clock is past the time shown.
    const auto at = static_cast<std::size_t>(
        std::upper_bound(
            rec.frames.begin(), rec.frames.end(),
            rec.StartClock() + std::llround(form->ReplaySeconds() * 1000),
            [](std::int64_t t, const record::Recording::Frame& f) { return t < f.clock; }) -
        rec.frames.begin());
    if (at == 0) continue;
    ASSERT_TRUE(Same(form->State().ModelPosition, path[at - 1])) << "frame " << at;
    ++checked;
  }
  EXPECT_GT(checked, 400u);
  EXPECT_FALSE(form->HasErrorMessage());
  ASSERT_TRUE(Same(form->State().ModelPosition, path.back()));

  // 10 s back lands on a recorded frame; forward again retraces it.
  form->ReplaySeek(-10000);
  const double back = form->ReplaySeconds();
  EXPECT_NEAR(back, rec.DurationMs() / 1000.0 - 10.0, 0.05);
  form->ReplayFaster(true);
  form->ReplayFaster(true);
  form->ReplayFaster(true);  // beyond 4x stays at 4x
  EXPECT_EQ(form->ReplaySpeed(), 4.0);
  form->ReplayTogglePause();
  Ticks(10);
  EXPECT_EQ(form->ReplaySeconds(), back);  // paused
  form->ReplayTogglePause();
  Ticks(10);
  EXPECT_NEAR(form->ReplaySeconds() - back, 4.0 * 10 * 17 / 1000.0, 0.1);

  // The pilot takes over: live from the replayed state, with a normal next frame.
  const Vec3 there = form->State().ModelPosition;
  form->FormKeyDown(vk::kF9, false);
  EXPECT_FALSE(form->Replaying());
  EXPECT_FALSE(form->RecordingPath().empty());
  clock.Advance(20);
  form->DXTimerTimer();
  EXPECT_NEAR(form->State().TimeStep, 0.02, 1e-12);
  const Vec3 moved = form->State().ModelPosition - there;
  EXPECT_GT(VecLength(moved), 0.0);
}

TEST_F(FlightsTest, TheGhostFliesItsRecordingBesideTheNextLiveFlight) {
  services.held = {kV, kLeft};
  FlyLive(200);
  const std::string recorded = form->RecordingPath();
  form->Initialisieren1Click();
  services.held.clear();  // this time the model stays on the ground
  form->ShowGhost(recorded);
  ASSERT_TRUE(form->GhostShown());
  ASSERT_FALSE(form->HasErrorMessage());
  for (std::size_t k = 0; k < 150; ++k) {
    FlyLive(1);
    ASSERT_TRUE(Same(form->GhostState()->ModelPosition, path[k])) << "frame " << k;
  }
  EXPECT_GT(VecLength(form->GhostState()->ModelPosition - form->State().ModelPosition), 5.0);
  // A new live flight starts the ghost again.
  form->Initialisieren1Click();
  FlyLive(1);
  EXPECT_TRUE(Same(form->GhostState()->ModelPosition, path[0]));
  form->HideGhost();
  EXPECT_FALSE(form->GhostShown());
  // A file that cannot be read gives a message, not a ghost.
  form->ShowGhost(std::string(VELTRANE_TEST_DIR) + "/no-such.vflight");
  EXPECT_FALSE(form->GhostShown());
  EXPECT_TRUE(form->HasErrorMessage());
}

TEST_F(FlightsTest, ATaskRunsInTheWindowItsFinishedRunIsKeptAndFliesAsTheNextGhost) {
  RunCommand(*FindCommand("task_limbo"), *form);
  ASSERT_EQ(form->RunningTask(), tasks::TaskKind::Limbo);
  EXPECT_TRUE(IsEnabled(*FindCommand("task_end"), *form));
  ASSERT_FALSE(form->CurrentOverlay().task.empty());
  EXPECT_EQ(form->CurrentOverlay().task.front().text, "Limbo");
  // The tape is in the world the flight meets, 60 m ahead of the pilot.
  const Vec3 pilot = form->State().PilotPosition;
  const Vec3 tape{pilot.x, pilot.y + 60.0,
                  form->CurrentWorld().GroundHeightAt(pilot.x, pilot.y + 60.0) + 6.0};
  EXPECT_TRUE(form->CurrentWorld().SphereCollision(tape, 0.2));
  // Opening a landscape ends the task, its tape with it.
  form->LoadWorld("Landscape/field.scn");
  EXPECT_FALSE(form->RunningTask().has_value());
  EXPECT_FALSE(form->CurrentWorld().SphereCollision(tape, 0.2));
  EXPECT_TRUE(form->CurrentOverlay().task.empty());

  // A thrown model glides down: the duration task scores it and keeps it.
  form->StartTask(tasks::TaskKind::Duration, 180.0);
  EXPECT_FALSE(form->GhostShown()) << "no earlier run";
  form->Handstart1Click();
  for (int i = 0; i < 6000 && form->CurrentTask()->State() == tasks::TaskState::Running; ++i)
    Ticks(1);
  ASSERT_EQ(form->CurrentTask()->State(), tasks::TaskState::Finished);
  tasks::ResultsStore results(form->ResultsFile());
  results.Load();
  ASSERT_EQ(results.Results().size(), 1u);
  const tasks::TaskResult& kept = results.Results().front();
  EXPECT_EQ(kept.task, "duration");
  EXPECT_EQ(kept.score, form->CurrentTask()->Score());
  EXPECT_TRUE(std::filesystem::exists(kept.flight)) << kept.flight;

  // The next attempt of the same task has it beside the model; ending the task takes it away.
  form->EndTask();
  form->StartTask(tasks::TaskKind::Duration, 180.0);
  EXPECT_TRUE(form->GhostShown());
  EXPECT_FALSE(form->HasErrorMessage());
  RunCommand(*FindCommand("task_end"), *form);
  EXPECT_FALSE(form->GhostShown());
  EXPECT_FALSE(IsEnabled(*FindCommand("task_end"), *form));
}

}  // namespace
}  // namespace veltrane
