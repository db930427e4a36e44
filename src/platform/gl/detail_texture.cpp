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

// Smooth value noise whose lattice of `cells` per side wraps round the picture,
// for u, v in [0, 1). The lattice is hashed once, with its first row and column
// repeated past the last, so that no lookup needs to wrap: the picture has a
// quarter of a million texels.
class Noise {
 public:
  Noise(int cells, std::uint32_t seed)
      : cells_(cells), side_(cells + 1), at_(static_cast<std::size_t>(side_) * side_) {
    for (int j = 0; j < side_; ++j)
      for (int i = 0; i < side_; ++i)
        at_[static_cast<std::size_t>(j) * side_ + i] = Hash(i % cells, j % cells, seed);
  }
  float operator()(float u, float v) const {
    const float x = u * static_cast<float>(cells_), y = v * static_cast<float>(cells_);
    const int x0 = std::clamp(static_cast<int>(x), 0, cells_ - 1);
    const int y0 = std::clamp(static_cast<int>(y), 0, cells_ - 1);
    const float fx = x - static_cast<float>(x0), fy = y - static_cast<float>(y0);
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float* row = &at_[static_cast<std::size_t>(y0) * side_ + x0];
    const float a = row[0] + (row[1] - row[0]) * sx;
    const float b = row[side_] + (row[side_ + 1] - row[side_]) * sx;
    return a + (b - a) * sy;
  }

 private:
  int cells_, side_;
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
  const Noise stoneNoise(24, 5);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const float u = static_cast<float>(x) / n, v = static_cast<float>(y) / n;
      const float speckle = Hash(x, y, 1) - 0.5f;
      const float tufts = tuftNoise(u, v) - 0.5f;
      const float patches =
          (patchNoise(u, v) - 0.5f) * 0.65f + (smallPatchNoise(u, v) - 0.5f) * 0.35f;
      // Sand and rock: fine grains, blotches some 40 cm across and ripples 14 cm
      // apart that bend with the patches (a whole number across, so it tiles).
      const float stones = stoneNoise(u, v) - 0.5f;
      const float phase = 64.0f * v + 3.0f * patches + 4.0f;  // never negative
      const float ripples =
          2.0f * std::fabs(phase - static_cast<float>(static_cast<int>(phase)) - 0.5f) - 0.5f;
      std::uint8_t* p = &px[(static_cast<std::size_t>(y) * n + x) * 4];
      p[0] = Byte(speckle * 0.8f + tufts * 1.2f);
      p[1] = Byte(patches * 1.8f);
      p[2] = Byte(speckle * 0.7f + stones * 1.1f + ripples * 0.35f);
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
