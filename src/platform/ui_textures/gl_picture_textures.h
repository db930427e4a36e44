#pragma once

#include <map>
#include <string>

#include "ui/imgui/picture_textures.h"

namespace veltrane::platform {

// Picture files uploaded as OpenGL textures for the ImGui drawing, once per file.
// A file that cannot be read is remembered as missing, so it is not read again
// every frame. Needs a current GL context.
class GlPictureTextures final : public ui::PictureTextures {
 public:
  GlPictureTextures() = default;
  ~GlPictureTextures() override;
  GlPictureTextures(const GlPictureTextures&) = delete;
  GlPictureTextures& operator=(const GlPictureTextures&) = delete;

  Texture Get(const std::string& file) override;
  // Frees every texture (before the context goes away).
  void Clear();

 private:
  std::map<std::string, Texture> cache_;
};

}  // namespace veltrane::platform
