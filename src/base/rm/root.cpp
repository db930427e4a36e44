#include "base/rm/root.h"

#include "base/rm/find_file.h"

namespace veltrane::rm {

std::shared_ptr<Frame> Root::CreateFrame(const std::shared_ptr<Frame>& parent) {
  auto frame = std::make_shared<Frame>();
  if (parent) {
    frame->parent_ = parent;
    parent->children_.push_back(frame);
  }
  return frame;
}

std::shared_ptr<MeshBuilder> Root::CreateMeshBuilder() { return std::make_shared<MeshBuilder>(); }

std::shared_ptr<Light> Root::CreateLight(LightType type, float r, float g, float b) {
  auto light = std::make_shared<Light>();
  light->type = type;
  light->color = {r, g, b};
  return light;
}

std::shared_ptr<Shadow> Root::CreateShadow(std::shared_ptr<MeshBuilder> visual,
                                           std::shared_ptr<Light> light, Vector planePoint,
                                           Vector planeNormal) {
  auto shadow = std::make_shared<Shadow>();
  shadow->visual = std::move(visual);
  shadow->light = std::move(light);
  shadow->planePoint = planePoint;
  shadow->planeNormal = planeNormal;
  return shadow;
}

std::shared_ptr<Material> Root::CreateMaterial(float power) {
  auto material = std::make_shared<Material>();
  material->power = power;
  return material;
}

std::string Root::FindFile(const std::string& name) const {
  std::string found = FindFileNoCase(name);
  if (found.empty() && !searchPath_.empty()) found = FindFileNoCase(name, searchPath_);
  // A name with a folder that does not exist there may still lie in the search path.
  if (found.empty() && !searchPath_.empty()) {
    const auto slash = name.find_last_of("/\\");
    if (slash != std::string::npos) found = FindFileNoCase(name.substr(slash + 1), searchPath_);
  }
  return found;
}

std::shared_ptr<Texture> Root::LoadTexture(const std::string& file) {
  if (!decoder_) return nullptr;
  const std::string path = FindFile(file);
  if (path.empty()) return nullptr;
  std::optional<Picture> picture = decoder_(path);
  if (!picture || picture->width <= 0 || picture->height <= 0 ||
      picture->pixels.size() !=
          static_cast<std::size_t>(picture->width) * static_cast<std::size_t>(picture->height) * 4)
    return nullptr;
  auto texture = std::make_shared<Texture>();
  texture->file = path;
  texture->picture = std::move(*picture);
  return texture;
}

}  // namespace veltrane::rm
