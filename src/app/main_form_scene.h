#pragma once

// The scene objects the main window owns; shared by its source files only.
#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/task_course.h"
#include "app/tasks/task_runner.h"
#include "app/thermal_columns.h"
#include "app/windsock.h"
#include "loaders/scene_file.h"
#include "sim/collision_world.h"

namespace veltrane {

struct TMainForm::Scene {
  std::vector<std::shared_ptr<rm::Frame>> lightFrames;
  std::shared_ptr<rm::Light> mainLight;
  std::shared_ptr<rm::Frame> worldFrame;
  std::shared_ptr<rm::MeshBuilder> terrainVisual;
  std::shared_ptr<rm::MeshBuilder> skyVisual;
  std::shared_ptr<const rm::Backdrop> backdrop;  // drawn instead of the sky dome
  std::shared_ptr<rm::Frame> modelFrame;
  std::shared_ptr<rm::MeshBuilder> modelVisual;
  std::shared_ptr<rm::Shadow> modelShadow;
  std::unique_ptr<CollisionWorld> worldCollision;
  std::unique_ptr<Windsock> windsock;        // in the world frame, gone with it
  std::unique_ptr<ThermalColumns> thermals;  // likewise
  loaders::SceneInfo info;
  loaders::HeightGrid grid;
};

// A landscape read from its file, not yet in the scene.
struct TMainForm::LandscapeRead {
  bool found = false;
  std::string error;  // why the file could not be read; empty when it was
  std::shared_ptr<rm::MeshBuilder> terrain, sky;
  std::shared_ptr<rm::Texture> panorama;  // the file's own, when it names one that reads
  std::string panoramaError;
  loaders::SceneInfo info;
  loaders::HeightGrid grid;
  std::unique_ptr<CollisionWorld> collision;
  std::shared_ptr<const TerrainGrid> air;  // the terrain the wind flows over
  std::vector<std::string> trace;          // the lines the reading traced, to be written in order
  std::uint32_t randomAfter = 0;           // the generator's state after the terrain's shades
};

// A landscape read started before the scene's first build, and what it assumed.
struct TMainForm::LandscapePrefetch {
  std::string file;
  bool textures = false;
  std::uint32_t randomBefore = 0;
  std::future<LandscapeRead> read;
};

// The flying task under way: its runner and its course in the scene.
struct TMainForm::TaskRun {
  tasks::TaskRunner runner;
  std::unique_ptr<TaskCourse> course;
  bool ghostShown = false;  // the ghost is the task's best run, gone with the task
};

// The world the flight code sees, looked up at each call: the landscape's
// collision model once built, a flat plane before; with a task's obstacles
// standing on it while one runs.
class TMainForm::WorldProxy final : public World {
 public:
  explicit WorldProxy(const TMainForm& form) : form_(form) {}
  double GroundHeightAt(double x, double y) const override { return W().GroundHeightAt(x, y); }
  double GroundHeightBelow(const Vec3& p) const override { return W().GroundHeightBelow(p); }
  bool SphereCollision(const Vec3& c, double r) const override { return W().SphereCollision(c, r); }
  bool ContactRay(const Vec3& o, const Vec3& d, RayHit& hit) const override {
    return W().ContactRay(o, d, hit);
  }

  // The landscape alone.
  const World& Land() const {
    if (form_.scene_ && form_.scene_->worldCollision) return *form_.scene_->worldCollision;
    return flat_;
  }

 private:
  const World& W() const { return form_.task_ ? form_.task_->runner.FlightWorld() : Land(); }
  const TMainForm& form_;
  FlatWorld flat_;
};

}  // namespace veltrane
