#include "tools/veltrane_tool/task.h"

#include <filesystem>
#include <memory>
#include <optional>

#include "app/tasks/course_world.h"
#include "app/tasks/limbo.h"
#include "app/tasks/task_json.h"
#include "app/tasks/task_setup.h"
#include "base/rm/mesh_builder.h"
#include "base/rm/root.h"
#include "loaders/model_loader.h"

namespace veltrane::tool {
namespace {

// The nose's distance ahead of the model's origin, from its geometry (none
// for a parameter file alone).
double ModelNose(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  SimState scratch;
  rm::Root root;
  root.SetSearchPath(folder);
  rm::MeshBuilder mesh;
  loaders::LoadModelFiles(path, root, false, folder, mesh, scratch, Trace());
  return tasks::NoseOffset(mesh.Vertices());
}

class TaskWatch final : public FlightWatch {
 public:
  explicit TaskWatch(const TaskOptions& o) : options_(o) {}

  const World& Prepare(SimState& s, const Landscape& land) override {
    world_.emplace(*land.world);
    nose_ = ModelNose(options_.fly.model);
    task_ = tasks::MakeTask(options_.kind, tasks::PlacesFromState(s, land.course), *land.world,
                            tasks::TaskOptions{options_.workingTime});
    PlaceObstacles();
    return *world_;
  }

  void Commanded(const ScriptCommand& c, const SimState& s, double t) override {
    using K = ScriptCommand::Kind;
    if (c.kind == K::Handstart || c.kind == K::Winch) task_->Launch(t, s.ModelPosition);
    if (c.kind == K::Init || c.kind == K::Restart) task_->Abandon();
  }

  bool Ticked(const SimState& s, double t) override {
    task_->Update(tasks::SampleFromState(s, t, nose_));
    if (task_->TakeObstaclesChanged()) PlaceObstacles();
    wind_ = s.Air.Settings();
    return task_->State() != tasks::TaskState::Running;
  }

  nlohmann::json Summary() const {
    nlohmann::json j = tasks::SummaryJson(*task_);
    j["wind"] = {{"speed", wind_.speed}, {"from", wind_.fromDegrees}};
    return j;
  }

 private:
  void PlaceObstacles() {
    if (const auto* limbo = dynamic_cast<const tasks::Limbo*>(task_.get()))
      world_->SetObstacles(limbo->Obstacles());
  }

  const TaskOptions& options_;
  std::optional<tasks::CourseWorld> world_;
  std::unique_ptr<tasks::FlyingTask> task_;
  WindSettings wind_;
  double nose_ = 0.0;
};

}  // namespace

nlohmann::json FlyTask(const TaskOptions& options, const std::vector<ScriptCommand>& script,
                       std::ostream* csv, const Trace& trace) {
  TaskWatch watch(options);
  Fly(options.fly, script, csv, trace, &watch);
  return watch.Summary();
}

}  // namespace veltrane::tool
