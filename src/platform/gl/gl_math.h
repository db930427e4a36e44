#pragma once

#include <array>
#include <cmath>

#include "base/rm/types.h"

namespace veltrane::gl {

struct V3 {
  float x = 0, y = 0, z = 0;
};
inline V3 ToV3(const rm::Vector& v) { return {v.x, v.y, v.z}; }
inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator*(V3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float Length(V3 a) { return std::sqrt(Dot(a, a)); }
inline V3 Normalize(V3 a) {
  float l = Length(a);
  return l > 0 ? a * (1.0f / l) : V3{};
}

// Column-major 4x4, as GL takes it: m[col * 4 + row].
struct Mat4 {
  std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  float& at(int row, int col) { return m[col * 4 + row]; }
  float at(int row, int col) const { return m[col * 4 + row]; }
  const float* data() const { return m.data(); }
};

Mat4 operator*(const Mat4& a, const Mat4& b);
V3 TransformPoint(const Mat4& a, V3 p);  // with the perspective divide
V3 TransformDir(const Mat4& a, V3 d);    // rotation part only
// Homogeneous result before the divide, for clip-space checks.
std::array<float, 4> TransformClip(const Mat4& a, V3 p);

// Frame placement (scene coordinates) to a matrix taking frame-local points to
// scene points: columns right, up, direction, position.
Mat4 FrameMatrix(V3 position, V3 direction, V3 up);

// Scene (left-handed layer) to GL eye space (right-handed, looking down -z).
// The handedness flip happens here once, on the view's z axis, so x stays
// right and y up on the screen and nothing is mirrored.
Mat4 ViewMatrix(V3 camera_position, V3 camera_direction, V3 camera_up);

// Perspective from the viewport's front, back and field; field is the half
// width of the view at the front distance, the height follows the aspect.
Mat4 ProjectionMatrix(float front, float back, float field, float aspect_w_over_h);

// Projects points along `light_dir` (direction the light travels) onto the
// plane through `point` with `normal`. Identity when the light runs parallel
// to the plane (nothing sensible to cast).
Mat4 PlanarShadowMatrix(V3 light_dir, V3 point, V3 normal);

// The six planes of a clip matrix (projection * view * model), each as
// (a, b, c, d) with a x + b y + c z + d >= 0 inside, in the model's frame.
struct Frustum {
  std::array<std::array<float, 4>, 6> planes{};
};
Frustum FrustumOf(const Mat4& clip);
// True when the box lies wholly outside one of the planes (it cannot be seen);
// boxes that only straddle a corner may be kept, never a visible one dropped.
bool BoxOutside(const Frustum& f, V3 lo, V3 hi);

}  // namespace veltrane::gl
