#pragma once

#include <cstdint>
#include <vector>

namespace veltrane::gl {

// An off-screen colour + depth buffer the scene is drawn into. Full screen at a
// chosen size and screenshots both render here and then copy or scale out.
class RenderTarget {
 public:
  RenderTarget() = default;
  ~RenderTarget();
  RenderTarget(const RenderTarget&) = delete;
  RenderTarget& operator=(const RenderTarget&) = delete;

  // (Re)allocates when the size changed. Needs a current GL context.
  bool Resize(int width, int height);
  void Release();
  void Bind() const;
  static void BindDefault();

  // Scales the picture onto the default framebuffer of the given size.
  void BlitToDefault(int dest_width, int dest_height) const;

  // RGBA8 rows from top to bottom.
  std::vector<std::uint8_t> ReadPixels() const;

  int Width() const { return width_; }
  int Height() const { return height_; }
  unsigned Framebuffer() const { return fbo_; }

 private:
  unsigned fbo_ = 0;
  unsigned colour_ = 0;
  unsigned depth_ = 0;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace veltrane::gl
