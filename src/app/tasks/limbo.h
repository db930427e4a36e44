#pragma once

#include <array>
#include <optional>
#include <vector>

#include "app/tasks/task.h"
#include "sim/world.h"

namespace veltrane::tasks {

// Limbo: two poles 10 m apart with a tape between them, across +y 60 m in
// front of the pilot. Each clean pass in flight between the poles under the tape scores,
// and the tape goes down 0.5 m once the model is clear of it. Touching tape or
// poles ends the run; so does a crash or a clean pass at the lowest height. The
// score is the number of passes.
class Limbo final : public FlyingTask {
 public:
  static constexpr double kDistance = 60.0;
  static constexpr double kGap = 10.0;
  static constexpr double kStartHeight = 6.0;
  static constexpr double kStep = 0.5;
  static constexpr double kLowest = 0.5;
  static constexpr double kPoleHeight = kStartHeight + 2.0;
  static constexpr double kPoleWidth = 0.1;
  static constexpr double kTapeWidth = 0.05;
  // How far from the tape's plane the model must be before it goes down.
  static constexpr double kClear = 5.0;

  using Triangle = std::array<Vec3, 3>;

  // Heights are above the ground in the middle between the poles.
  Limbo(const TaskPlaces& places, const World& ground);
  TaskKind Kind() const override { return TaskKind::Limbo; }

  Vec3 Middle() const { return middle_; }  // on the ground between the poles
  Vec3 PoleFoot(int i) const { return feet_[static_cast<std::size_t>(i)]; }  // 0 left, 1 right
  double TapeHeight() const { return tape_; }
  int Passes() const { return passes_; }
  std::optional<double> LowestPass() const { return lowest_; }
  // Poles and tape as triangles for the collision world.
  std::vector<Triangle> Obstacles() const;

 protected:
  void Advance(const TaskSample& from, const TaskSample& to) override;
  void Crashed(const TaskSample& at) override;

 private:
  // Fraction along from-to where the model first comes closest to a pole or
  // the tape, if it touches them there.
  std::optional<double> Touch(const Vec3& from, const Vec3& to) const;

  Vec3 middle_;
  std::array<Vec3, 2> feet_;
  double radius_;
  double tape_ = kStartHeight;
  bool lowerPending_ = false;
  int passes_ = 0;
  std::optional<double> lowest_;
};

}  // namespace veltrane::tasks
