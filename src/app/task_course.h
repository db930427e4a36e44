#pragma once

#include <memory>

#include "app/tasks/task.h"
#include "base/rm/rm.h"
#include "sim/world.h"

namespace veltrane {

// A task's course drawn in the scene: the slope race's bases as poles, the
// landing spot's rings on the ground, the limbo's poles and tape. Drawn only:
// what the flight meets is the task's collision world.
class TaskCourse {
 public:
  static constexpr double kBasePoleHeight = 15.0;
  // Each base is a row of poles out along its line, one every kBasePoleStep
  // metres up to kBaseLineLength, so it shows wherever the pilot looks.
  static constexpr double kBaseLineLength = 100.0;
  static constexpr double kBasePoleStep = 25.0;

  TaskCourse(rm::Root& root, const std::shared_ptr<rm::Frame>& parent,
             const tasks::FlyingTask& task, const World& ground);
  ~TaskCourse();
  TaskCourse(const TaskCourse&) = delete;
  TaskCourse& operator=(const TaskCourse&) = delete;

  // Follows the task's changes (the tape going down).
  void Update(const tasks::FlyingTask& task);
  const rm::Frame& Frame() const { return *frame_; }

 private:
  void BuildTape(double height);

  rm::Root& root_;
  std::shared_ptr<rm::Frame> parent_;
  std::shared_ptr<rm::Frame> frame_;
  std::shared_ptr<rm::MeshBuilder> fixed_, tape_;
  double tapeHeight_ = -1.0;
};

}  // namespace veltrane
