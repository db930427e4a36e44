#include "platform/gl/render_target.h"

#include <epoxy/gl.h>

#include <cstring>

namespace veltrane::gl {

RenderTarget::~RenderTarget() { Release(); }

void RenderTarget::Release() {
  if (fbo_) glDeleteFramebuffers(1, &fbo_);
  if (colour_) glDeleteRenderbuffers(1, &colour_);
  if (depth_) glDeleteRenderbuffers(1, &depth_);
  fbo_ = colour_ = depth_ = 0;
  width_ = height_ = 0;
}

bool RenderTarget::Resize(int width, int height) {
  if (width <= 0 || height <= 0) return false;
  if (fbo_ && width == width_ && height == height_) return true;
  Release();
  glGenFramebuffers(1, &fbo_);
  glGenRenderbuffers(1, &colour_);
  glGenRenderbuffers(1, &depth_);
  glBindRenderbuffer(GL_RENDERBUFFER, colour_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  glBindRenderbuffer(GL_RENDERBUFFER, depth_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth_);
  bool ok = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (!ok) {
    Release();
    return false;
  }
  width_ = width;
  height_ = height;
  return true;
}

void RenderTarget::Bind() const {
  glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
  glViewport(0, 0, width_, height_);
}

void RenderTarget::BindDefault() { glBindFramebuffer(GL_FRAMEBUFFER, 0); }

void RenderTarget::BlitToDefault(int dest_width, int dest_height) const {
  if (!fbo_) return;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  bool same = dest_width == width_ && dest_height == height_;
  glBlitFramebuffer(0, 0, width_, height_, 0, 0, dest_width, dest_height, GL_COLOR_BUFFER_BIT,
                    same ? GL_NEAREST : GL_LINEAR);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

std::vector<std::uint8_t> RenderTarget::ReadPixels() const {
  std::vector<std::uint8_t> px;
  if (!fbo_) return px;
  std::size_t row = static_cast<std::size_t>(width_) * 4;
  px.resize(row * static_cast<std::size_t>(height_));
  glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  // GL rows run bottom-up.
  std::vector<std::uint8_t> tmp(row);
  for (int y = 0; y < height_ / 2; ++y) {
    std::uint8_t* a = px.data() + static_cast<std::size_t>(y) * row;
    std::uint8_t* b = px.data() + static_cast<std::size_t>(height_ - 1 - y) * row;
    std::memcpy(tmp.data(), a, row);
    std::memcpy(a, b, row);
    std::memcpy(b, tmp.data(), row);
  }
  return px;
}

}  // namespace veltrane::gl
