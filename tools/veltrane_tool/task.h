#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <vector>

#include "app/tasks/task.h"
#include "base/trace/trace.h"
#include "tools/veltrane_tool/fly.h"
#include "tools/veltrane_tool/script.h"

namespace veltrane::tool {

struct TaskOptions {
  FlyOptions fly;
  tasks::TaskKind kind = tasks::TaskKind::SlopeRace;
  double workingTime = 600.0;  // seconds
};

// Flies the script as fly does with the task's rules watching every tick (and
// its obstacles in the collision world), until the run is over or the
// duration has passed. Returns the task's summary: "task", "state", "score",
// "events", "course", "details" and the "wind" flown in.
nlohmann::json FlyTask(const TaskOptions& options, const std::vector<ScriptCommand>& script,
                       std::ostream* csv, const Trace& trace);

}  // namespace veltrane::tool
