#pragma once

#include "base/math/vec3.h"

// The vector operations every flight routine uses. Each takes its vector
// arguments by reference and copies them first, so an output may alias an input.
namespace veltrane {

double VecDot(const Vec3& a, const Vec3& b);
double VecLength(const Vec3& a);
void VecCross(const Vec3& a, const Vec3& b, Vec3& out);
void VecAdd(const Vec3& a, const Vec3& b, Vec3& out);
// out = b - a: the second argument minus the first.
void VecSub(const Vec3& a, const Vec3& b, Vec3& out);
void VecScale(const Vec3& a, Vec3& out, double s);
// Divides by the length unless it is 0; a zero vector stays unchanged.
void VecNormalize(Vec3& a);
// ArcCos(dot / (|a| |b|)); a zero-length argument is the caller's problem.
double VecAngle(const Vec3& a, const Vec3& b);
// Signed length of a along b.
double VecComponent(const Vec3& a, const Vec3& b);
// out = v.x * a + v.y * b + v.z * c.
void BodyToWorld(const Vec3& v, const Vec3& a, const Vec3& b, const Vec3& c, Vec3& out);
// out = (v.a, v.b, v.c).
void WorldToBody(const Vec3& v, const Vec3& a, const Vec3& b, const Vec3& c, Vec3& out);
// Three plane rotations: about z by angles.z, then y by angles.y, then x by angles.x.
void RotateEuler(const Vec3& v, const Vec3& angles, Vec3& out);
// Clamped to [-1, 1]; exactly pi/2 at 0; atan form so it never faults.
double ArcCos(double x);
// +1 for x >= 0 (so Sign(0) = +1), else -1.
double Sign(double x);

}  // namespace veltrane
