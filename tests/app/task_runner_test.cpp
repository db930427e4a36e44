// The task runner of the main window fed synthetic flight states, and the
// overlay it shows.
#include "app/tasks/task_runner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tasks/duration_task.h"
#include "app/tasks/ghost_course.h"
#include "app/tasks/limbo.h"
#include "app/tasks/task_overlay.h"
#include "sim/world.h"

namespace veltrane::tasks {
namespace {

TaskPlaces Places() {
  TaskPlaces p;
  p.pilot = {0.0, 0.0, 1.8};
  p.courseMiddle = p.pilot;
  p.landingSpot = {0.0, 20.0, 0.0};
  p.modelRadius = 0.2;
  return p;
}

SimState At(double x, double y, double z, bool airborne, double dt = 0.5) {
  SimState s;
  s.ModelPosition = {x, y, z};
  s.AxisForward = {0.0, 1.0, 0.0};
  s.Airborne = airborne;
  s.TimeStep = dt;
  return s;
}

TEST(TaskRunner, AttemptsAreTimedByTheFlightReportedOnceAndBeginAfreshOnTheNextLaunch) {
  const FlatWorld ground;
  TaskRunner run(TaskKind::Duration, Places(), ground, TaskOptions{180.0});
  run.Tick(At(0, 0, 0, false));  // time before the launch counts for nothing
  run.Launch({0.0, 0.0, 1.5});
  std::vector<EventKind> seen;
  auto tick = [&](const SimState& s) {
    for (const TaskEvent& e : run.Tick(s)) seen.push_back(e.kind);
  };
  for (int i = 0; i < 40; ++i) tick(At(0, i * 0.5, 10.0, true));  // 20 s aloft
  tick(At(0, 19.5, 0.0, false));                                  // down 0.5 m from the spot
  for (int i = 0; i < 4 && !run.Over(); ++i) tick(At(0, 19.5, 0.0, false));
  ASSERT_TRUE(run.Over());
  EXPECT_EQ(seen, (std::vector<EventKind>{EventKind::Launch, EventKind::Landing}));
  const auto& d = static_cast<const DurationTask&>(run.Task());
  EXPECT_NEAR(d.FlightTime().value(), 20.5, 1e-9);
  EXPECT_EQ(d.LandingPoints(), 100.0);
  EXPECT_TRUE(run.TakeFinished());
  EXPECT_FALSE(run.TakeFinished());
  tick(At(0, 19.5, 0.0, false));
  EXPECT_TRUE(seen.size() == 2) << "an event is reported once";

  // The next launch is a new attempt on the same course.
  EXPECT_TRUE(run.Launch({0.0, 0.0, 1.5}));
  EXPECT_FALSE(run.Over());
  EXPECT_EQ(run.Time(), 0.0);
  EXPECT_EQ(run.Task().Events().size(), 1u);
  // So is a second launch in flight; re-initialising ends an attempt under way.
  EXPECT_TRUE(run.Launch({0.0, 0.0, 1.5}));
  run.Abandon();
  EXPECT_TRUE(run.Over());
  EXPECT_FALSE(run.TakeFinished()) << "an ended attempt has no result";
}

TEST(TaskRunner, TheLimboTapeStandsInTheFlightWorldAndGoesDownAfterAPass) {
  const FlatWorld ground;
  TaskRunner run(TaskKind::Limbo, Places(), ground);
  const Vec3 tape{0.0, Limbo::kDistance, Limbo::kStartHeight};
  EXPECT_TRUE(run.FlightWorld().SphereCollision(tape, 0.2));
  EXPECT_FALSE(ground.SphereCollision(tape, 0.2));
  run.Launch({0.0, 0.0, 3.0});
  // Under the tape at 3 m, then well clear beyond it.
  for (int i = 1; i <= 20; ++i) run.Tick(At(0.0, i * 5.0, 3.0, true));
  const auto& l = static_cast<const Limbo&>(run.Task());
  ASSERT_EQ(l.Passes(), 1);
  EXPECT_FALSE(run.FlightWorld().SphereCollision(tape, 0.2));
  EXPECT_TRUE(run.FlightWorld().SphereCollision(
      {0.0, Limbo::kDistance, Limbo::kStartHeight - Limbo::kStep}, 0.2));
}

TEST(TaskRunner, ACrashTheIndestructibleModelCameThroughEndsTheAttemptAsAnyCrash) {
  const FlatWorld ground;
  for (TaskKind kind : {TaskKind::SlopeRace, TaskKind::Duration, TaskKind::Limbo}) {
    std::vector<std::vector<EventKind>> seen;
    for (bool indestructible : {false, true}) {
      TaskRunner run(kind, Places(), ground, TaskOptions{180.0});
      run.Launch({0.0, 0.0, 1.5});
      std::vector<EventKind> events;
      auto tick = [&](const SimState& s) {
        for (const TaskEvent& e : run.Tick(s)) events.push_back(e.kind);
      };
      for (int i = 0; i < 10; ++i) tick(At(0.0, -30.0, 20.0, true));
      // Into the ground: kept crashed, or put back on it at once and flying on.
      SimState hit = At(0.0, -30.0, indestructible ? 0.0 : 0.2, false);
      (indestructible ? hit.CrashAbsorbed : hit.Crashed) = true;
      tick(hit);
      EXPECT_TRUE(run.Over()) << KindName(kind) << " indestructible " << indestructible;
      seen.push_back(events);
    }
    EXPECT_EQ(seen[0], seen[1]) << KindName(kind);
    EXPECT_EQ(seen[1].back(), kind == TaskKind::Duration ? EventKind::Landing : EventKind::Crash)
        << KindName(kind);
  }
}

TEST(GhostCourse, TheRecordedRunMeetsItsOwnTapeFromEachStartOfItsRecording) {
  const FlatWorld ground;
  const Vec3 start{0.0, Limbo::kDistance, Limbo::kStartHeight};
  const Vec3 lowered{0.0, Limbo::kDistance, Limbo::kStartHeight - Limbo::kStep};
  TaskRunner live(TaskKind::Limbo, Places(), ground);
  GhostCourse ghost(TaskKind::Limbo, Places(), ground);
  SimState thrown = At(0.0, 5.0, 1.8, false);
  thrown.ModelVelocity = {0.0, 10.0, 0.0};
  SimState resting = At(0.0, 5.0, 0.2, false);
  resting.ModelVelocity = {0.0, 1e-8, 0.0};
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    // A recording that starts with the throw is launched from its first frame.
    ghost.Rewind(thrown);
    EXPECT_TRUE(ghost.Task().Launched());
    EXPECT_TRUE(ghost.FlightWorld().SphereCollision(start, 0.2)) << "the tape back up";
    for (int i = 1; i <= 20; ++i) ghost.Tick(At(0.0, i * 5.0, 3.0, true));
    ASSERT_EQ(static_cast<const Limbo&>(ghost.Task()).Passes(), 1);
    EXPECT_TRUE(ghost.FlightWorld().SphereCollision(lowered, 0.2));
    EXPECT_FALSE(ghost.FlightWorld().SphereCollision(start, 0.2));
    EXPECT_TRUE(live.FlightWorld().SphereCollision(start, 0.2)) << "the live tape stays";
  }
  // One that starts at rest is launched by its take-off.
  ghost.Rewind(resting);
  EXPECT_FALSE(ghost.Task().Launched());
  ghost.Tick(At(0.0, 5.0, 0.2, false));
  ghost.Tick(At(0.0, 6.0, 0.5, true));
  EXPECT_TRUE(ghost.Task().Launched());
}

TEST(TaskOverlay, LinesFollowTheAttempt) {
  const FlatWorld ground;
  const TaskWords w;
  struct Case {
    TaskKind kind;
    int airborneTicks;  // after the launch; -1: not launched
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {TaskKind::SlopeRace, -1, {"Hangrennen", w.ready}},
      {TaskKind::SlopeRace, 20, {"Hangrennen", "Einflug noch 20 s"}},
      {TaskKind::Duration, 130, {"Dauer und Landung (5:00)", "Flugzeit: 1:05 / 5:00"}},
      {TaskKind::Limbo, 2, {"Limbo", "Band: 6,0 m   Durchflüge: 0"}},
  };
  for (const Case& c : cases) {
    TaskRunner run(c.kind, Places(), ground, TaskOptions{300.0});
    if (c.airborneTicks >= 0) run.Launch({0.0, 0.0, 1.5});
    // Hovering behind the pilot: no base, no tape, no ground.
    for (int i = 0; i < c.airborneTicks; ++i) run.Tick(At(0.0, -30.0, 20.0, true));
    EXPECT_EQ(TaskOverlayLines(run, w, ','), c.lines) << KindName(c.kind);
  }
}

}  // namespace
}  // namespace veltrane::tasks
