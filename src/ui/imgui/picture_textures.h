#pragma once

#include <string>

namespace veltrane::ui {

// Pictures as textures the ImGui drawing can show (the preview pane, the
// information dialog's background). The platform uploads them; null when the
// file cannot be read.
class PictureTextures {
 public:
  struct Texture {
    void* id = nullptr;  // an ImTextureID
    int width = 0;
    int height = 0;
  };
  virtual ~PictureTextures() = default;
  virtual Texture Get(const std::string& file) = 0;
};

}  // namespace veltrane::ui
