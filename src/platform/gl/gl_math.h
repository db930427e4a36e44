#pragma once

#include <array>

#include "base/math/vec3f.h"

namespace veltrane::gl {

// Column-major 4x4, as GL takes it: m[col * 4 + row].
struct Mat4 {
  std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  float& at(int row, int col) { return m[col * 4 + row]; }
  float at(int row, int col) const { return m[col * 4 + row]; }
  const float* data() const { return m.data(); }
};

Mat4 operator*(const Mat4& a, const Mat4& b);
Vec3f TransformPoint(const Mat4& a, Vec3f p);  // with the perspective divide
Vec3f TransformDir(const Mat4& a, Vec3f d);    // rotation part only
// Homogeneous result before the divide, for clip-space checks.
std::array<float, 4> TransformClip(const Mat4& a, Vec3f p);

// Frame placement (scene coordinates) to a matrix taking frame-local points to
// scene points: columns right, up, direction, position.
Mat4 FrameMatrix(Vec3f position, Vec3f direction, Vec3f up);

// Scene (left-handed layer) to GL eye space (right-handed, looking down -z).
// The handedness flip happens here once, on the view's z axis, so x stays
// right and y up on the screen and nothing is mirrored.
Mat4 ViewMatrix(Vec3f camera_position, Vec3f camera_direction, Vec3f camera_up);

// Perspective from the viewport's front, back and field; field is the half
// width of the view at the front distance, the height follows the aspect.
Mat4 ProjectionMatrix(float front, float back, float field, float aspect_w_over_h);

// Projects points along `light_dir` (direction the light travels) onto the
// plane through `point` with `normal`. Identity when the light runs parallel
// to the plane (nothing sensible to cast).
Mat4 PlanarShadowMatrix(Vec3f light_dir, Vec3f point, Vec3f normal);

// The six planes of a clip matrix (projection * view * model), each as
// (a, b, c, d) with a x + b y + c z + d >= 0 inside, in the model's frame.
struct Frustum {
  std::array<std::array<float, 4>, 6> planes{};
};
Frustum FrustumOf(const Mat4& clip);
// True when the box lies wholly outside one of the planes (it cannot be seen);
// boxes that only straddle a corner may be kept, never a visible one dropped.
bool BoxOutside(const Frustum& f, Vec3f lo, Vec3f hi);

}  // namespace veltrane::gl
