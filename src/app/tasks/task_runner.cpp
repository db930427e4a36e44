#include "app/tasks/task_runner.h"

#include "app/tasks/limbo.h"

namespace veltrane::tasks {

TaskRunner::TaskRunner(TaskKind kind, const TaskPlaces& places, const World& land,
                       const TaskOptions& options, double noseOffset)
    : kind_(kind),
      places_(places),
      land_(land),
      options_(options),
      nose_(noseOffset),
      world_(land) {
  Begin();
}

void TaskRunner::Begin() {
  task_ = MakeTask(kind_, places_, land_, options_);
  time_ = 0.0;
  seen_ = 0;
  finishedReported_ = false;
  PlaceObstacles();
}

void TaskRunner::PlaceObstacles() {
  if (const auto* limbo = dynamic_cast<const Limbo*>(task_.get()))
    world_.SetObstacles(limbo->Obstacles());
  else
    world_.SetObstacles({});
}

bool TaskRunner::Launch(const Vec3& position) {
  // A launch after one in this attempt is the pilot's new try.
  const bool fresh = Over() || task_->Launched();
  if (fresh) Begin();
  task_->Launch(time_, position);
  return fresh;
}

void TaskRunner::Abandon() {
  if (Over())
    Begin();
  else
    task_->Abandon();
}

std::vector<TaskEvent> TaskRunner::Tick(const SimState& s) {
  if (!Over()) {
    time_ += s.TimeStep;
    task_->Update(SampleFromState(s, time_, nose_));
    if (task_->TakeObstaclesChanged()) PlaceObstacles();
  }
  const std::vector<TaskEvent>& all = task_->Events();
  std::vector<TaskEvent> fresh(all.begin() + static_cast<std::ptrdiff_t>(seen_), all.end());
  seen_ = all.size();
  return fresh;
}

bool TaskRunner::TakeFinished() {
  if (finishedReported_ || task_->State() != TaskState::Finished) return false;
  finishedReported_ = true;
  return true;
}

bool Beeps(EventKind kind) {
  return kind == EventKind::Start || kind == EventKind::BaseA || kind == EventKind::BaseB ||
         kind == EventKind::Pass;
}

}  // namespace veltrane::tasks
