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
out vec4 vColor;
out vec2 vUV;
out float vDepth;
out vec3 vLight;     // ambient + diffuse, multiplies the surface colour
out vec3 vSpecular;  // added on top
// Lighting per vertex: flat faces carry one normal at every corner, smooth
// ones blend between their corners' results.
void main() {
  vec4 scenePos = uModel * vec4(aPos, 1.0);
  vec4 eye = uView * scenePos;
  vColor = aColor;
  vUV = aUV;
  vDepth = -eye.z;
  vLight = vec3(1.0);
  vSpecular = vec3(0.0);
  if (uLit) {
    vec3 n = normalize(uNormalMat * aNormal);
    vec3 v = normalize(uCameraPos - scenePos.xyz);
    vLight = uAmbient;
    for (int i = 0; i < uLightCount; ++i) {
      float d = max(dot(n, uLightToward[i]), 0.0);
      vLight += uLightColor[i] * d;
      if (uSpecularOn && d > 0.0) {
        vec3 h = normalize(uLightToward[i] + v);
        vSpecular += uLightColor[i] * pow(max(dot(n, h), 0.0), uPower);
      }
    }
  }
  gl_Position = uProj * eye;
}
)";

const char* const kSceneFragmentShader = R"(#version 330 core
in vec4 vColor;
in vec2 vUV;
in float vDepth;
in vec3 vLight;
in vec3 vSpecular;
uniform bool uLit;
uniform vec3 uSpecular;
uniform vec3 uEmissive;
uniform bool uTextured;
uniform sampler2D uTexture;
uniform bool uAlphaTest;   // texels below half alpha are holes
uniform bool uFogOn;
uniform vec3 uFogColor;
uniform float uFogStart;
uniform float uFogEnd;
uniform vec4 uSolid;       // alpha >= 0: one flat colour, unlit (shadows)
out vec4 fragColor;
void main() {
  vec4 base;
  if (uSolid.a >= 0.0) {
    base = uSolid;
  } else {
    // As the fixed-function pipeline lights: emissive plus ambient and diffuse,
    // saturated at white, then modulated by the texture; specular on top.
    base = vColor;
    if (uLit) base.rgb = clamp(base.rgb * vLight + uEmissive, 0.0, 1.0);
    if (uTextured) {
      vec4 t = texture(uTexture, vUV);
      if (uAlphaTest && t.a < 0.5) discard;
      base *= t;
    }
    if (uLit) base.rgb += uSpecular * vSpecular;
  }
  vec3 c = base.rgb;
  if (uFogOn) {
    float f = clamp((uFogEnd - vDepth) / max(uFogEnd - uFogStart, 1e-4), 0.0, 1.0);
    c = mix(uFogColor, c, f);
  }
  fragColor = vec4(clamp(c, 0.0, 1.0), base.a);
}
)";

}  // namespace veltrane::gl
