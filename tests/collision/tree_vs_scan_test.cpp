#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "base/collision/aabb_tree.h"
#include "base/collision/query.h"

namespace veltrane::collision {
namespace {

// The tree must give exactly what a look at every triangle gives.
class TreeVsScan : public ::testing::Test {
 protected:
  std::mt19937 rng{12345};
  float U(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }
  Vec3f RandomPoint(float lo, float hi) { return {U(lo, hi), U(lo, hi), U(lo, hi)}; }

  std::vector<Triangle> RandomSoup(int n, float world, float size) {
    std::vector<Triangle> tris;
    for (int i = 0; i < n; ++i) {
      const Vec3f c = RandomPoint(0, world);
      auto corner = [&] {
        return Vec3f{c.x + U(-size, size), c.y + U(-size, size), c.z + U(-size, size)};
      };
      tris.push_back({corner(), corner(), corner()});
    }
    return tris;
  }

  void Compare(const std::vector<Triangle>& tris, int rays, int spheres, float world,
               float max_radius_share = 0.1f) {
    const AabbTree tree(tris);
    int ray_hits = 0, sphere_hits = 0;
    for (int i = 0; i < rays; ++i) {
      Ray r;
      r.origin = ToPoint(RandomPoint(-0.2f * world, 1.2f * world));
      r.direction = ToPoint(RandomPoint(-1, 1));
      r.tmin = U(-5, 5);
      r.tmax = r.tmin + U(0, 3 * world);
      for (bool closest : {true, false}) {
        QueryHit a, b;
        const bool ha = ScanRay(tris, r, closest, a);
        const bool hb = tree.CastRay(r, closest, b);
        ASSERT_EQ(ha, hb) << "ray " << i << " closest " << closest;
        if (!ha) continue;
        if (closest) {
          ++ray_hits;
          EXPECT_EQ(a.triangle, b.triangle) << "ray " << i;
          EXPECT_NEAR(a.point.x, b.point.x, 1e-4);
          EXPECT_NEAR(a.point.y, b.point.y, 1e-4);
          EXPECT_NEAR(a.point.z, b.point.z, 1e-4);
        } else {
          // Any hit is fine, but it has to be a real one within the segment.
          RayTriangleHit h;
          EXPECT_TRUE(IntersectRayTriangle(r, tris[b.triangle], h));
          EXPECT_GE(b.t, r.tmin);
          EXPECT_LE(b.t, r.tmax);
        }
      }
    }
    for (int i = 0; i < spheres; ++i) {
      const Vec3 c = ToPoint(RandomPoint(-0.1f * world, 1.1f * world));
      const double radius = U(0, max_radius_share * world);
      QueryHit a, b;
      const bool ha = ScanSphere(tris, c, radius, a);
      const bool hb = tree.TouchSphere(c, radius, b);
      ASSERT_EQ(ha, hb) << "sphere " << i;
      if (!hb) continue;
      ++sphere_hits;
      Vec3 q;
      EXPECT_LE(ClosestPointOnTriangle(c, tris[b.triangle], q), radius * radius);
    }
    // The comparison only means something if both outcomes occur often.
    EXPECT_GT(ray_hits, rays / 20);
    EXPECT_LT(ray_hits, rays);
    EXPECT_GT(sphere_hits, spheres / 20);
    EXPECT_LT(sphere_hits, spheres);
  }
};

TEST_F(TreeVsScan, RandomTriangleSoup) {
  const auto tris = RandomSoup(4000, 100, 6);
  Compare(tris, 3000, 3000, 100);
}

TEST_F(TreeVsScan, SmallSoupsAndSingleTriangle) {
  for (int n : {1, 2, 3, 9, 17}) Compare(RandomSoup(n, 10, 8), 400, 400, 10, 0.4f);
}

TEST_F(TreeVsScan, TerrainGridWithVerticalProbes) {
  // A bumpy heightfield: vertical probes from far above always hit, and the
  // tree agrees on triangle and height.
  const int n = 60;
  auto h = [](int i, int j) { return float(3 * std::sin(i * 0.3) + 2 * std::cos(j * 0.2)); };
  std::vector<Triangle> tris;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const Vec3f a{float(i), float(j), h(i, j)}, b{float(i + 1), float(j), h(i + 1, j)},
          c{float(i + 1), float(j + 1), h(i + 1, j + 1)}, d{float(i), float(j + 1), h(i, j + 1)};
      tris.push_back({a, b, c});
      tris.push_back({a, c, d});
    }
  const AabbTree tree(tris);
  for (int k = 0; k < 3000; ++k) {
    Ray r{{U(0, n), U(0, n), 100000.0}, {0, 0, -1}, 0, 1e10};
    // Every tenth probe exactly over a grid vertex or edge.
    if (k % 10 == 0) r.origin.x = std::floor(r.origin.x);
    if (k % 20 == 0) r.origin.y = std::floor(r.origin.y);
    QueryHit a, b;
    ASSERT_TRUE(ScanRay(tris, r, true, a));
    ASSERT_TRUE(tree.CastRay(r, true, b)) << k;
    EXPECT_EQ(a.triangle, b.triangle);
    EXPECT_NEAR(a.point.z, b.point.z, 1e-5);
  }
  Compare(tris, 1000, 1000, float(n));
}

TEST_F(TreeVsScan, StackedDuplicatesAndIdenticalCentresTieToLowestIndex) {
  // Many copies of the same triangle cannot be split apart; the closest hit
  // among equals is the first one added, as the scan says.
  std::vector<Triangle> tris;
  for (int i = 0; i < 300; ++i) tris.push_back({{0, 0, 1}, {4, 0, 1}, {0, 4, 1}});
  for (int i = 0; i < 50; ++i) tris.push_back({{0, 0, 0}, {4, 0, 0}, {0, 4, 0}});
  const AabbTree tree(tris);
  const Ray r{{1, 1, 5}, {0, 0, -1}, 0, 100};
  QueryHit a, b;
  ASSERT_TRUE(ScanRay(tris, r, true, a));
  ASSERT_TRUE(tree.CastRay(r, true, b));
  EXPECT_EQ(a.triangle, 0u);
  EXPECT_EQ(b.triangle, 0u);
  const Ray up{{1, 1, -5}, {0, 0, 1}, 0, 100};
  ASSERT_TRUE(tree.CastRay(up, true, b));
  EXPECT_EQ(b.triangle, 300u);
}

TEST_F(TreeVsScan, TreeStaysShallowOnLargeMeshes) {
  const auto tris = RandomSoup(50000, 1000, 3);
  const AabbTree tree(tris);
  EXPECT_EQ(tree.TriangleCount(), tris.size());
  EXPECT_LT(tree.Depth(), 40);
  EXPECT_LT(tree.NodeCount(), 2 * tris.size());
}

}  // namespace
}  // namespace veltrane::collision
