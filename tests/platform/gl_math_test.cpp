#include "platform/gl/gl_math.h"

#include <gtest/gtest.h>

#include <set>

#include "base/rm/rm.h"
#include "ground_grid.h"
#include "platform/gl/mesh_geometry.h"
#include "platform/gl/mip_levels.h"

namespace veltrane::gl {
namespace {

TEST(GlMath, FrameAxesAreLeftHanded) {
  // x = up x direction: facing +z with y up, the frame's right is +x.
  Mat4 m = FrameMatrix({1, 2, 3}, {0, 0, 1}, {0, 1, 0});
  Vec3f p = TransformPoint(m, {1, 0, 0});
  EXPECT_FLOAT_EQ(p.x, 2);
  EXPECT_FLOAT_EQ(p.y, 2);
  EXPECT_FLOAT_EQ(p.z, 3);
  // Facing +x, the right is -z.
  Vec3f r = TransformDir(FrameMatrix({}, {1, 0, 0}, {0, 1, 0}), {1, 0, 0});
  EXPECT_NEAR(r.z, -1, 1e-6);
  // Up not perpendicular to the direction is straightened.
  Vec3f u = TransformDir(FrameMatrix({}, {0, 0, 1}, {0, 1, 1}), {0, 1, 0});
  EXPECT_NEAR(u.y, 1, 1e-6);
  EXPECT_NEAR(u.z, 0, 1e-6);
}

TEST(GlMath, DegeneratePlacementsFallBackToIdentityAxes) {
  for (auto [dir, up] : {std::pair<Vec3f, Vec3f>{{0, 0, 0}, {0, 1, 0}}, {{0, 1, 0}, {0, 1, 0}}}) {
    Mat4 m = FrameMatrix({}, dir, up);
    for (float v : m.m) EXPECT_TRUE(std::isfinite(v));
    Vec3f x = TransformDir(m, {1, 0, 0}), y = TransformDir(m, {0, 1, 0});
    EXPECT_NEAR(Length(x), 1, 1e-5);
    EXPECT_NEAR(Dot(x, y), 0, 1e-5);
  }
}

TEST(GlMath, ProjectionKeepsRightOnTheRightAndMapsFieldToTheEdge) {
  Mat4 view = ViewMatrix({0, 0, 0}, {0, 0, 1}, {0, 1, 0});
  Mat4 proj = ProjectionMatrix(1, 100, 0.5f, 4.0f / 3.0f);
  Mat4 vp = proj * view;
  Vec3f right = TransformPoint(vp, {1, 0, 10});
  EXPECT_GT(right.x, 0);
  Vec3f up = TransformPoint(vp, {0, 1, 10});
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
  Vec3f light = Normalize({1, -2, 0});
  Mat4 s = PlanarShadowMatrix(light, {0, 0.5f, 0}, {0, 1, 0});
  Vec3f p = TransformPoint(s, {0, 4.5f, 0});
  EXPECT_NEAR(p.y, 0.5f, 1e-5);
  EXPECT_NEAR(p.x, 2, 1e-5);  // 4 m down along a slope of 1:2
  // A point on the plane stays where it is.
  Vec3f q = TransformPoint(s, {3, 0.5f, -1});
  EXPECT_NEAR(q.x, 3, 1e-5);
  EXPECT_NEAR(q.z, -1, 1e-5);
  // Light parallel to the plane: no projection rather than infinities.
  Mat4 flat = PlanarShadowMatrix({1, 0, 0}, {}, {0, 1, 0});
  for (float v : flat.m) EXPECT_TRUE(std::isfinite(v));
}

TEST(GlMath, FrustumDropsOnlyBoxesWhollyOutside) {
  // Camera at the origin looking along +z, front 1, back 100, 90 degrees wide.
  Mat4 clip = ProjectionMatrix(1, 100, 1, 1) * ViewMatrix({0, 0, 0}, {0, 0, 1}, {0, 1, 0});
  Frustum f = FrustumOf(clip);
  struct Case {
    Vec3f lo, hi;
    bool outside;
  } cases[] = {
      {{-1, -1, 10}, {1, 1, 12}, false},             // straight ahead
      {{-1, -1, -12}, {1, 1, -10}, true},            // behind
      {{-30, -1, 10}, {-13, 1, 12}, true},           // left of the view
      {{-30, -1, 10}, {-9, 1, 12}, false},           // reaches in from the left
      {{-1, -1, 101}, {1, 1, 150}, true},            // beyond the back
      {{-1, -1, 90}, {1, 1, 150}, false},            // crosses the back
      {{-500, -500, -500}, {500, 500, 500}, false},  // around the camera
      {{-1, 30, 20}, {1, 40, 25}, true},             // above
  };
  for (const Case& c : cases)
    EXPECT_EQ(BoxOutside(f, c.lo, c.hi), c.outside)
        << c.lo.x << "," << c.lo.y << "," << c.lo.z << " .. " << c.hi.x << "," << c.hi.y << ","
        << c.hi.z;
  // Planes in a mesh's own frame: the same box moved by its placement.
  Frustum moved = FrustumOf(clip * FrameMatrix({0, 0, -200}, {0, 0, 1}, {0, 1, 0}));
  EXPECT_TRUE(BoxOutside(moved, {-1, -1, 10}, {1, 1, 12}));
  EXPECT_FALSE(BoxOutside(moved, {-1, -1, 210}, {1, 1, 212}));
}

TEST(GlMath, PackedNormalsKeepTheirDirection) {
  for (Vec3f n : {Vec3f{1, 0, 0}, Vec3f{0, -1, 0}, Vec3f{0, 0, 1}, Normalize({-1, 2, -3}),
                  Normalize({0.3f, -0.9f, 0.1f})}) {
    Vec3f back = UnpackNormal(PackNormal(n));
    EXPECT_NEAR(back.x, n.x, 1.0f / 511) << n.x << "," << n.y << "," << n.z;
    EXPECT_NEAR(back.y, n.y, 1.0f / 511);
    EXPECT_NEAR(back.z, n.z, 1.0f / 511);
  }
  // Out of range and not-a-number components do not spill into their neighbours.
  Vec3f odd = UnpackNormal(PackNormal({5, std::nanf(""), -5}));
  EXPECT_FLOAT_EQ(odd.x, 1);
  EXPECT_FLOAT_EQ(odd.y, 0);
  EXPECT_FLOAT_EQ(odd.z, -1);
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
  EXPECT_NEAR(UnpackNormal(g.opaque[0].normal).z, -1, 1e-6);
  EXPECT_TRUE(g.lit);
  EXPECT_FALSE(g.smooth);
  // Smooth quality takes the given vertex normals instead.
  mb_.SetQuality(rm::quality::kSolidLitPhong);
  g = BuildMeshGeometry(mb_);
  EXPECT_NEAR(UnpackNormal(g.opaque[0].normal).z, 1, 1e-6);
  EXPECT_TRUE(g.smooth);
}

TEST_F(MeshGeometryTest, PolygonsBecomeFansSplitByTranslucencyAndTexture) {
  std::vector<std::uint32_t> d = {4, 0, 0, 1, 0, 3, 0, 2, 0, 3, 0, 0,
                                  1, 0, 2, 0, 3, 0, 0, 1, 0, 2, 0, 0};
  auto faces = mb_.AddFaces(v_, n_, d);
  faces.GetElement(1).SetColor(rm::PackARGB(128, 255, 0, 0));
  faces.GetElement(2).SetTexture(std::make_shared<rm::Texture>());
  MeshGeometry g = BuildMeshGeometry(mb_);
  EXPECT_EQ(g.indices.size(), 9u);  // quad as two triangles + one triangle
  EXPECT_EQ(g.opaque.size(), 7u);   // the quad's two triangles share their diagonal
  EXPECT_EQ(g.batches.size(), 2u);
  ASSERT_EQ(g.translucent.size(), 1u);
  EXPECT_EQ(g.translucent[0].v[0].argb, rm::PackARGB(128, 255, 0, 0));
  std::uint32_t total = 0;
  for (const Batch& b : g.batches) total += b.count;
  EXPECT_EQ(total, 9u);
}

// Twice the area a triangle covers seen from above, signed by its turn.
float GroundArea(const MeshGeometry& g, const std::uint32_t* t) {
  const Vec3f& a = g.opaque[t[0]].pos;
  const Vec3f& b = g.opaque[t[1]].pos;
  const Vec3f& c = g.opaque[t[2]].pos;
  return (b.x - a.x) * (c.z - a.z) - (b.z - a.z) * (c.x - a.x);
}

TEST_F(MeshGeometryTest, CoarseRunsCoverTheSameGroundAndKeepEveryEdgeTheyShare) {
  // A 64 x 64 ground grid of rolling hills, one texture spread over it.
  const int n = 64;
  const std::vector<rm::Vector> v = test::GroundPoints(
      n, 10, 0, 0, [](int x, int z) { return 3 * std::sin(x * 0.3f) * std::cos(z * 0.2f); });
  const std::vector<std::uint32_t> d = test::GroundTriangles(n);
  auto faces = mb_.AddFaces(v, n_, d);
  auto tex = std::make_shared<rm::Texture>();
  for (std::size_t i = 0; i < faces.GetSize(); ++i) {
    auto f = faces.GetElement(i);
    f.SetTexture(tex);
    for (std::size_t c = 0; c < 3; ++c) {
      const rm::Vector& p = mb_.Vertices()[f.Get().corners[c].vertex];
      f.SetTextureCoordinates(c, p.x / 40, p.z / 40);
    }
  }
  MeshGeometry g = BuildMeshGeometry(mb_);
  std::size_t coarse = 0;
  for (const Batch& b : g.batches) {
    if (!b.lodCount) continue;
    ++coarse;
    ASSERT_GE(b.lodFirst, g.fullIndexCount);
    ASSERT_LE(b.lodFirst + b.lodCount, g.indices.size());
    EXPECT_LE(b.lodCount * 3, b.count * 2);  // a third saved at least
    EXPECT_GT(b.lodError, 0.0f);
    EXPECT_LT(b.lodError, 6.0f);  // no corner moved by more than the hills are high
    // Same ground, no holes and nothing twice: the areas add up to the same.
    double full = 0, lod = 0;
    std::set<std::uint32_t> kept;
    for (std::uint32_t k = b.first; k < b.first + b.count; k += 3)
      full += GroundArea(g, &g.indices[k]);
    for (std::uint32_t k = b.lodFirst; k < b.lodFirst + b.lodCount; k += 3) {
      const float a = GroundArea(g, &g.indices[k]);
      EXPECT_GT(a * full, 0.0f) << "a coarse triangle turned over";
      lod += a;
      kept.insert(g.indices.begin() + k, g.indices.begin() + k + 3);
    }
    EXPECT_NEAR(lod, full, std::fabs(full) * 1e-5);
    // Every corner on the run's edge is still there, so neighbours meet it without a crack.
    for (std::uint32_t k = b.first; k < b.first + b.count; ++k) {
      const Vec3f& p = g.opaque[g.indices[k]].pos;
      if (p.x == b.lo.x || p.x == b.hi.x || p.z == b.lo.z || p.z == b.hi.z) {
        EXPECT_TRUE(kept.count(g.indices[k])) << "edge corner " << p.x << ", " << p.z << " dropped";
      }
    }
  }
  EXPECT_GT(coarse, g.batches.size() / 2);
}

TEST_F(MeshGeometryTest, LargeMeshesAreSplitIntoBoxedChunksOfOneKeyEach) {
  // A 40 x 40 ground grid, two textures in stripes, one translucent face.
  const int n = 40;
  std::vector<rm::Vector> v;
  for (int z = 0; z <= n; ++z)
    for (int x = 0; x <= n; ++x)
      v.push_back({x * 10.0f, static_cast<float>((x * z) % 7), z * 10.0f});
  std::vector<std::uint32_t> d;
  auto at = [&](int x, int z) { return static_cast<std::uint32_t>(z * (n + 1) + x); };
  for (int z = 0; z < n; ++z)
    for (int x = 0; x < n; ++x)
      for (auto i : {at(x, z), at(x, z + 1), at(x + 1, z + 1), at(x + 1, z)}) {
        if (d.size() % 9 == 0) d.push_back(4);
        d.push_back(i);
        d.push_back(0);
      }
  d.push_back(0);
  auto faces = mb_.AddFaces(v, n_, d);
  auto a = std::make_shared<rm::Texture>(), b = std::make_shared<rm::Texture>();
  for (std::size_t i = 0; i < faces.GetSize(); ++i)
    faces.GetElement(i).SetTexture(i / 3 % 2 ? a : b);
  faces.GetElement(17).SetColor(rm::PackARGB(100, 255, 255, 255));

  MeshGeometry whole = BuildMeshGeometry(mb_, 0);
  EXPECT_EQ(whole.batches.size(), 2u);
  MeshGeometry g = BuildMeshGeometry(mb_, 100);
  // 3198 opaque triangles over 100 a chunk: a 6 x 6 grid, each cell holding both keys.
  EXPECT_EQ(g.batches.size(), 72u);
  EXPECT_EQ(g.indices.size(), whole.indices.size());
  // Each grid point becomes one vertex a run at most, however many triangles meet there.
  EXPECT_LE(whole.opaque.size(), 2u * (n + 1) * (n + 1));
  EXPECT_EQ(g.translucent.size(), 2u);
  std::uint32_t next = 0;
  std::size_t keyChanges = 0;
  for (std::size_t i = 0; i < g.batches.size(); ++i) {
    const Batch& bt = g.batches[i];
    EXPECT_EQ(bt.first, next);  // end to end, nothing lost or doubled
    next = bt.first + bt.count;
    if (i && bt.texture != g.batches[i - 1].texture) ++keyChanges;
    for (std::uint32_t k = bt.first; k < next; ++k) {
      ASSERT_LT(g.indices[k], g.opaque.size());
      const Vec3f& p = g.opaque[g.indices[k]].pos;
      EXPECT_TRUE(p.x >= bt.lo.x && p.x <= bt.hi.x && p.y >= bt.lo.y && p.y <= bt.hi.y &&
                  p.z >= bt.lo.z && p.z <= bt.hi.z)
          << "vertex " << k << " outside the box of run " << i;
    }
    EXPECT_LT(bt.hi.x - bt.lo.x, 90.0f);  // a sixth of 400 m and one cell of overlap
  }
  EXPECT_EQ(next, g.fullIndexCount);
  EXPECT_EQ(keyChanges, 1u);  // runs of one key follow each other
}

TEST_F(MeshGeometryTest, UnlitQualityIsReported) {
  mb_.SetQuality(rm::quality::kFillSolid);
  EXPECT_FALSE(BuildMeshGeometry(mb_).lit);
}

// Each smaller level is the rounded mean of the texels it covers, down to one texel;
// a side of one is never read past, an odd side's last texels fall out.
TEST(MipLevels, HalfLevelAveragesTheTexelsItCovers) {
  struct Case {
    int w, h;
    std::vector<int> red;  // the picture's red channel, rows top first
    int halfW, halfH;
    std::vector<int> halfRed;
  };
  const Case cases[] = {
      {2, 2, {0, 255, 255, 255}, 1, 1, {191}},
      {4, 2, {0, 4, 8, 8, 4, 0, 8, 9}, 2, 1, {2, 8}},
      {3, 1, {10, 20, 90}, 1, 1, {15}},
      {1, 3, {10, 20, 90}, 1, 1, {15}},
      {3, 3, {0, 0, 100, 0, 0, 100, 200, 200, 50}, 1, 1, {0}},
      {1, 1, {77}, 1, 1, {77}},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> rgba;
    for (int r : c.red) rgba.insert(rgba.end(), {static_cast<std::uint8_t>(r), 1, 2, 3});
    const std::vector<std::uint8_t> half = HalfLevel(rgba.data(), c.w, c.h);
    ASSERT_EQ(half.size(), static_cast<std::size_t>(c.halfW * c.halfH * 4)) << c.w << "x" << c.h;
    for (std::size_t i = 0; i < c.halfRed.size(); ++i) {
      EXPECT_EQ(half[i * 4], c.halfRed[i]) << c.w << "x" << c.h << " texel " << i;
      EXPECT_EQ(half[i * 4 + 3], 3) << "alpha is averaged like the colours";
    }
  }
}

}  // namespace
}  // namespace veltrane::gl
