#pragma once

#include <memory>
#include <string>

#include "base/math/vec3f.h"
#include "base/rm/backdrop.h"
#include "base/rm/frame.h"
#include "platform/gl/shader_program.h"
#include "platform/gl/texture_cache.h"

namespace veltrane::gl {

// The camera as the backdrop needs it: where it looks and how wide, in scene axes.
struct BackdropView {
  Vec3f direction{0, 0, 1}, up{0, 1, 0}, right{1, 0, 0};
  float tanHalfWidth = 1.0f;   // half the view's width at distance 1
  float tanHalfHeight = 1.0f;  // half its height at distance 1
};

// Draws a scene's backdrop on the pixels no surface has covered: one screen-filling
// triangle on the far plane, shaded per pixel from the direction it looks.
class BackdropPass {
 public:
  BackdropPass() = default;
  ~BackdropPass();
  BackdropPass(const BackdropPass&) = delete;
  BackdropPass& operator=(const BackdropPass&) = delete;

  bool Init(std::string& error);
  void Shutdown();

  // Expects the depth buffer of the frame's opaque surfaces; leaves depth untouched.
  // sun: unit vector toward the sun, or zero for none.
  void Draw(const rm::Backdrop& backdrop, const rm::Fog& fog, const BackdropView& view, Vec3f sun,
            TextureCache& textures, rm::TextureQuality quality);

 private:
  ShaderProgram program_;
  unsigned vao_ = 0;
  struct Uniforms {
    int forward, right, up, clouds, hasClouds, panorama, hasPanorama, horizon, zenith, sun, band,
        panoramaFog, bandTopSin;
  } u_{};
};

}  // namespace veltrane::gl
