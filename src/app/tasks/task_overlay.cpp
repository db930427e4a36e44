#include "app/tasks/task_overlay.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/tasks/duration_task.h"
#include "app/tasks/limbo.h"
#include "app/tasks/slope_race.h"

namespace veltrane::tasks {

const std::string& TaskWords::Name(TaskKind kind) const {
  switch (kind) {
    case TaskKind::SlopeRace:
      return slopeRace;
    case TaskKind::Duration:
      return duration;
    case TaskKind::Limbo:
      break;
  }
  return limbo;
}

std::string Decimal(double value, int decimals, char decimal) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string s = text;
  std::replace(s.begin(), s.end(), '.', decimal);
  return s;
}

std::string MinutesSeconds(double seconds) {
  const long whole = std::lround(std::floor(std::max(seconds, 0.0)));
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

namespace {

std::vector<std::string> RaceLines(const SlopeRace& r, double now, const TaskWords& w, char d) {
  if (!r.Launched()) return {w.ready};
  if (r.State() == TaskState::Ended) return {w.ended, w.again};
  if (r.State() == TaskState::Finished) {
    std::vector<std::string> lines = {w.time + " " + Decimal(r.Score().value_or(0.0), 2, d) + " s"};
    std::string legs = w.legTimes;
    for (double t : r.LegTimes()) legs += " " + Decimal(t, 2, d);
    lines.push_back(legs);
    lines.push_back(w.again);
    return lines;
  }
  if (!r.StartTime())
    return {w.entry + " " + Decimal(SlopeRace::kEntryTime - (now - r.LaunchTime()), 0, d) + " s"};
  return {w.time + " " + Decimal(now - *r.StartTime(), 1, d) + " s   " + w.leg + " " +
          std::to_string(std::min(r.LegsDone() + 1, SlopeRace::kLegs)) + "/" +
          std::to_string(SlopeRace::kLegs)};
}

std::vector<std::string> DurationLines(const DurationTask& t, double now, const TaskWords& w,
                                       char d) {
  if (!t.Launched()) return {w.ready};
  if (t.State() == TaskState::Ended) return {w.ended, w.again};
  const double flown = t.FlightTime().value_or(now - t.LaunchTime());
  std::vector<std::string> lines = {w.flightTime + " " + MinutesSeconds(flown) + " / " +
                                    MinutesSeconds(t.WorkingTime())};
  if (t.State() == TaskState::Finished) {
    std::string landing = w.landing + " " + Decimal(t.LandingPoints(), 0, d) + " " + w.points;
    if (t.LandingDistance()) landing += " (" + Decimal(*t.LandingDistance(), 1, d) + " m)";
    lines.push_back(w.flight + " " + Decimal(t.FlightPoints(), 0, d) + " " + w.points + "   " +
                    landing);
    lines.push_back(w.total + " " + Decimal(t.Score().value_or(0.0), 0, d) + " " + w.points);
    lines.push_back(w.again);
  }
  return lines;
}

std::vector<std::string> LimboLines(const Limbo& l, const TaskWords& w, char d) {
  if (!l.Launched()) return {w.ready};
  std::string line = w.passes + " " + std::to_string(l.Passes());
  if (l.State() == TaskState::Running)
    return {w.tape + " " + Decimal(l.TapeHeight(), 1, d) + " m   " + line};
  if (l.LowestPass()) line += "   " + w.lowest + " " + Decimal(*l.LowestPass(), 1, d) + " m";
  return {line, w.again};
}

}  // namespace

std::vector<std::string> TaskOverlayLines(const TaskRunner& run, const TaskWords& w, char decimal) {
  const FlyingTask& task = run.Task();
  std::string title = w.Name(task.Kind());
  std::vector<std::string> rest;
  switch (task.Kind()) {
    case TaskKind::SlopeRace:
      rest = RaceLines(static_cast<const SlopeRace&>(task), run.Time(), w, decimal);
      break;
    case TaskKind::Duration: {
      const auto& t = static_cast<const DurationTask&>(task);
      title += " (" + MinutesSeconds(t.WorkingTime()) + ")";
      rest = DurationLines(t, run.Time(), w, decimal);
      break;
    }
    case TaskKind::Limbo:
      rest = LimboLines(static_cast<const Limbo&>(task), w, decimal);
      break;
  }
  rest.insert(rest.begin(), title);
  return rest;
}

std::string ScoreText(const std::string& task, std::optional<double> score,
                      const std::optional<double>& lowest, const TaskWords& w, char decimal) {
  if (!score) return "-";
  if (task == KindName(TaskKind::SlopeRace)) return Decimal(*score, 2, decimal) + " s";
  if (task == KindName(TaskKind::Limbo)) {
    std::string s = Decimal(*score, 0, decimal);
    if (lowest) s += " / " + Decimal(*lowest, 1, decimal) + " m";
    return s;
  }
  return Decimal(*score, 0, decimal) + " " + w.points;
}

}  // namespace veltrane::tasks
