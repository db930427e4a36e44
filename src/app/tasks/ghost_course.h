#pragma once

#include "app/tasks/task_runner.h"

namespace veltrane::tasks {

// The course a recorded run of a task flies against: the task's own obstacles,
// moved as that run moved them (the limbo tape it lowered), never the live
// attempt's. Replaying the run against the live tape would let it hit a tape
// it never met, or slip under one that stopped it.
class GhostCourse {
 public:
  // `land` must outlive the course.
  GhostCourse(TaskKind kind, const TaskPlaces& places, const World& land,
              const TaskOptions& options = {});

  const World& FlightWorld() const { return run_.FlightWorld(); }
  const FlyingTask& Task() const { return run_.Task(); }

  // Back to the recording's start state. A recording of a task begins at the
  // launch that began the attempt (thrown or on the winch) or at rest on the
  // ground, to be launched by its take-off.
  void Rewind(const SimState& start);
  // One replayed tick.
  void Tick(const SimState& s);

 private:
  TaskRunner run_;
};

}  // namespace veltrane::tasks
