#pragma once

#include "app/tasks/task_setup.h"
#include "loaders/scene_file.h"
#include "sim/world.h"

namespace veltrane {

// The task places a landscape names, on its ground; what it leaves out the
// task takes from the flight state.
inline tasks::SceneCourse SceneCourseOf(const loaders::SceneInfo& info, const World& ground) {
  tasks::SceneCourse c;
  if (info.F3fCourse) {
    const double x = info.F3fCourse->x, y = info.F3fCourse->y;
    c.courseMiddle = Vec3{x, y, ground.GroundHeightAt(x, y)};
    c.courseFacingDegrees = info.F3fCourse->facingDegrees;
  }
  if (info.LandingSpot) {
    const auto [x, y] = *info.LandingSpot;
    c.landingSpot = Vec3{x, y, ground.GroundHeightAt(x, y)};
  }
  return c;
}

}  // namespace veltrane
