#pragma once

#include <memory>
#include <optional>

#include "app/tasks/task.h"
#include "base/rm/types.h"
#include "sim/sim_state.h"
#include "sim/world.h"

namespace veltrane::tasks {

// What a landscape may say about its tasks' places (x, y; on the ground).
struct SceneCourse {
  std::optional<Vec3> courseMiddle;
  std::optional<double> courseFacingDegrees;
  std::optional<Vec3> landingSpot;
};

// The places from the flight state: the pilot, the model's start point as the
// landing spot, the slope race's course through the pilot facing into the wind
// (+y in still air); the scene's own places where it names them.
TaskPlaces PlacesFromState(const SimState& s, const SceneCourse& scene = {});

// How far the model's nose lies ahead of its origin: its mesh, in the scene
// graph's axes, points its nose along -z.
double NoseOffset(const std::vector<rm::Vector>& meshVertices);

// The task's view of one tick.
TaskSample SampleFromState(const SimState& s, double t, double noseOffset = 0.0);

struct TaskOptions {
  double workingTime = 600.0;  // seconds, duration task only
};

std::unique_ptr<FlyingTask> MakeTask(TaskKind kind, const TaskPlaces& places, const World& ground,
                                     const TaskOptions& options = {});

}  // namespace veltrane::tasks
