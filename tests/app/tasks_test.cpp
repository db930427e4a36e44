#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "app/tasks/course_world.h"
#include "app/tasks/duration_task.h"
#include "app/tasks/limbo.h"
#include "app/tasks/slope_race.h"

namespace veltrane::tasks {
namespace {

// A path of straight pieces between timed points, sampled every `tick`
// seconds (and at its last point); the model is airborne throughout.
struct Waypoint {
  double t, x, y, z;
};

void Fly(FlyingTask& task, const std::vector<Waypoint>& path, double tick,
         std::optional<double> crashAt = std::nullopt, bool airborne = true) {
  task.Launch(path.front().t, {path.front().x, path.front().y, path.front().z});
  std::size_t i = 0;
  for (double t = path.front().t + tick;; t += tick) {
    const bool last = t >= path.back().t;
    if (last) t = path.back().t;
    while (path[i + 1].t < t) ++i;
    const Waypoint &a = path[i], &b = path[i + 1];
    const double f = (t - a.t) / (b.t - a.t);
    TaskSample s;
    s.t = t;
    s.position = {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f, a.z + (b.z - a.z) * f};
    s.nose = s.position;
    s.velocity = {(b.x - a.x) / (b.t - a.t), (b.y - a.y) / (b.t - a.t), 0.0};
    s.airborne = airborne;
    s.crashed = crashAt && t >= *crashAt;
    task.Update(s);
    if (last || task.State() != TaskState::Running) return;
  }
}

// From x0 at 10 m/s along x, turning at each of turnsAt.
std::vector<Waypoint> Shuttle(double t0, double x0, std::vector<double> turnsAt) {
  std::vector<Waypoint> p{{t0, x0, 20.0, 30.0}};
  for (double x : turnsAt) {
    const Waypoint& last = p.back();
    p.push_back({last.t + std::fabs(x - last.x) / 10.0, x, 20.0, 30.0});
  }
  return p;
}

std::vector<double> Repeat(std::vector<double> head, int times) {
  for (int i = 0; i < times; ++i) head.push_back(i % 2 == 0 ? 60.0 : -60.0);
  return head;
}

TEST(SlopeRace, RulesAtTheirEdges) {
  struct Case {
    const char* name;
    std::vector<Waypoint> path;
    std::optional<double> crashAt;
    TaskState state;
    std::optional<double> start;
    int legs;
    std::optional<double> firstLeg;
    std::optional<double> score;
  };
  // From x = -60: A at t = 1, B at 11, then every 12 s a base.
  const std::vector<Case> cases = {
      {"entered from outside A, ten legs",
       Shuttle(0, -60, Repeat({}, 10)),
       {},
       TaskState::Finished,
       1.0,
       10,
       10.0,
       10.0 + 9 * 12.0},
      // Out over B and back out over A: neither counts; the way back in over A starts it.
      {"entry from inside the course",
       Shuttle(0, 0, Repeat({60, -60}, 1)),
       {},
       TaskState::Running,
       19.0,
       1,
       10.0,
       {}},
      // Inside until the 30 s are up: the clock starts then, the legs once it enters over A.
      {"30 s entry limit",
       Shuttle(0, 0, {40, -40, 40, -40, 40, -60, 60}),
       {},
       TaskState::Running,
       30.0,
       1,
       57.0 - 30.0,
       {}},
      {"a turn short of B",
       Shuttle(0, -60, {45, -60, 60}),
       {},
       TaskState::Running,
       1.0,
       1,
       32.0 - 1.0,
       {}},
      {"a crash ends without a time",
       Shuttle(0, -60, Repeat({}, 10)),
       30.0,
       TaskState::Ended,
       1.0,
       2,
       10.0,
       {}},
  };
  for (const Case& c : cases) {
    for (double tick : {0.02, 0.7}) {
      SCOPED_TRACE(std::string(c.name) + ", tick " + std::to_string(tick));
      TaskPlaces places;
      SlopeRace race(places);
      Fly(race, c.path, tick, c.crashAt);
      EXPECT_EQ(race.State(), c.state);
      ASSERT_EQ(race.StartTime().has_value(), c.start.has_value());
      if (c.start) {
        EXPECT_NEAR(*race.StartTime(), *c.start, 1e-9);
      }
      EXPECT_EQ(race.LegsDone(), c.legs);
      if (c.firstLeg && !race.LegTimes().empty()) {
        EXPECT_NEAR(race.LegTimes()[0], *c.firstLeg, 1e-9);
      }
      EXPECT_EQ(race.Score().has_value(), c.score.has_value());
      if (c.score && race.Score()) {
        EXPECT_NEAR(*race.Score(), *c.score, 1e-9);
      }
      if (c.crashAt) {
        EXPECT_EQ(race.Events().back().kind, EventKind::Crash);
      }
    }
  }
}

TEST(SlopeRace, BasesLieAcrossTheWindWithALeftOfThePilot) {
  TaskPlaces p;
  p.courseMiddle = {100.0, 200.0, 5.0};
  p.courseFacingDegrees = 90.0;  // wind from +x: the pilot faces +x, his left is +y
  const SlopeRace race(p);
  EXPECT_NEAR(race.BaseA().x, 100.0, 1e-9);
  EXPECT_NEAR(race.BaseA().y, 250.0, 1e-9);
  EXPECT_NEAR(race.BaseB().y, 150.0, 1e-9);
}

TEST(Duration, PointsAtTheirLimits) {
  struct Flight {
    double seconds, working, points;
  };
  for (const Flight& f : std::vector<Flight>{{0.4, 600, 0},
                                             {599.99, 600, 599},
                                             {600.0, 600, 600},
                                             {600.9, 600, 600},
                                             {601.0, 600, 599},
                                             {1199.0, 600, 1},
                                             {1500.0, 600, 0}}) {
    EXPECT_EQ(DurationTask::FlightPointsFor(f.seconds, f.working), f.points) << f.seconds;
  }
  struct Landing {
    double distance, points;
  };
  for (const Landing& l : std::vector<Landing>{{0.0, 100},
                                               {1.0, 100},
                                               {1.01, 95},
                                               {2.0, 95},
                                               {2.5, 90},
                                               {15.0, 30},
                                               {15.01, 0},
                                               {NAN, 0}}) {
    EXPECT_EQ(DurationTask::LandingPointsFor(l.distance), l.points) << l.distance;
  }
  TaskPlaces p;
  EXPECT_EQ(DurationTask(p, 60.0).WorkingTime(), DurationTask::kMinWorkingTime);
  EXPECT_EQ(DurationTask(p, 3600.0).WorkingTime(), DurationTask::kMaxWorkingTime);
}

TEST(Duration, TimedToTheTouchdownMeasuredAtRest) {
  TaskPlaces p;
  p.landingSpot = {10.0, 0.0, 0.0};
  for (bool crash : {false, true}) {
    SCOPED_TRACE(crash ? "crash" : "landing");
    DurationTask task(p, 180.0);
    task.Launch(2.0, {0, 5, 2});
    TaskSample s;
    s.airborne = true;
    s.velocity = {0, 8, 0};
    for (s.t = 2.5; s.t < 190.0; s.t += 0.5) task.Update(s);  // airborne up to 189.5
    s.t = 190.0;                                              // touchdown: 188 s after the launch
    s.airborne = false;
    s.crashed = crash;
    s.nose = {13.5, 0.0, 0.0};
    task.Update(s);
    s.t = 191.0;
    s.velocity = {};
    task.Update(s);  // at rest 3.5 m from the spot
    EXPECT_EQ(task.State(), TaskState::Finished);
    EXPECT_DOUBLE_EQ(*task.FlightTime(), 188.0);
    EXPECT_EQ(task.FlightPoints(), 180.0 - 8.0);
    EXPECT_EQ(task.LandingPoints(), crash ? 0.0 : 85.0);
    EXPECT_DOUBLE_EQ(*task.LandingDistance(), 3.5);
    EXPECT_EQ(*task.Score(), task.FlightPoints() + task.LandingPoints());
    EXPECT_EQ(task.Events().back().kind, EventKind::Landing);
  }
}

TEST(Limbo, PassesTouchesAndMisses) {
  // The tape's plane is y = 60, poles at x = -5 and 5; the model has a radius of 0.3 m.
  auto across = [](double t, double x, double z, bool north) {
    const double y0 = north ? 40.0 : 80.0, y1 = north ? 80.0 : 40.0;
    return std::vector<Waypoint>{{t, x, y0, z}, {t + 2.0, x, y1, z}};
  };
  auto join = [](std::vector<std::vector<Waypoint>> parts) {
    std::vector<Waypoint> all;
    for (auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  };
  struct Case {
    const char* name;
    std::vector<Waypoint> path;
    int passes;
    TaskState state;
    std::optional<EventKind> last;
    bool airborne = true;
  };
  const std::vector<Case> cases = {
      {"two clean passes, the tape lowered between",
       join({across(0, 0, 5.5, true), across(3, 1, 5.0, false)}), 2, TaskState::Running,
       EventKind::Pass},
      {"at the old height after a lowering",
       join({across(0, 0, 5.5, true), across(3, 1, 5.5, false)}), 1, TaskState::Finished,
       EventKind::Touch},
      {"outside the poles",
       join({across(0, 6, 3, true), across(3, -8, 3, false)}),
       0,
       TaskState::Running,
       {}},
      {"over the tape", across(0, 0, 7, true), 0, TaskState::Running, {}},
      {"rolling under it on the ground", across(0, 0, 0.2, true), 0, TaskState::Running, {}, false},
      {"grazing the tape", across(0, 2, 6.2, true), 0, TaskState::Finished, EventKind::Touch},
      {"against a pole", across(0, 4.8, 2, true), 0, TaskState::Finished, EventKind::Touch},
      // Turned back 3 m past the tape: the tape has not come down, so the way back does not count.
      {"back before the tape came down",
       {{0, 0, 40, 3}, {1, 0, 63, 3}, {2, 0.5, 40, 3}},
       1,
       TaskState::Running,
       EventKind::Pass},
  };
  for (const Case& c : cases) {
    for (double tick : {0.02, 0.1}) {
      SCOPED_TRACE(std::string(c.name) + ", tick " + std::to_string(tick));
      TaskPlaces p;
      p.modelRadius = 0.3;
      const FlatWorld ground;
      Limbo limbo(p, ground);
      Fly(limbo, c.path, tick, std::nullopt, c.airborne);
      EXPECT_EQ(limbo.Passes(), c.passes);
      EXPECT_EQ(limbo.State(), c.state);
      EXPECT_EQ(limbo.Events().back().kind, c.last.value_or(EventKind::Launch));
    }
  }
}

TEST(Limbo, PolesAndTapeStandInTheCollisionWorld) {
  TaskPlaces p;
  const FlatWorld ground;
  Limbo limbo(p, ground);
  CourseWorld world(ground);
  const Vec3 underTape{0, 60, 5.9}, wellBelow{0, 60, 5.3};
  EXPECT_FALSE(world.SphereCollision(underTape, 0.2));
  world.SetObstacles(limbo.Obstacles());
  EXPECT_TRUE(world.SphereCollision(underTape, 0.2));
  EXPECT_TRUE(world.SphereCollision({5.0, 60.0, 1.0}, 0.2));
  EXPECT_FALSE(world.SphereCollision(wellBelow, 0.2));
  World::RayHit hit;
  ASSERT_TRUE(world.ContactRay({0, 50, 6}, {0, 20, 0}, hit));  // the tape before the ground
  EXPECT_NEAR(hit.point.y, 60.0, 1e-3);
  ASSERT_TRUE(world.ContactRay({0, 50, 3}, {0, 0, -10}, hit));  // the ground where nothing stands
  EXPECT_NEAR(hit.point.z, 0.0, 1e-9);
  EXPECT_EQ(world.GroundHeightAt(0, 60), 0.0);
}

}  // namespace
}  // namespace veltrane::tasks
