#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/rm/frame.h"

namespace veltrane::rm {

// The view through the camera frame (looking along its direction, up its up).
struct Viewport {
  struct Rect {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  };

  std::shared_ptr<Frame> camera;
  float front = 1.0f;   // near clipping distance
  float back = 100.0f;  // far clipping distance
  float field = 0.5f;   // half the width of the view at the front distance
  // Areas asked to be redrawn since the renderer last cleared this list.
  std::vector<Rect> forcedUpdates;

  void SetFront(float f) { front = f; }
  void SetBack(float b) { back = b; }
  void SetField(float f) { field = f; }
  void ForceUpdate(int x1, int y1, int x2, int y2) { forcedUpdates.push_back({x1, y1, x2, y2}); }
};

enum class TextureQuality { Nearest, Linear, MipNearest, MipLinear };

// Device-wide render options.
namespace render_mode {
constexpr std::uint32_t kBlendedTransparency = 0x01;
constexpr std::uint32_t kSortedTransparency = 0x02;
constexpr std::uint32_t kLightInModelSpace = 0x08;
constexpr std::uint32_t kViewDependentSpecular = 0x10;
// 19: blended, sorted transparency and view-dependent specular.
constexpr std::uint32_t kProgramDefault =
    kBlendedTransparency | kSortedTransparency | kViewDependentSpecular;
}  // namespace render_mode

struct Device {
  TextureQuality textureQuality = TextureQuality::Nearest;
  std::uint32_t renderMode = 0;

  void SetTextureQuality(TextureQuality q) { textureQuality = q; }
  void SetRenderMode(std::uint32_t flags) { renderMode = flags; }
};

}  // namespace veltrane::rm
