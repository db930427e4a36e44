#include "platform/gl/scene_shaders.h"

namespace veltrane::gl {

const char* const kSceneVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aColor;
layout(location = 3) in vec2 aUV;
uniform mat4 uModel;      // frame-local to scene
uniform mat4 uView;       // scene to eye
uniform mat4 uProj;
uniform mat3 uNormalMat;  // rotation of the frame
uniform bool uLit;
uniform vec3 uAmbient;
uniform int uLightCount;
uniform vec3 uLightToward[8];  // unit vectors from the surface toward each light
uniform vec3 uLightColor[8];
uniform vec3 uCameraPos;
uniform float uPower;
uniform bool uSpecularOn;
uniform vec3 uSpecular;
uniform vec3 uEmissive;
uniform bool uFogOn;
uniform float uFogStart;
uniform float uFogEnd;
out vec4 vColor;     // lit and saturated surface colour, modulated by the texture
out vec3 vSpecular;  // added on top of the texture
out vec2 vUV;
out float vFog;      // share of the surface's own colour, before clamping; 1 without fog
#ifdef GROUND_GRAIN
out vec3 vGround;    // ground position (x, z) and how much of its grain shows
#endif
// Everything that interpolates as well as it computes is done here, once per
// vertex: lighting as the fixed-function pipeline does it (emissive plus
// ambient and diffuse, saturated at white), and the linear fog factor, which
// is affine in eye depth and so exact when interpolated.
void main() {
  vec4 scenePos = uModel * vec4(aPos, 1.0);
  vec4 eye = uView * scenePos;
  vColor = aColor;
  vUV = aUV;
  vFog = uFogOn ? (uFogEnd + eye.z) / max(uFogEnd - uFogStart, 1e-4) : 1.0;
  vSpecular = vec3(0.0);
#ifdef GROUND_GRAIN
  // Grain fades out by 150 m: far ground stays calm.
  vGround = vec3(scenePos.xz, clamp(1.0 - length(eye.xyz) / 150.0, 0.0, 1.0));
#endif
  if (uLit) {
    vec3 n = normalize(uNormalMat * aNormal);
    vec3 v = normalize(uCameraPos - scenePos.xyz);
    vec3 light = uAmbient;
    vec3 spec = vec3(0.0);
    for (int i = 0; i < uLightCount; ++i) {
      float d = max(dot(n, uLightToward[i]), 0.0);
      light += uLightColor[i] * d;
      if (uSpecularOn && d > 0.0) {
        vec3 h = normalize(uLightToward[i] + v);
        spec += uLightColor[i] * pow(max(dot(n, h), 0.0), uPower);
      }
    }
    vColor.rgb = clamp(aColor.rgb * light + uEmissive, 0.0, 1.0);
    vSpecular = uSpecular * spec;
  }
  gl_Position = uProj * eye;
}
)";

const char* const kSceneFragmentShader = R"(#version 330 core
in vec4 vColor;
in vec3 vSpecular;
in vec2 vUV;
in float vFog;
#ifdef GROUND_GRAIN
in vec3 vGround;
uniform sampler2D uDetailTexture;
#endif
uniform sampler2D uTexture;  // a white texel for untextured surfaces
uniform bool uAlphaTest;     // texels below half alpha are holes
uniform vec3 uFogColor;
uniform vec4 uSolid;         // alpha >= 0: one flat colour, unlit (shadows)
out vec4 fragColor;
// Without branches: the software rasteriser runs every pixel through the same
// straight code, and selects cost it less than ifs (a tenth of the frame).
void main() {
  vec4 t = texture(uTexture, vUV);
  if (uAlphaTest && t.a < 0.5) discard;
  vec4 base = vColor * t;
#ifdef GROUND_GRAIN
  // One lookup for both scales: patches gone by 150 m, tufts by 40 m. Green
  // ground takes the grass tufts; sand, rock and soil the mineral grain.
  vec4 grain = texture(uDetailTexture, vGround.xy * 0.11) - 0.5;
  float nearShare = clamp((vGround.z - 0.73) / 0.27, 0.0, 1.0);
  float grassy = clamp((base.g - max(base.r, base.b)) * 16.0, 0.0, 1.0);
  float fine = mix(grain.b, grain.r, grassy);
  base.rgb *= 1.0 + 0.2 * vGround.z * grain.g + 0.3 * nearShare * fine;
#endif
  base.rgb += vSpecular;
  base = uSolid.a >= 0.0 ? uSolid : base;
  vec3 c = mix(uFogColor, base.rgb, clamp(vFog, 0.0, 1.0));
  fragColor = vec4(clamp(c, 0.0, 1.0), base.a);
}
)";

std::string SceneShaderSource(const char* source, bool ground_grain) {
  std::string s = source;
  if (ground_grain) s.insert(s.find('\n') + 1, "#define GROUND_GRAIN\n");
  return s;
}

}  // namespace veltrane::gl
