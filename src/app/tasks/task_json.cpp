#include "app/tasks/task_json.h"

#include "app/tasks/duration_task.h"
#include "app/tasks/limbo.h"
#include "app/tasks/slope_race.h"

namespace veltrane::tasks {
namespace {

nlohmann::json Point(const Vec3& v) { return nlohmann::json::array({v.x, v.y, v.z}); }

nlohmann::json Optional(const std::optional<double>& v) {
  return v ? nlohmann::json(*v) : nlohmann::json(nullptr);
}

}  // namespace

nlohmann::json EventJson(const TaskEvent& e) {
  nlohmann::json j = {{"t", e.t}, {"event", EventName(e.kind)}};
  switch (e.kind) {
    case EventKind::Leg:
      j["n"] = e.n;
      j["time"] = e.value;
      break;
    case EventKind::Finish:
      j["time"] = e.value;
      break;
    case EventKind::Pass:
      j["height"] = e.value;
      break;
    case EventKind::Landing:
      j["distance"] = e.value;
      j["points"] = e.points;
      break;
    default:
      break;
  }
  return j;
}

nlohmann::json CourseJson(const FlyingTask& task) {
  switch (task.Kind()) {
    case TaskKind::SlopeRace: {
      const auto& r = static_cast<const SlopeRace&>(task);
      const Vec3 f = r.Facing();
      return {{"base_a", Point(r.BaseA())}, {"base_b", Point(r.BaseB())}, {"facing", {f.x, f.y}}};
    }
    case TaskKind::Duration: {
      const auto& d = static_cast<const DurationTask&>(task);
      return {{"spot", Point(d.Spot())}, {"working_time", d.WorkingTime()}};
    }
    case TaskKind::Limbo: {
      const auto& l = static_cast<const Limbo&>(task);
      return {{"poles", {Point(l.PoleFoot(0)), Point(l.PoleFoot(1))}},
              {"middle", Point(l.Middle())},
              {"tape_height", l.TapeHeight()}};
    }
  }
  return nullptr;
}

nlohmann::json DetailsJson(const FlyingTask& task) {
  switch (task.Kind()) {
    case TaskKind::SlopeRace: {
      const auto& r = static_cast<const SlopeRace&>(task);
      return {{"start", Optional(r.StartTime())}, {"legs", r.LegTimes()}};
    }
    case TaskKind::Duration: {
      const auto& d = static_cast<const DurationTask&>(task);
      return {{"flight_time", Optional(d.FlightTime())},
              {"flight_points", d.FlightPoints()},
              {"landing_distance", Optional(d.LandingDistance())},
              {"landing_points", d.LandingPoints()}};
    }
    case TaskKind::Limbo: {
      const auto& l = static_cast<const Limbo&>(task);
      return {{"passes", l.Passes()}, {"lowest", Optional(l.LowestPass())}};
    }
  }
  return nullptr;
}

nlohmann::json SummaryJson(const FlyingTask& task) {
  nlohmann::json events = nlohmann::json::array();
  for (const TaskEvent& e : task.Events()) events.push_back(EventJson(e));
  return {{"task", KindName(task.Kind())},   {"state", StateName(task.State())},
          {"score", Optional(task.Score())}, {"events", std::move(events)},
          {"course", CourseJson(task)},      {"details", DetailsJson(task)}};
}

}  // namespace veltrane::tasks
