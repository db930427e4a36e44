#include "app/tasks/task.h"

#include <array>
#include <utility>

namespace veltrane::tasks {
namespace {

constexpr std::array<std::pair<TaskKind, std::string_view>, 3> kKindNames = {
    {{TaskKind::SlopeRace, "f3f"}, {TaskKind::Duration, "duration"}, {TaskKind::Limbo, "limbo"}}};

constexpr std::array<std::string_view, 10> kEventNames = {
    "launch", "start", "base_a", "base_b", "leg", "finish", "pass", "touch", "landing", "crash"};

Vec3 Lerp(const Vec3& a, const Vec3& b, double f) {
  return {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f, a.z + (b.z - a.z) * f};
}

}  // namespace

std::string_view KindName(TaskKind kind) {
  for (const auto& [k, name] : kKindNames)
    if (k == kind) return name;
  return {};
}

std::optional<TaskKind> KindFromName(std::string_view name) {
  for (const auto& [k, n] : kKindNames)
    if (n == name) return k;
  return std::nullopt;
}

std::string_view EventName(EventKind kind) { return kEventNames[static_cast<std::size_t>(kind)]; }

std::string_view StateName(TaskState state) {
  switch (state) {
    case TaskState::Running:
      return "running";
    case TaskState::Finished:
      return "finished";
    case TaskState::Ended:
      return "ended";
  }
  return {};
}

void FlyingTask::Launch(double t, const Vec3& position) {
  if (state_ != TaskState::Running) return;
  if (launched_) {
    End();
    return;
  }
  launched_ = true;
  launchTime_ = t;
  Emit({t, EventKind::Launch});
  TaskSample at;
  at.t = t;
  at.position = at.nose = position;
  previous_ = at;
  OnLaunch(t);
}

void FlyingTask::Update(const TaskSample& sample) {
  if (state_ != TaskState::Running) return;
  const bool tookOff = sample.airborne && !wasAirborne_ && previous_.has_value();
  wasAirborne_ = sample.airborne;
  if (!launched_) {
    if (tookOff) Launch(sample.t, sample.position);
    previous_ = sample;
    return;
  }
  if (previous_ && sample.t >= previous_->t) Advance(*previous_, sample);
  if (state_ == TaskState::Running && sample.crashed) Crashed(sample);
  previous_ = sample;
}

void FlyingTask::Abandon() {
  previous_.reset();
  wasAirborne_ = false;
  if (state_ == TaskState::Running && launched_) End();
}

std::optional<double> CrossingUp(double a, double b, double level) {
  if (!(a < level && b >= level)) return std::nullopt;
  return (level - a) / (b - a);
}

std::optional<double> CrossingDown(double a, double b, double level) {
  if (!(a > level && b <= level)) return std::nullopt;
  return (a - level) / (a - b);
}

TaskSample Between(const TaskSample& a, const TaskSample& b, double f) {
  TaskSample s = b;
  s.t = a.t + (b.t - a.t) * f;
  s.position = Lerp(a.position, b.position, f);
  s.nose = Lerp(a.nose, b.nose, f);
  s.velocity = Lerp(a.velocity, b.velocity, f);
  return s;
}

}  // namespace veltrane::tasks
