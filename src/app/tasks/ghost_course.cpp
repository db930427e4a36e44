#include "app/tasks/ghost_course.h"

#include "sim/math_u.h"

namespace veltrane::tasks {
namespace {

// A model put back rests (a hair's speed, never none); a thrown one moves,
// even into a strong wind.
constexpr double kLaunchedSpeed = 1e-3;

}  // namespace

GhostCourse::GhostCourse(TaskKind kind, const TaskPlaces& places, const World& land,
                         const TaskOptions& options)
    : run_(kind, places, land, options) {}

void GhostCourse::Rewind(const SimState& start) {
  run_.Restart();
  if (start.WinchAttached || VecLength(start.ModelVelocity) > kLaunchedSpeed)
    run_.Launch(start.ModelPosition);
}

void GhostCourse::Tick(const SimState& s) {
  if (!s.Flags.Pause) run_.Tick(s);
}

}  // namespace veltrane::tasks
