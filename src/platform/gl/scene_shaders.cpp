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
out vec3 vScenePos;
out vec3 vNormal;
out vec4 vColor;
out vec2 vUV;
out float vDepth;
void main() {
  vec4 scenePos = uModel * vec4(aPos, 1.0);
  vec4 eye = uView * scenePos;
  vScenePos = scenePos.xyz;
  vNormal = uNormalMat * aNormal;
  vColor = aColor;
  vUV = aUV;
  vDepth = -eye.z;
  gl_Position = uProj * eye;
}
)";

const char* const kSceneFragmentShader = R"(#version 330 core
in vec3 vScenePos;
in vec3 vNormal;
in vec4 vColor;
in vec2 vUV;
in float vDepth;
uniform bool uLit;
uniform vec3 uAmbient;
uniform int uLightCount;
uniform vec3 uLightToward[8];  // unit vectors from the surface toward each light
uniform vec3 uLightColor[8];
uniform vec3 uCameraPos;
uniform float uPower;
uniform vec3 uSpecular;
uniform vec3 uEmissive;
uniform bool uSpecularOn;
uniform bool uTextured;
uniform sampler2D uTexture;
uniform bool uAlphaTest;   // opaque pass: texels below half alpha are holes
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
    base = vColor;
    if (uTextured) {
      vec4 t = texture(uTexture, vUV);
      if (uAlphaTest && t.a < 0.5) discard;
      base *= t;
    }
    if (uLit) {
      vec3 n = normalize(vNormal);
      vec3 light = uAmbient;
      vec3 spec = vec3(0.0);
      vec3 v = normalize(uCameraPos - vScenePos);
      for (int i = 0; i < uLightCount; ++i) {
        float d = max(dot(n, uLightToward[i]), 0.0);
        light += uLightColor[i] * d;
        if (uSpecularOn && d > 0.0) {
          vec3 h = normalize(uLightToward[i] + v);
          spec += uLightColor[i] * pow(max(dot(n, h), 0.0), uPower);
        }
      }
      base.rgb = base.rgb * light + uEmissive + uSpecular * spec;
    }
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
