#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/rm/frame.h"
#include "base/rm/light.h"
#include "base/rm/material.h"
#include "base/rm/mesh_builder.h"
#include "base/rm/shadow.h"
#include "base/rm/texture.h"

namespace veltrane::rm {

// Decodes a picture file (BMP, JPEG, ...) into RGBA8; nullopt when it cannot.
using PictureDecoder = std::function<std::optional<Picture>(const std::string& path)>;

// Factory of scene objects and the place textures are loaded from.
class Root {
 public:
  Root() = default;
  explicit Root(PictureDecoder decoder) : decoder_(std::move(decoder)) {}

  void SetPictureDecoder(PictureDecoder decoder) { decoder_ = std::move(decoder); }

  // A child of `parent` with identity placement; with no parent, a new scene frame.
  std::shared_ptr<Frame> CreateFrame(const std::shared_ptr<Frame>& parent);
  std::shared_ptr<MeshBuilder> CreateMeshBuilder();
  std::shared_ptr<Light> CreateLight(LightType type, float r, float g, float b);
  std::shared_ptr<Shadow> CreateShadow(std::shared_ptr<MeshBuilder> visual,
                                       std::shared_ptr<Light> light, Vector planePoint,
                                       Vector planeNormal);
  std::shared_ptr<Material> CreateMaterial(float power);

  // Finds the file (see FindFile), decodes it; null when either fails.
  std::shared_ptr<Texture> LoadTexture(const std::string& file);

  // Folder in which relative texture names are looked up (case-insensitively).
  void SetSearchPath(const std::string& folder) { searchPath_ = folder; }
  const std::string& SearchPath() const { return searchPath_; }

  // Resolves a file name as given ("\" and "/" both separate folders): first as
  // it stands (relative to the working folder), then inside the search path;
  // each folder step and the name are matched case-insensitively when the exact
  // spelling does not exist. Empty when nothing is found.
  std::string FindFile(const std::string& name) const;

 private:
  PictureDecoder decoder_;
  std::string searchPath_;
};

}  // namespace veltrane::rm
