#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "app/tasks/course_world.h"
#include "app/tasks/task.h"
#include "app/tasks/task_setup.h"
#include "sim/sim_state.h"

namespace veltrane::tasks {

// One task flown in the main window: the run, the flight time it is timed
// by, and the landscape with the task's obstacles. A finished or ended run
// waits; the next launch or re-initialisation begins a fresh attempt of the
// same task on the same course.
class TaskRunner {
 public:
  // `land` must outlive the runner or the next Start.
  TaskRunner(TaskKind kind, const TaskPlaces& places, const World& land,
             const TaskOptions& options = {}, double noseOffset = 0.0);

  const FlyingTask& Task() const { return *task_; }
  TaskKind Kind() const { return task_->Kind(); }
  const TaskOptions& Options() const { return options_; }
  const TaskPlaces& Places() const { return places_; }
  // The world the flight meets: the landscape with poles and tape.
  const World& FlightWorld() const { return world_; }
  // Flight time since the attempt began, seconds; paused frames do not count.
  double Time() const { return time_; }
  // Whether this attempt is over (finished or ended).
  bool Over() const { return task_->State() != TaskState::Running; }

  // A hand launch or the winch. True when it began a fresh attempt.
  bool Launch(const Vec3& position);
  // The model was put back: an attempt in progress ends, a finished one
  // makes way for the next.
  void Abandon();
  // A fresh attempt, not yet launched, whatever the last one came to.
  void Restart() { Begin(); }
  // One unpaused tick: the events it brought, in order.
  std::vector<TaskEvent> Tick(const SimState& s);
  // True once, on the tick the attempt finished with a result worth keeping.
  bool TakeFinished();

 private:
  void Begin();
  void PlaceObstacles();

  TaskKind kind_;
  TaskPlaces places_;
  const World& land_;
  TaskOptions options_;
  double nose_;
  CourseWorld world_;
  std::unique_ptr<FlyingTask> task_;
  double time_ = 0.0;
  std::size_t seen_ = 0;
  bool finishedReported_ = false;
};

// The events that sound a tone: the start and each counted base or pass.
bool Beeps(EventKind kind);

}  // namespace veltrane::tasks
