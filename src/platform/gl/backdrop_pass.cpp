#include "platform/gl/backdrop_pass.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>

namespace veltrane::gl {
namespace {

// The direction of each corner of the screen-filling triangle is linear in its
// screen position, so the interpolated direction is exact up to its length.
const char* const kVertex = R"(#version 330 core
uniform vec3 uForward;
uniform vec3 uRight;  // scaled to the view's half width at distance 1
uniform vec3 uUp;     // scaled to its half height
out vec3 vDir;
void main() {
  vec2 p = vec2(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0);
  vDir = uForward + p.x * uRight + p.y * uUp;
  gl_Position = vec4(p, 1.0, 1.0);  // on the far plane: behind every surface
}
)";

const char* const kFragment = R"(#version 330 core
in vec3 vDir;
uniform sampler2D uClouds;
uniform bool uHasClouds;
uniform sampler2D uPanorama;
uniform bool uHasPanorama;
uniform vec3 uHorizon;      // the fog's colour: the terrain fades into it
uniform vec3 uZenith;
uniform vec3 uSun;          // toward the sun; zero for none
uniform vec2 uBand;         // elevation of the panorama's bottom and top row
uniform float uBandTopSin;  // sine of the top row's elevation
uniform float uPanoramaFog; // share of the panorama's own colour at its distance
out vec4 fragColor;
const float kTwoPi = 6.2831853;
// Far fields under a hazy sky, where no panorama says what lies there.
const vec3 kFarGround = vec3(0.36, 0.44, 0.3);
void main() {
  vec3 d = normalize(vDir);
  float up = max(d.y, 0.0);
  vec3 sky = uZenith;
  if (uHasClouds) {
    // A layer 800 m up on which the picture repeats every 2 km.
    vec2 uv = d.xz / max(d.y, 0.02) * 0.4;
    sky = texture(uClouds, uv).rgb * mix(1.0, 0.85, up * up);
  }
  // Air thickens toward the horizon. Powers by multiplication: the software
  // rasteriser makes pow() an exp2 of a log2, both polynomials, per pixel.
  float low = 1.0 - up, low2 = low * low;
  float haze = low2 * low2 * low2;
  sky = mix(sky, uHorizon, haze);
  if (dot(uSun, uSun) > 0.0) {
    float c = max(dot(d, uSun), 0.0);
    float c2 = c * c, c4 = c2 * c2;
    sky += vec3(0.3, 0.26, 0.18) * (c4 * c4 * c4);
    sky = mix(sky, vec3(1.0, 0.99, 0.93), smoothstep(0.9993, 0.9997, c));
  }
  vec3 c = sky;
  if (uHasPanorama) {
    // Most of the sky lies above the panorama: no arc sine there.
    if (d.y < uBandTopSin) {
      float elevation = asin(clamp(d.y, -1.0, 1.0));
      float rows = float(textureSize(uPanorama, 0).y);
      float t = clamp((uBand.y - elevation) / (uBand.y - uBand.x), 0.5 / rows, 1.0 - 0.5 / rows);
      vec4 p = texture(uPanorama, vec2(atan(d.x, d.z) / kTwoPi, t));
      c = mix(sky, mix(uHorizon, p.rgb, uPanoramaFog), p.a);
    }
  } else if (d.y < 0.0) {
    c = mix(sky, mix(uHorizon, kFarGround, uPanoramaFog), smoothstep(0.0, -0.004, d.y));
  }
  fragColor = vec4(clamp(c, 0.0, 1.0), 1.0);
}
)";

}  // namespace

BackdropPass::~BackdropPass() { Shutdown(); }

bool BackdropPass::Init(std::string& error) {
  if (program_.Id()) return true;
  if (!program_.Build(kVertex, kFragment, error)) return false;
  const ShaderProgram& p = program_;
  u_ = {p.Uniform("uForward"),     p.Uniform("uRight"),     p.Uniform("uUp"),
        p.Uniform("uClouds"),      p.Uniform("uHasClouds"), p.Uniform("uPanorama"),
        p.Uniform("uHasPanorama"), p.Uniform("uHorizon"),   p.Uniform("uZenith"),
        p.Uniform("uSun"),         p.Uniform("uBand"),      p.Uniform("uPanoramaFog"),
        p.Uniform("uBandTopSin")};
  glGenVertexArrays(1, &vao_);
  return true;
}

void BackdropPass::Shutdown() {
  if (vao_) glDeleteVertexArrays(1, &vao_);
  vao_ = 0;
  program_.Release();
}

void BackdropPass::Draw(const rm::Backdrop& b, const rm::Fog& fog, const BackdropView& v, Vec3f sun,
                        TextureCache& textures, rm::TextureQuality quality) {
  if (!program_.Id()) return;
  program_.Use();
  const Vec3f right = v.right * v.tanHalfWidth, up = v.up * v.tanHalfHeight;
  glUniform3f(u_.forward, v.direction.x, v.direction.y, v.direction.z);
  glUniform3f(u_.right, right.x, right.y, right.z);
  glUniform3f(u_.up, up.x, up.y, up.z);
  glUniform3f(u_.horizon, fog.color.r, fog.color.g, fog.color.b);
  glUniform3f(u_.zenith, b.zenith.r, b.zenith.g, b.zenith.b);
  glUniform3f(u_.sun, sun.x, sun.y, sun.z);
  glUniform2f(u_.band, b.below, b.above);
  glUniform1f(u_.bandTopSin, std::sin(std::clamp(b.above, -1.5707964f, 1.5707964f)));
  // The linear fog the terrain gets, at the distance the panorama stands.
  float share = 1.0f;
  if (fog.enabled)
    share = std::clamp((fog.end - b.distance) / std::max(fog.end - fog.start, 1e-4f), 0.0f, 1.0f);
  glUniform1f(u_.panoramaFog, share);

  glActiveTexture(GL_TEXTURE1);
  const unsigned clouds = textures.Get(b.clouds, quality);
  glUniform1i(u_.clouds, 1);
  glUniform1i(u_.hasClouds, clouds ? 1 : 0);
  glActiveTexture(GL_TEXTURE2);
  // The panorama is sampled without mip levels: the seam where its ends meet
  // must not pick a coarser level there.
  const unsigned panorama =
      textures.Get(b.panorama, quality == rm::TextureQuality::Nearest ? rm::TextureQuality::Nearest
                                                                      : rm::TextureQuality::Linear);
  glUniform1i(u_.panorama, 2);
  glUniform1i(u_.hasPanorama, panorama ? 1 : 0);
  glActiveTexture(GL_TEXTURE0);

  glDisable(GL_CULL_FACE);
  glDepthMask(GL_FALSE);
  glDepthFunc(GL_LEQUAL);
  glBindVertexArray(vao_);
  glDrawArrays(GL_TRIANGLES, 0, 3);
  glBindVertexArray(0);
  glDepthMask(GL_TRUE);
  glEnable(GL_CULL_FACE);
}

}  // namespace veltrane::gl
