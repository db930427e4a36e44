#include "platform/ui_textures/gl_picture_textures.h"

#include <epoxy/gl.h>

#include <cstdint>

#include "base/pictures/picture_file.h"

namespace veltrane::platform {

GlPictureTextures::~GlPictureTextures() { Clear(); }

void GlPictureTextures::Clear() {
  for (auto& [file, t] : cache_) {
    if (t.id) {
      const GLuint name = static_cast<GLuint>(reinterpret_cast<std::uintptr_t>(t.id));
      glDeleteTextures(1, &name);
    }
  }
  cache_.clear();
}

ui::PictureTextures::Texture GlPictureTextures::Get(const std::string& file) {
  auto it = cache_.find(file);
  if (it != cache_.end()) return it->second;
  Texture t;
  try {
    const pictures::Picture pic = pictures::LoadPicture(file);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, pic.width, pic.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pic.pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    t.id = reinterpret_cast<void*>(static_cast<std::uintptr_t>(name));
    t.width = pic.width;
    t.height = pic.height;
  } catch (const std::exception&) {
    // A missing or broken picture leaves the pane empty.
  }
  cache_[file] = t;
  return t;
}

}  // namespace veltrane::platform
