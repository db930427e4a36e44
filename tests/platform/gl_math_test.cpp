#include <gtest/gtest.h>

#include "platform/gl/gl_math.h"
#include "platform/gl/mesh_geometry.h"
#include "platform/rm/rm.h"

namespace veltrane::gl {
namespace {

TEST(GlMath, FrameAxesAreLeftHanded) {
  // x = up x direction: facing +z with y up, the frame's right is +x.
  Mat4 m = FrameMatrix({1, 2, 3}, {0, 0, 1}, {0, 1, 0});
  V3 p = TransformPoint(m, {1, 0, 0});
  EXPECT_FLOAT_EQ(p.x, 2);
  EXPECT_FLOAT_EQ(p.y, 2);
  EXPECT_FLOAT_EQ(p.z, 3);
  // Facing +x, the right is -z.
  V3 r = TransformDir(FrameMatrix({}, {1, 0, 0}, {0, 1, 0}), {1, 0, 0});
  EXPECT_NEAR(r.z, -1, 1e-6);
  // Up not perpendicular to the direction is straightened.
  V3 u = TransformDir(FrameMatrix({}, {0, 0, 1}, {0, 1, 1}), {0, 1, 0});
  EXPECT_NEAR(u.y, 1, 1e-6);
  EXPECT_NEAR(u.z, 0, 1e-6);
}

TEST(GlMath, DegeneratePlacementsFallBackToIdentityAxes) {
  for (auto [dir, up] : {std::pair<V3, V3>{{0, 0, 0}, {0, 1, 0}}, {{0, 1, 0}, {0, 1, 0}}}) {
    Mat4 m = FrameMatrix({}, dir, up);
    for (float v : m.m) EXPECT_TRUE(std::isfinite(v));
    V3 x = TransformDir(m, {1, 0, 0}), y = TransformDir(m, {0, 1, 0});
    EXPECT_NEAR(Length(x), 1, 1e-5);
    EXPECT_NEAR(Dot(x, y), 0, 1e-5);
  }
}

TEST(GlMath, ProjectionKeepsRightOnTheRightAndMapsFieldToTheEdge) {
  Mat4 view = ViewMatrix({0, 0, 0}, {0, 0, 1}, {0, 1, 0});
  Mat4 proj = ProjectionMatrix(1, 100, 0.5f, 4.0f / 3.0f);
  Mat4 vp = proj * view;
  V3 right = TransformPoint(vp, {1, 0, 10});
  EXPECT_GT(right.x, 0);
  V3 up = TransformPoint(vp, {0, 1, 10});
  EXPECT_GT(up.y, 0);
  // Half-width 0.5 at the front distance 1 is the right edge of the view.
  EXPECT_NEAR(TransformPoint(vp, {0.5f, 0, 1}).x, 1, 1e-5);
  EXPECT_NEAR(TransformPoint(vp, {5, 0, 10}).x, 1, 1e-5);
  // Height follows the aspect: 0.375 at the front distance is the top edge.
  EXPECT_NEAR(TransformPoint(vp, {0, 0.375f, 1}).y, 1, 1e-5);
  // Depth: front at -1, back at +1, behind the camera outside.
  EXPECT_NEAR(TransformPoint(vp, {0, 0, 1}).z, -1, 1e-5);
  EXPECT_NEAR(TransformPoint(vp, {0, 0, 100}).z, 1, 1e-4);
  EXPECT_LT(TransformClip(vp, {0, 0, -5})[3], 0);
}

TEST(GlMath, ProjectionSurvivesBadViewportValues) {
  Mat4 p = ProjectionMatrix(0, 0, 0, 0);
  for (float v : p.m) EXPECT_TRUE(std::isfinite(v));
}

TEST(GlMath, PlanarShadowPutsPointsOnThePlaneAlongTheLight) {
  V3 light = Normalize({1, -2, 0});
  Mat4 s = PlanarShadowMatrix(light, {0, 0.5f, 0}, {0, 1, 0});
  V3 p = TransformPoint(s, {0, 4.5f, 0});
  EXPECT_NEAR(p.y, 0.5f, 1e-5);
  EXPECT_NEAR(p.x, 2, 1e-5);  // 4 m down along a slope of 1:2
  // A point on the plane stays where it is.
  V3 q = TransformPoint(s, {3, 0.5f, -1});
  EXPECT_NEAR(q.x, 3, 1e-5);
  EXPECT_NEAR(q.z, -1, 1e-5);
  // Light parallel to the plane: no projection rather than infinities.
  Mat4 flat = PlanarShadowMatrix({1, 0, 0}, {}, {0, 1, 0});
  for (float v : flat.m) EXPECT_TRUE(std::isfinite(v));
}

class MeshGeometryTest : public ::testing::Test {
 protected:
  rm::MeshBuilder mb_;
  std::vector<rm::Vector> v_ = {{0, 1, 0}, {1, 0, 0}, {-1, 0, 0}, {0, -1, 0}};
  std::vector<rm::Vector> n_ = {{0, 0, 1}};
};

TEST_F(MeshGeometryTest, FlatNormalPointsToTheSideTheCornersRunClockwise) {
  // Top, right, left: clockwise seen from -z.
  std::vector<std::uint32_t> d = {3, 0, 0, 1, 0, 2, 0, 0};
  mb_.AddFaces(v_, n_, d);
  mb_.SetQuality(rm::quality::kSolidLitFlat);
  MeshGeometry g = BuildMeshGeometry(mb_);
  ASSERT_EQ(g.opaque.size(), 3u);
  EXPECT_NEAR(g.opaque[0].normal[2], -1, 1e-6);
  EXPECT_TRUE(g.lit);
  EXPECT_FALSE(g.smooth);
  // Smooth quality takes the given vertex normals instead.
  mb_.SetQuality(rm::quality::kSolidLitPhong);
  g = BuildMeshGeometry(mb_);
  EXPECT_NEAR(g.opaque[0].normal[2], 1, 1e-6);
  EXPECT_TRUE(g.smooth);
}

TEST_F(MeshGeometryTest, PolygonsBecomeFansSplitByTranslucencyAndTexture) {
  std::vector<std::uint32_t> d = {4, 0, 0, 1, 0, 3, 0, 2, 0, 3, 0, 0, 1, 0, 2, 0, 3, 0, 0, 1, 0, 2, 0, 0};
  auto faces = mb_.AddFaces(v_, n_, d);
  faces.GetElement(1).SetColor(rm::PackARGB(128, 255, 0, 0));
  faces.GetElement(2).SetTexture(std::make_shared<rm::Texture>());
  MeshGeometry g = BuildMeshGeometry(mb_);
  EXPECT_EQ(g.opaque.size(), 9u);  // quad as two triangles + one triangle
  EXPECT_EQ(g.batches.size(), 2u);
  ASSERT_EQ(g.translucent.size(), 1u);
  EXPECT_EQ(g.translucent[0].v[0].argb, rm::PackARGB(128, 255, 0, 0));
  std::uint32_t total = 0;
  for (const Batch& b : g.batches) total += b.count;
  EXPECT_EQ(total, 9u);
}

TEST_F(MeshGeometryTest, UnlitQualityIsReported) {
  mb_.SetQuality(rm::quality::kFillSolid);
  EXPECT_FALSE(BuildMeshGeometry(mb_).lit);
}

}  // namespace
}  // namespace veltrane::gl
