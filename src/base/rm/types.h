#pragma once

// Basic value types of the retained-mode scene layer.
//
// Coordinates in this layer are y-up and LEFT-handed: x right, y up, z forward
// (into the screen for an unrotated camera). The simulation's z-up vector
// (x, y, z) is handed over as (x, z, y); ToLayer() does that. The renderer
// converts to its own convention once, at the projection.

#include <cstdint>
#include <vector>

#include "base/math/vec3.h"
#include "base/math/vec3f.h"

namespace veltrane::rm {

// The float vector, read in layer order: (x right, y up, z forward).
using Vector = Vec3f;

// Simulation vector (z up, right-handed) to layer order (y up, left-handed):
// swapping y and z is the whole conversion.
inline Vector ToLayer(const Vec3& v) {
  return {static_cast<float>(v.x), static_cast<float>(v.z), static_cast<float>(v.y)};
}

struct ColorRGB {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;

  friend bool operator==(const ColorRGB&, const ColorRGB&) = default;
};

// Packed colour: alpha in the top byte, then red, green, blue.
using ColorARGB = std::uint32_t;

constexpr ColorARGB PackARGB(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return (ColorARGB{a} << 24) | (ColorARGB{r} << 16) | (ColorARGB{g} << 8) | ColorARGB{b};
}
constexpr std::uint8_t AlphaOf(ColorARGB c) { return static_cast<std::uint8_t>(c >> 24); }
constexpr std::uint8_t RedOf(ColorARGB c) { return static_cast<std::uint8_t>(c >> 16); }
constexpr std::uint8_t GreenOf(ColorARGB c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t BlueOf(ColorARGB c) { return static_cast<std::uint8_t>(c); }

// Axis-aligned box (mesh bounds).
struct Box {
  Vector min;
  Vector max;
};

// A decoded picture: RGBA8, rows from the top of the image down, no padding
// (pixels.size() == width * height * 4). Texture coordinate (0, 0) is the
// top-left texel, u grows to the right, v downwards, 1 is the full width/height.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
};

// Mesh render quality bits (SetQuality stores the raw value).
namespace quality {
constexpr std::uint32_t kShadeMask = 0x07;
constexpr std::uint32_t kShadeFlat = 0x00;
constexpr std::uint32_t kShadeGouraud = 0x01;
constexpr std::uint32_t kShadePhong = 0x02;  // smooth shading with per-vertex normals
constexpr std::uint32_t kLightMask = 0x18;
constexpr std::uint32_t kLightOn = 0x08;
constexpr std::uint32_t kFillMask = 0x1C0;
constexpr std::uint32_t kFillSolid = 0x80;
constexpr std::uint32_t kSolidLitPhong = kFillSolid | kLightOn | kShadePhong;      // 0x8A
constexpr std::uint32_t kSolidLitFlat = kFillSolid | kLightOn | kShadeFlat;        // 0x88
constexpr std::uint32_t kSolidLitGouraud = kFillSolid | kLightOn | kShadeGouraud;  // 0x89
}  // namespace quality

}  // namespace veltrane::rm
