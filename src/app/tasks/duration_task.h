#pragma once

#include <optional>

#include "app/tasks/task.h"

namespace veltrane::tasks {

// Duration and landing: the flight from the launch to the first touchdown
// scores a point a second up to the working time and loses one a second beyond
// it; the landing scores by the distance from the model's nose to the spot's
// centre once the model has come to rest. A crash scores no landing points.
class DurationTask final : public FlyingTask {
 public:
  static constexpr double kMinWorkingTime = 180.0;
  static constexpr double kMaxWorkingTime = 900.0;
  static constexpr double kDefaultWorkingTime = 600.0;
  // Slower than this over the ground the model has come to rest; a model that
  // still slides this long after touching down is measured where it then is.
  static constexpr double kRestSpeed = 0.2;
  static constexpr double kLongestRollout = 10.0;

  // The working time is clamped to its range.
  DurationTask(const TaskPlaces& places, double workingTime = kDefaultWorkingTime);
  TaskKind Kind() const override { return TaskKind::Duration; }

  Vec3 Spot() const { return spot_; }
  double WorkingTime() const { return workingTime_; }
  // Set at the first touchdown (or the crash).
  std::optional<double> FlightTime() const { return flightTime_; }
  std::optional<double> LandingDistance() const { return distance_; }
  double FlightPoints() const { return flightPoints_; }
  double LandingPoints() const { return landingPoints_; }

  // Whole seconds of flight: up to the working time a point each, beyond it
  // one less each. Never below 0.
  static double FlightPointsFor(double flightTime, double workingTime);
  // 100 at 1 m or less, 5 less for each metre or part of one beyond, 0 beyond 15 m.
  static double LandingPointsFor(double distance);

 protected:
  void Advance(const TaskSample& from, const TaskSample& to) override;
  void Crashed(const TaskSample& at) override;

 private:
  void Touchdown(double t);
  void Land(const TaskSample& at, bool crashed);

  Vec3 spot_;
  double workingTime_;
  bool airborne_ = false;
  std::optional<double> flightTime_;
  std::optional<double> distance_;
  double flightPoints_ = 0.0;
  double landingPoints_ = 0.0;
};

}  // namespace veltrane::tasks
