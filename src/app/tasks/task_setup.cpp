#include "app/tasks/task_setup.h"

#include <algorithm>

#include "app/tasks/duration_task.h"
#include "app/tasks/limbo.h"
#include "app/tasks/slope_race.h"

namespace veltrane::tasks {

TaskPlaces PlacesFromState(const SimState& s, const SceneCourse& scene) {
  TaskPlaces p;
  p.pilot = s.PilotPosition;
  p.courseMiddle = scene.courseMiddle.value_or(s.PilotPosition);
  const WindSettings& wind = s.Air.Settings();
  // The pilot faces where the wind comes from.
  p.courseFacingDegrees =
      scene.courseFacingDegrees.value_or(wind.speed > 0.0 ? wind.fromDegrees : 0.0);
  p.landingSpot = scene.landingSpot.value_or(s.StartPosition);
  // The airplane model's obstacle test: a sphere of half the ground clearance.
  p.modelRadius = s.GroundClearance * 0.5;
  return p;
}

double NoseOffset(const std::vector<rm::Vector>& meshVertices) {
  double ahead = 0.0;
  for (const rm::Vector& v : meshVertices) ahead = std::max(ahead, -static_cast<double>(v.z));
  return ahead;
}

TaskSample SampleFromState(const SimState& s, double t, double noseOffset) {
  TaskSample x;
  x.t = t;
  x.position = s.ModelPosition;
  x.nose = {s.ModelPosition.x + s.AxisForward.x * noseOffset,
            s.ModelPosition.y + s.AxisForward.y * noseOffset,
            s.ModelPosition.z + s.AxisForward.z * noseOffset};
  x.velocity = s.ModelVelocity;
  x.airborne = s.Airborne;
  // With the model indestructible a crash leaves no trace in the state but this.
  x.crashed = s.Crashed || s.CrashAbsorbed;
  return x;
}

std::unique_ptr<FlyingTask> MakeTask(TaskKind kind, const TaskPlaces& places, const World& ground,
                                     const TaskOptions& options) {
  switch (kind) {
    case TaskKind::SlopeRace:
      return std::make_unique<SlopeRace>(places);
    case TaskKind::Duration:
      return std::make_unique<DurationTask>(places, options.workingTime);
    case TaskKind::Limbo:
      return std::make_unique<Limbo>(places, ground);
  }
  return nullptr;
}

}  // namespace veltrane::tasks
