#pragma once

#include <memory>
#include <unordered_map>

#include "base/rm/texture.h"
#include "base/rm/viewport.h"

namespace veltrane::gl {

// GL textures for scene textures, uploaded once and kept while the scene
// texture lives. Decal transparency is baked into the alpha channel at upload
// (black texels get alpha 0), so filtering cannot turn them into dark fringes
// that pass the hole test.
class TextureCache {
 public:
  TextureCache() = default;
  ~TextureCache();
  TextureCache(const TextureCache&) = delete;
  TextureCache& operator=(const TextureCache&) = delete;

  // GL name bound with the filter for `quality`; 0 for a texture without pixels.
  unsigned Get(const std::shared_ptr<rm::Texture>& texture, rm::TextureQuality quality);
  // Drops textures whose scene object is gone.
  void Collect();
  void Clear();
  std::size_t Uploads() const { return uploads_; }
  // Pictures whose CPU copy went with their upload, since the cache began.
  std::size_t ReleasedPictures() const { return releasedPictures_; }
  std::size_t Size() const { return entries_.size(); }

 private:
  struct Entry {
    std::weak_ptr<rm::Texture> source;
    unsigned id = 0;
    bool decal = false;
    bool mipmap = false;
    int quality = -1;
  };
  std::unordered_map<const rm::Texture*, Entry> entries_;
  std::size_t uploads_ = 0;
  std::size_t releasedPictures_ = 0;
};

}  // namespace veltrane::gl
