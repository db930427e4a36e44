#include "platform/gl/detail_texture.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "platform/gl/mip_levels.h"

namespace veltrane::gl {
namespace {

float Hash(int x, int y, std::uint32_t seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                    static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return static_cast<float>((h ^ (h >> 16)) & 0xFFFFu) / 65535.0f;
}

// Smooth value noise whose lattice of `cells` per side wraps round the picture.
// The lattice is hashed once: the picture has a quarter of a million texels.
class Noise {
 public:
  Noise(int cells, std::uint32_t seed)
      : cells_(cells), at_(static_cast<std::size_t>(cells) * cells) {
    for (int j = 0; j < cells; ++j)
      for (int i = 0; i < cells; ++i)
        at_[static_cast<std::size_t>(j) * cells + i] = Hash(i, j, seed);
  }
  float operator()(float u, float v) const {
    const float x = u * static_cast<float>(cells_), y = v * static_cast<float>(cells_);
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const float fx = x - static_cast<float>(x0), fy = y - static_cast<float>(y0);
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float a = At(x0, y0) + (At(x0 + 1, y0) - At(x0, y0)) * sx;
    const float b = At(x0, y0 + 1) + (At(x0 + 1, y0 + 1) - At(x0, y0 + 1)) * sx;
    return a + (b - a) * sy;
  }

 private:
  float At(int i, int j) const {
    i = ((i % cells_) + cells_) % cells_;
    j = ((j % cells_) + cells_) % cells_;
    return at_[static_cast<std::size_t>(j) * cells_ + i];
  }
  int cells_;
  std::vector<float> at_;
};

std::uint8_t Byte(float v) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(128.0f + v * 127.0f), 0L, 255L));
}

}  // namespace

std::vector<std::uint8_t> DetailPixels() {
  const int n = kDetailSize;
  std::vector<std::uint8_t> px(static_cast<std::size_t>(n) * n * 4);
  const Noise tuftNoise(116, 2), patchNoise(4, 3), smallPatchNoise(8, 4);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const float u = static_cast<float>(x) / n, v = static_cast<float>(y) / n;
      const float speckle = Hash(x, y, 1) - 0.5f;
      const float tufts = tuftNoise(u, v) - 0.5f;
      const float patches =
          (patchNoise(u, v) - 0.5f) * 0.65f + (smallPatchNoise(u, v) - 0.5f) * 0.35f;
      std::uint8_t* p = &px[(static_cast<std::size_t>(y) * n + x) * 4];
      p[0] = Byte(speckle * 0.8f + tufts * 1.2f);
      p[1] = Byte(patches * 1.8f);
      p[2] = 128;
      p[3] = 255;
    }
  return px;
}

unsigned MakeDetailTexture() {
  const std::vector<std::uint8_t> px = DetailPixels();
  GLuint id = 0;
  glGenTextures(1, &id);
  if (!id) return 0;
  glBindTexture(GL_TEXTURE_2D, id);
  UploadWithMipLevels(px.data(), kDetailSize, kDetailSize);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glBindTexture(GL_TEXTURE_2D, 0);
  return id;
}

}  // namespace veltrane::gl
