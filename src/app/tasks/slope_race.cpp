#include "app/tasks/slope_race.h"

#include <cmath>
#include <numbers>

namespace veltrane::tasks {
namespace {

constexpr double kHalf = SlopeRace::kBaseDistance / 2.0;

}  // namespace

SlopeRace::SlopeRace(const TaskPlaces& places) : middle_(places.courseMiddle) {
  const double a = places.courseFacingDegrees * std::numbers::pi / 180.0;
  facing_ = {std::sin(a), std::cos(a), 0.0};
  // B lies on the right of a pilot facing along facing_.
  towardsB_ = {facing_.y, -facing_.x, 0.0};
}

Vec3 SlopeRace::BaseA() const {
  return {middle_.x - towardsB_.x * kHalf, middle_.y - towardsB_.y * kHalf, middle_.z};
}

Vec3 SlopeRace::BaseB() const {
  return {middle_.x + towardsB_.x * kHalf, middle_.y + towardsB_.y * kHalf, middle_.z};
}

double SlopeRace::Along(const Vec3& p) const {
  return (p.x - middle_.x) * towardsB_.x + (p.y - middle_.y) * towardsB_.y;
}

void SlopeRace::StartClock(double t) {
  start_ = t;
  lastMark_ = t;
  Emit({t, EventKind::Start});
}

void SlopeRace::CountBase(double t) {
  // Odd legs run from A to B and end at B.
  const bool atB = legTimes_.size() % 2 == 0;
  Emit({t, atB ? EventKind::BaseB : EventKind::BaseA});
  legTimes_.push_back(t - lastMark_);
  lastMark_ = t;
  const int n = LegsDone();
  Emit({t, EventKind::Leg, n, legTimes_.back()});
  if (n == kLegs) {
    const double total = t - *start_;
    Emit({t, EventKind::Finish, 0, total});
    Finish(total);
  }
}

void SlopeRace::Advance(const TaskSample& from, const TaskSample& to) {
  // Several things may happen within one tick: each is handled at its own
  // moment and the rest of the path is looked at again from there.
  TaskSample a = from;
  while (State() == TaskState::Running) {
    const double ua = Along(a.position), ub = Along(to.position);
    if (!entered_) {
      const std::optional<double> cross = CrossingUp(ua, ub, -kHalf);
      std::optional<double> timeout;
      const double limit = LaunchTime() + kEntryTime;
      if (!start_ && a.t < limit && to.t >= limit) timeout = (limit - a.t) / (to.t - a.t);
      if (cross && (!timeout || *cross <= *timeout)) {
        a = Between(a, to, *cross);
        Emit({a.t, EventKind::BaseA});
        entered_ = true;
        if (!start_) StartClock(a.t);
      } else if (timeout) {
        a = Between(a, to, *timeout);
        StartClock(limit);
      } else {
        return;
      }
      continue;
    }
    const bool towardsB = legTimes_.size() % 2 == 0;
    const std::optional<double> cross =
        towardsB ? CrossingUp(ua, ub, kHalf) : CrossingDown(ua, ub, -kHalf);
    if (!cross) return;
    a = Between(a, to, *cross);
    CountBase(a.t);
  }
}

void SlopeRace::Crashed(const TaskSample& at) {
  Emit({at.t, EventKind::Crash});
  End();
}

}  // namespace veltrane::tasks
