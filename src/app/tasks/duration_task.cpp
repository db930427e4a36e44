#include "app/tasks/duration_task.h"

#include <algorithm>
#include <cmath>

namespace veltrane::tasks {

DurationTask::DurationTask(const TaskPlaces& places, double workingTime)
    : spot_(places.landingSpot),
      workingTime_(std::clamp(std::isfinite(workingTime) ? workingTime : kDefaultWorkingTime,
                              kMinWorkingTime, kMaxWorkingTime)) {}

double DurationTask::FlightPointsFor(double flightTime, double workingTime) {
  const double seconds = std::floor(std::max(flightTime, 0.0));
  const double working = std::floor(workingTime);
  const double points = seconds <= working ? seconds : working - (seconds - working);
  return std::max(points, 0.0);
}

double DurationTask::LandingPointsFor(double distance) {
  if (!(distance <= 15.0)) return 0.0;
  if (distance <= 1.0) return 100.0;
  return 100.0 - 5.0 * std::ceil(distance - 1.0);
}

void DurationTask::Touchdown(double t) {
  flightTime_ = t - LaunchTime();
  flightPoints_ = FlightPointsFor(*flightTime_, workingTime_);
}

void DurationTask::Land(const TaskSample& at, bool crashed) {
  distance_ = std::hypot(at.nose.x - spot_.x, at.nose.y - spot_.y);
  landingPoints_ = crashed ? 0.0 : LandingPointsFor(*distance_);
  Emit({at.t, EventKind::Landing, 0, *distance_, landingPoints_});
  Finish(flightPoints_ + landingPoints_);
}

void DurationTask::Advance(const TaskSample&, const TaskSample& to) {
  if (!flightTime_) {
    // The launch tick may still report the model on the ground.
    if (to.airborne)
      airborne_ = true;
    else if (airborne_ && !to.crashed)
      Touchdown(to.t);
    return;
  }
  const double speed = std::hypot(to.velocity.x, to.velocity.y);
  if (speed < kRestSpeed || to.t - (LaunchTime() + *flightTime_) >= kLongestRollout)
    Land(to, false);
}

void DurationTask::Crashed(const TaskSample& at) {
  if (!flightTime_) Touchdown(at.t);
  Emit({at.t, EventKind::Crash});
  Land(at, true);
}

}  // namespace veltrane::tasks
