#include "app/model_preview_scene.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "loaders/model_loader.h"
#include "sim/sim_state.h"

namespace veltrane {
namespace {

rm::Vector Unit(rm::Vector a) {
  float n = std::sqrt(Dot(a, a));
  return {a.x / n, a.y / n, a.z / n};
}

}  // namespace

void ModelPreviewScene::Build(const std::string& modelFile, const std::string& dataFolder,
                              const Trace& trace, int w, int h) {
  scene = root.CreateFrame(nullptr);
  scene->SetSceneBackgroundRGB(0.86f, 0.87f, 0.88f);
  device.SetRenderMode(rm::render_mode::kProgramDefault);
  device.SetTextureQuality(rm::TextureQuality::MipLinear);
  const struct {
    rm::Vector position;
    rm::LightType type;
    float colour;
  } lights[] = {
      {{10000, 3000, 10000}, rm::LightType::ParallelPoint, 0.15f},
      {{-10000, 3000, 10000}, rm::LightType::ParallelPoint, 0.12f},
      {{10000, 3000, -10000}, rm::LightType::ParallelPoint, 0.12f},
      {{-10000, 3000, -10000}, rm::LightType::ParallelPoint, 0.10f},
      {{-4000, 10000, -6000}, rm::LightType::Ambient, 0.30f},
  };
  std::shared_ptr<rm::Frame> last;
  for (const auto& l : lights) {
    last = root.CreateFrame(scene);
    last->SetPosition(l.position);
    auto light = root.CreateLight(l.type, l.colour, l.colour, l.colour);
    scene->AddLight(light);
    last->AddLight(light);
  }
  auto sun = root.CreateLight(rm::LightType::ParallelPoint, 0.85f, 0.85f, 0.85f);
  scene->AddLight(sun);
  last->AddLight(sun);

  auto model = root.CreateFrame(scene);
  model->SetOrientation({0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f});  // as the flying scene holds it
  auto mesh = root.CreateMeshBuilder();
  SimState state;
  root.SetSearchPath(std::filesystem::path(modelFile).parent_path().string());
  loaders::LoadModelFiles(modelFile, root, true, dataFolder, *mesh, state, trace);
  if (mesh->FaceCount() == 0) throw std::runtime_error("the model has no faces to show");
  model->AddVisual(mesh);

  // The box's corners in the scene, around their centre.
  const rm::Box box = mesh->GetBox();
  rm::Vector centre{0, 0, 0};
  for (int i = 0; i < 8; ++i) {
    rm::Vector p = model->ToScene({i & 1 ? box.max.x : box.min.x, i & 2 ? box.max.y : box.min.y,
                                   i & 4 ? box.max.z : box.min.z});
    centre = {centre.x + p.x / 8, centre.y + p.y / 8, centre.z + p.z / 8};
  }
  std::vector<rm::Vector> corners;
  // Looking down about 25 degrees at the model's front left quarter.
  rm::Vector look = Unit({0.62f, -0.45f, 0.64f});
  rm::Vector up = Unit(Cross(Cross(look, {0, 1, 0}), look));
  rm::Vector side = Cross(up, look);
  viewport.front = 0.05f;
  viewport.field = 0.05f * 0.5f;  // about 53 degrees across
  const float tx = 0.5f, ty = 0.5f * static_cast<float>(h) / static_cast<float>(w);
  float distance = 0;
  // The mesh's own points fit tighter than the box's corners.
  for (const rm::Vector& v : mesh->Vertices()) corners.push_back(model->ToScene(v));
  for (const rm::Vector& c : corners) {
    rm::Vector d{c.x - centre.x, c.y - centre.y, c.z - centre.z};
    float along = Dot(d, look);
    distance = std::max(
        {distance, std::fabs(Dot(d, side)) / tx - along, std::fabs(Dot(d, up)) / ty - along});
  }
  distance *= 1.06f;  // a margin around the model
  viewport.back = distance * 4 + 10;
  viewport.camera = root.CreateFrame(scene);
  viewport.camera->SetPosition(
      {centre.x - look.x * distance, centre.y - look.y * distance, centre.z - look.z * distance});
  viewport.camera->SetOrientation(look, up);
}

}  // namespace veltrane
