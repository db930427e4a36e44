#pragma once

#include <optional>
#include <vector>

#include "app/tasks/task.h"

namespace veltrane::tasks {

// The slope race: bases A and B 100 m apart on a line across the wind through
// the course's middle, A on the left of a pilot facing into the wind. After
// the launch the model has 30 s to enter the course; the clock starts when it
// first crosses A towards B from outside, or when the 30 s are up. A leg ends
// when the model crosses the far base outward; the tenth ends the run, and its
// time is the score. A crash ends the run without one.
class SlopeRace final : public FlyingTask {
 public:
  static constexpr double kBaseDistance = 100.0;
  static constexpr double kEntryTime = 30.0;
  static constexpr int kLegs = 10;

  explicit SlopeRace(const TaskPlaces& places);
  TaskKind Kind() const override { return TaskKind::SlopeRace; }

  // Where the bases cross the course line (at the middle's height); the bases
  // run along Facing().
  Vec3 BaseA() const;
  Vec3 BaseB() const;
  Vec3 Facing() const { return facing_; }

  std::optional<double> StartTime() const { return start_; }
  // Whether the model has entered the course over A since the clock started.
  bool Entered() const { return entered_; }
  int LegsDone() const { return static_cast<int>(legTimes_.size()); }
  const std::vector<double>& LegTimes() const { return legTimes_; }

 protected:
  void Advance(const TaskSample& from, const TaskSample& to) override;
  void Crashed(const TaskSample& at) override;

 private:
  // Metres along the course from its middle, positive towards B.
  double Along(const Vec3& p) const;
  void StartClock(double t);
  void CountBase(double t);

  Vec3 middle_;
  Vec3 facing_;
  Vec3 towardsB_;
  std::optional<double> start_;
  bool entered_ = false;
  double lastMark_ = 0.0;
  std::vector<double> legTimes_;
};

}  // namespace veltrane::tasks
