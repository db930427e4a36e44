#include "platform/gl/mip_levels.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstddef>

namespace veltrane::gl {

std::vector<std::uint8_t> HalfLevel(const std::uint8_t* rgba, int width, int height) {
  const int w = std::max(1, width / 2), h = std::max(1, height / 2);
  std::vector<std::uint8_t> out(static_cast<std::size_t>(w) * h * 4);
  auto at = [&](int x, int y, int c) {
    x = std::min(x, width - 1);
    y = std::min(y, height - 1);
    return static_cast<unsigned>(rgba[(static_cast<std::size_t>(y) * width + x) * 4 + c]);
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 4; ++c) {
        const unsigned sum = at(2 * x, 2 * y, c) + at(2 * x + 1, 2 * y, c) +
                             at(2 * x, 2 * y + 1, c) + at(2 * x + 1, 2 * y + 1, c);
        out[(static_cast<std::size_t>(y) * w + x) * 4 + c] =
            static_cast<std::uint8_t>((sum + 2) / 4);
      }
  return out;
}

void UploadWithMipLevels(const std::uint8_t* rgba, int width, int height) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  std::vector<std::uint8_t> level;
  for (int l = 1; width > 1 || height > 1; ++l) {
    // The first level is made straight from the caller's picture, not from a copy.
    level = HalfLevel(l == 1 ? rgba : level.data(), width, height);
    width = std::max(1, width / 2);
    height = std::max(1, height / 2);
    glTexImage2D(GL_TEXTURE_2D, l, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 level.data());
  }
}

}  // namespace veltrane::gl
