#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/rm/rm.h"
#include "platform/gl/render_target.h"
#include "platform/gl/renderer.h"
#include "platform/window/gl_window.h"

namespace veltrane::test {

struct Rgb {
  int r = 0, g = 0, b = 0;
};

// A rendered picture, RGBA rows from the top.
struct Shot {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> px;
  Rgb At(int x, int y) const {
    const std::uint8_t* p = px.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    return {p[0], p[1], p[2]};
  }
  Rgb Centre() const { return At(width / 2, height / 2); }
  // Writes a PNG when VELTRANE_SHOT_DIR is set, for looking at failures.
  void Save(const std::string& name) const;
};

// One hidden window and context for a whole test program, and a small scene
// with a camera at the origin looking along +z.
class GlSceneTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;

  Shot Render(int width = 160, int height = 120);

  // A square of side `size` facing the camera, centred at (cx, cy, z), corners
  // clockwise as seen from the camera.
  std::shared_ptr<rm::MeshBuilder> Quad(float cx, float cy, float z, float size,
                                        rm::ColorARGB color);

  static window::GlWindow* window_;
  static gl::Renderer* renderer_;
  static gl::RenderTarget* target_;
  rm::Root root_;
  std::shared_ptr<rm::Frame> scene_;
  std::shared_ptr<rm::Frame> camera_;
  std::shared_ptr<rm::Frame> world_;
  rm::Viewport viewport_;
  rm::Device device_;
};

}  // namespace veltrane::test
