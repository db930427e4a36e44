#pragma once

#include <string>

namespace veltrane::gl {

// Up to this many parallel lights are summed per fragment; more are dropped.
inline constexpr int kMaxLights = 8;

extern const char* const kSceneVertexShader;
extern const char* const kSceneFragmentShader;

// The scene shaders come in two builds: the plain one for everything, and one
// that lays grain over the ground close by. On a software rasteriser even an
// unused branch of the grain costs every pixel, so the plain build has none.
std::string SceneShaderSource(const char* source, bool ground_grain);

}  // namespace veltrane::gl
