#include "platform/gl/texture_cache.h"

#include <epoxy/gl.h>

#include <vector>

#include "platform/gl/mip_levels.h"

namespace veltrane::gl {
namespace {

// Holes take the colour of their visible neighbours (alpha stays 0), so
// filtering at a hole's edge blends toward that colour rather than black.
void BleedIntoHoles(std::vector<std::uint8_t>& px, int w, int h) {
  std::vector<std::uint8_t> src = px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::size_t i = (static_cast<std::size_t>(y) * w + x) * 4;
      if (src[i + 3] != 0) continue;
      int r = 0, g = 0, b = 0, n = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          // Wrap like the sampler does (textures repeat).
          int nx = (x + dx + w) % w, ny = (y + dy + h) % h;
          std::size_t j = (static_cast<std::size_t>(ny) * w + nx) * 4;
          if (src[j + 3] == 0) continue;
          r += src[j];
          g += src[j + 1];
          b += src[j + 2];
          ++n;
        }
      if (n) {
        px[i] = static_cast<std::uint8_t>(r / n);
        px[i + 1] = static_cast<std::uint8_t>(g / n);
        px[i + 2] = static_cast<std::uint8_t>(b / n);
      }
    }
}

}  // namespace

TextureCache::~TextureCache() { Clear(); }

void TextureCache::Clear() {
  for (auto& [k, e] : entries_)
    if (e.id) glDeleteTextures(1, &e.id);
  entries_.clear();
}

void TextureCache::Collect() {
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->second.source.expired()) {
      if (it->second.id) glDeleteTextures(1, &it->second.id);
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
}

unsigned TextureCache::Get(const std::shared_ptr<rm::Texture>& tex, rm::TextureQuality quality) {
  if (!tex) return 0;
  const rm::Picture& pic = tex->picture;
  std::size_t need = static_cast<std::size_t>(pic.width) * static_cast<std::size_t>(pic.height) * 4;
  auto found = entries_.find(tex.get());
  // A new object at a freed address is a different texture.
  const bool current =
      found != entries_.end() && found->second.id && found->second.source.lock() == tex &&
      found->second.decal == tex->decalTransparency && found->second.mipmap == tex->mipmap;
  if (!current && (pic.width <= 0 || pic.height <= 0 || pic.pixels.size() < need)) return 0;

  Entry& e = entries_[tex.get()];
  if (e.id && !current) {
    glDeleteTextures(1, &e.id);
    e = Entry{};
  }
  if (!e.id) {
    e.source = tex;
    e.decal = tex->decalTransparency;
    e.mipmap = tex->mipmap;
    glGenTextures(1, &e.id);
    glBindTexture(GL_TEXTURE_2D, e.id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const std::uint8_t* data = pic.pixels.data();
    std::vector<std::uint8_t> keyed;
    if (e.decal) {
      keyed.assign(pic.pixels.begin(), pic.pixels.begin() + static_cast<std::ptrdiff_t>(need));
      for (std::size_t i = 0; i < need; i += 4)
        if (keyed[i] == 0 && keyed[i + 1] == 0 && keyed[i + 2] == 0) keyed[i + 3] = 0;
      BleedIntoHoles(keyed, pic.width, pic.height);
      data = keyed.data();
    }
    // Rows arrive top first; v = 0 is the top, which is GL's t = 0 row.
    if (e.mipmap)
      UploadWithMipLevels(data, pic.width, pic.height);
    else
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, pic.width, pic.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                   data);
    if (tex->releaseAfterUpload) {
      std::vector<std::uint8_t>().swap(tex->picture.pixels);
      ++releasedPictures_;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    ++uploads_;
  } else {
    glBindTexture(GL_TEXTURE_2D, e.id);
  }
  int q = static_cast<int>(quality);
  if (e.quality != q) {
    e.quality = q;
    GLint mag = GL_NEAREST, min = GL_NEAREST;
    switch (quality) {
      case rm::TextureQuality::Nearest:
        break;
      case rm::TextureQuality::Linear:
        mag = min = GL_LINEAR;
        break;
      case rm::TextureQuality::MipNearest:
        min = e.mipmap ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST;
        break;
      case rm::TextureQuality::MipLinear:
        mag = GL_LINEAR;
        min = e.mipmap ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
        break;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
  }
  return e.id;
}

}  // namespace veltrane::gl
