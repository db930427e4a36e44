#pragma once

namespace veltrane::gl {

// Up to this many parallel lights are summed per fragment; more are dropped.
inline constexpr int kMaxLights = 8;

extern const char* const kSceneVertexShader;
extern const char* const kSceneFragmentShader;

}  // namespace veltrane::gl
