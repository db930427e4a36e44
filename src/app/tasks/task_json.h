#pragma once

#include <nlohmann/json.hpp>

#include "app/tasks/task.h"

namespace veltrane::tasks {

// {"t": seconds, "event": name, ...}: a leg's "n" and "time", a pass's
// "height", a landing's "distance" and "points", the finish's "time".
nlohmann::json EventJson(const TaskEvent& e);
// Where the task's places are: the bases, the landing spot, the poles.
nlohmann::json CourseJson(const FlyingTask& task);
// The score's parts: leg times, flight and landing points, passes.
nlohmann::json DetailsJson(const FlyingTask& task);
// "task", "state", "score" (null without one), "events", "course", "details".
nlohmann::json SummaryJson(const FlyingTask& task);

}  // namespace veltrane::tasks
