#include "sim/math_u.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sim/random.h"

namespace veltrane {
namespace {

TEST(MathU, SubtractsFirstFromSecondAndAllowsAliasing) {
  Vec3 a{1, 0, 0}, b{3, 0, 0}, out;
  VecSub(a, b, out);
  EXPECT_EQ(out, (Vec3{2, 0, 0}));
  // Output aliasing an input: the inputs were copied first.
  VecSub(a, b, a);
  EXPECT_EQ(a, (Vec3{2, 0, 0}));
  Vec3 x{1, 0, 0}, y{0, 1, 0};
  VecCross(x, y, x);
  EXPECT_EQ(x, (Vec3{0, 0, 1}));
  Vec3 p{1, 2, 3};
  VecAdd(p, p, p);
  EXPECT_EQ(p, (Vec3{2, 4, 6}));
  VecScale(p, p, 0.5);
  EXPECT_EQ(p, (Vec3{1, 2, 3}));
}

TEST(MathU, NormalizeLeavesZeroVectorAlone) {
  Vec3 z{0, 0, 0};
  VecNormalize(z);
  EXPECT_EQ(z, (Vec3{0, 0, 0}));
  Vec3 v{3, 0, 4};
  VecNormalize(v);
  EXPECT_DOUBLE_EQ(v.x, 0.6);
  EXPECT_DOUBLE_EQ(v.z, 0.8);
}

TEST(MathU, ArcCosEdgeValues) {
  EXPECT_EQ(ArcCos(0.0), 1.5707963267948966);
  EXPECT_EQ(ArcCos(1.5), 0.0);
  EXPECT_DOUBLE_EQ(ArcCos(-1.0), 3.141592653589793);
  EXPECT_DOUBLE_EQ(ArcCos(-2.0), 3.141592653589793);
  EXPECT_NEAR(ArcCos(0.5), std::acos(0.5), 1e-15);
  EXPECT_NEAR(ArcCos(-0.5), std::acos(-0.5), 1e-15);
  EXPECT_TRUE(std::isnan(ArcCos(std::nan(""))));
}

TEST(MathU, SignOfZeroIsPlusOne) {
  EXPECT_EQ(Sign(0.0), 1.0);
  EXPECT_EQ(Sign(-0.0), 1.0);
  EXPECT_EQ(Sign(-1e-300), -1.0);
  EXPECT_EQ(Sign(5.0), 1.0);
}

TEST(MathU, RotateEulerTurnsClockwiseSeenFromAbove) {
  Vec3 v{0, 1, 0}, out;
  RotateEuler(v, {0, 0, 1.5707963267948966}, out);
  EXPECT_NEAR(out.x, 1.0, 1e-15);
  EXPECT_NEAR(out.y, 0.0, 1e-15);
  EXPECT_NEAR(out.z, 0.0, 1e-15);
  // Rotations about y then x, applied after z.
  Vec3 w{1, 0, 0};
  RotateEuler(w, {0, 1.5707963267948966, 0}, w);
  EXPECT_NEAR(w.z, 1.0, 1e-15);
  EXPECT_NEAR(w.x, 0.0, 1e-15);
  Vec3 u{0, 0, 1};
  RotateEuler(u, {1.5707963267948966, 0, 0}, u);
  EXPECT_NEAR(u.y, 1.0, 1e-15);
  EXPECT_NEAR(u.z, 0.0, 1e-15);
}

TEST(MathU, FrameConversionsAndComponents) {
  const Vec3 f{0, 1, 0}, r{1, 0, 0}, u{0, 0, 1};
  Vec3 w;
  BodyToWorld({2, 3, 4}, f, r, u, w);
  EXPECT_EQ(w, (Vec3{3, 2, 4}));
  Vec3 b;
  WorldToBody(w, f, r, u, b);
  EXPECT_EQ(b, (Vec3{2, 3, 4}));
  EXPECT_DOUBLE_EQ(VecComponent({3, 4, 0}, {0, 2, 0}), 4.0);
  EXPECT_DOUBLE_EQ(VecAngle({1, 0, 0}, {0, 5, 0}), 1.5707963267948966);
  EXPECT_DOUBLE_EQ(VecLength({3, 4, 12}), 13.0);
}

TEST(ProgramRandom, FollowsTheLinearCongruence) {
  ProgramRandom r;
  EXPECT_EQ(r.State(), 0u);
  EXPECT_DOUBLE_EQ(r.Next(), 1.0 / 4294967296.0);
  EXPECT_EQ(r.State(), 1u);
  r.Next();
  EXPECT_EQ(r.State(), 134775814u);
  ProgramRandom a, b;
  for (int i = 0; i < 100; ++i) EXPECT_EQ(a.Next(), b.Next());
  for (int i = 0; i < 1000; ++i) {
    const int k = a.NextInt(8);
    EXPECT_GE(k, 0);
    EXPECT_LT(k, 8);
  }
}

}  // namespace
}  // namespace veltrane
