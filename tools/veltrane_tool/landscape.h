#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/tasks/task_setup.h"
#include "base/trace/trace.h"
#include "loaders/scene_file.h"
#include "sim/sim_state.h"
#include "sim/world.h"

namespace veltrane::tool {

// The ground a flight runs over and the places the scene asks for.
struct Landscape {
  std::unique_ptr<World> world;
  double pilotX = 0.0, pilotY = 0.0;
  double startX = 0.0, startY = 0.0;
  std::optional<loaders::SceneInfo::UsualWind> wind;  // the wind the scene names
  tasks::SceneCourse course;                          // the task places it names
};

// Without a file: the flat plane, pilot and start at the origin.
Landscape FlatLandscape();
// Reads a scene file and builds the collision world from its terrain. Draws
// the terrain shades from s.Random, as the program does. Throws ToolError for
// a missing file and passes on the loader's errors.
Landscape LoadLandscape(const std::string& path, SimState& s, const Trace& trace);

}  // namespace veltrane::tool
