#include "app/scene_backdrop.h"

#include <algorithm>

namespace veltrane {

std::shared_ptr<rm::Texture> LoadPanorama(rm::Root& root, const std::string& file,
                                          std::string& error) {
  auto texture = root.LoadTexture(file);
  if (!texture) {
    error = file;
    return nullptr;
  }
  const rm::Picture& p = texture->picture;
  if (p.width < kPanoramaMinWidth || p.width < 2 * p.height) {
    error = file + " (" + std::to_string(p.width) + " x " + std::to_string(p.height) + ")";
    return nullptr;
  }
  texture->SetDecalTransparency(true);
  texture->releaseAfterUpload = true;
  return texture;
}

std::shared_ptr<const rm::Backdrop> MakeBackdrop(const rm::MeshBuilder& sky,
                                                 std::shared_ptr<rm::Texture> panorama,
                                                 const loaders::SceneInfo& info) {
  auto b = std::make_shared<rm::Backdrop>();
  for (const rm::Face& f : sky.Faces())
    if (f.texture) {
      b->clouds = f.texture;
      b->clouds->GenerateMIPMap();  // seen ever flatter toward the horizon
      break;
    }
  b->panorama = std::move(panorama);
  const double half = 0.5 * info.GridStep * std::max(info.CellsX, info.CellsY);
  if (half > 0) b->distance = static_cast<float>(half);
  return b;
}

}  // namespace veltrane
