#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "base/math/vec3.h"

namespace veltrane::tasks {

enum class TaskKind { SlopeRace, Duration, Limbo };

// Running covers the time before the launch too; Ended is a run stopped
// without a score (a slope race that crashed).
enum class TaskState { Running, Finished, Ended };

enum class EventKind { Launch, Start, BaseA, BaseB, Leg, Finish, Pass, Touch, Landing, Crash };

struct TaskEvent {
  double t = 0.0;  // flight time, seconds
  EventKind kind = EventKind::Launch;
  int n = 0;            // Leg: its number from 1
  double value = 0.0;   // Leg, Finish: seconds; Pass: tape height; Landing: distance
  double points = 0.0;  // Landing
};

// What a task sees of the flight once per tick.
struct TaskSample {
  double t = 0.0;
  Vec3 position;
  Vec3 nose;  // the model's nose: where a landing is measured from
  Vec3 velocity;
  bool airborne = false;
  bool crashed = false;
};

// The places a task is laid out from, taken once when it starts.
struct TaskPlaces {
  Vec3 pilot;
  // The slope race's course: its middle and the direction the pilot faces
  // there (degrees, 0 = +y, 90 = +x), into the wind.
  Vec3 courseMiddle;
  double courseFacingDegrees = 0.0;
  Vec3 landingSpot;
  double modelRadius = 0.0;  // the sphere the flight model collides with
};

std::string_view KindName(TaskKind kind);  // "f3f", "duration", "limbo"
std::optional<TaskKind> KindFromName(std::string_view name);
std::string_view EventName(EventKind kind);   // "launch", "base_a", ...
std::string_view StateName(TaskState state);  // "running", "finished", "ended"

// One run of a task: fed the launch and a sample per tick, it keeps the events
// and, once the run is over, the score.
class FlyingTask {
 public:
  virtual ~FlyingTask() = default;
  virtual TaskKind Kind() const = 0;

  // A hand launch or the winch hooked on, with the model where it now is. A
  // take-off (the first tick off the ground) counts by itself. A second launch
  // while a run is in progress ends that run.
  void Launch(double t, const Vec3& position);
  void Update(const TaskSample& sample);
  // The model was put back (re-initialised, restarted): a run in progress
  // ends, and no path is drawn across the jump.
  void Abandon();

  TaskState State() const { return state_; }
  bool Launched() const { return launched_; }
  double LaunchTime() const { return launchTime_; }
  // Lower is better for the slope race's time, higher for the others.
  std::optional<double> Score() const { return score_; }
  const std::vector<TaskEvent>& Events() const { return events_; }
  // True once after the obstacles of the collision world changed.
  bool TakeObstaclesChanged() {
    const bool c = obstaclesChanged_;
    obstaclesChanged_ = false;
    return c;
  }

 protected:
  // The path from the previous sample to this one, after the launch.
  virtual void Advance(const TaskSample& from, const TaskSample& to) = 0;
  // The model crashed at `at`; the run ends here.
  virtual void Crashed(const TaskSample& at) = 0;
  virtual void OnLaunch(double /*t*/) {}

  void Emit(const TaskEvent& e) { events_.push_back(e); }
  void Finish(std::optional<double> score) {
    state_ = TaskState::Finished;
    score_ = score;
  }
  void End() { state_ = TaskState::Ended; }
  void ObstaclesChanged() { obstaclesChanged_ = true; }

 private:
  std::vector<TaskEvent> events_;
  TaskState state_ = TaskState::Running;
  std::optional<double> score_;
  std::optional<TaskSample> previous_;
  bool launched_ = false;
  bool wasAirborne_ = false;
  double launchTime_ = 0.0;
  bool obstaclesChanged_ = false;
};

// Where p lies on the way from a to b (0 at a, 1 at b) when the value crosses
// `level` going up (a < level <= b) or down (a > level >= b), as asked.
std::optional<double> CrossingUp(double a, double b, double level);
std::optional<double> CrossingDown(double a, double b, double level);

// The sample a fraction f of the way from `a` to `b`.
TaskSample Between(const TaskSample& a, const TaskSample& b, double f);

}  // namespace veltrane::tasks
