#pragma once

#include <cmath>

namespace veltrane {

// Three 32-bit components: what the scene layer and the GPU take (points,
// normals, directions). The simulation computes in Vec3 and narrows once, at
// the hand-over; the axis order belongs to whoever holds the vector.
struct Vec3f {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  // Component by axis 0, 1, 2, for code that loops over axes.
  float operator[](int axis) const;
  float& operator[](int axis);

  friend bool operator==(const Vec3f&, const Vec3f&) = default;
};

// Members by axis: indexing through &x would step outside the member x.
inline constexpr float Vec3f::*kVec3fAxes[3] = {&Vec3f::x, &Vec3f::y, &Vec3f::z};
inline float Vec3f::operator[](int axis) const { return this->*kVec3fAxes[axis]; }
inline float& Vec3f::operator[](int axis) { return this->*kVec3fAxes[axis]; }

inline Vec3f operator+(Vec3f a, Vec3f b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3f operator-(Vec3f a, Vec3f b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3f operator*(Vec3f a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float Dot(Vec3f a, Vec3f b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3f Cross(Vec3f a, Vec3f b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Length(Vec3f a) { return std::sqrt(Dot(a, a)); }
// Unit length; the zero vector stays zero.
inline Vec3f Normalize(Vec3f a) {
  const float l = Length(a);
  return l > 0 ? a * (1.0f / l) : Vec3f{};
}

}  // namespace veltrane
