#include "base/collision/collision_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace veltrane::collision {
namespace {

const float kDown[3] = {0, 0, -1};

// Square [0,10]^2 at height h as two triangles.
void AddSquare(CollisionModel& m, float h) {
  const float a[3] = {0, 0, h}, b[3] = {10, 0, h}, c[3] = {10, 10, h}, d[3] = {0, 10, h};
  m.addTriangle(a, b, c);
  m.addTriangle(a, c, d);
}

TEST(CollisionModel, RayFindsClosestHitAndReportsTriangleAndPoint) {
  for (bool finalized : {false, true}) {
    CollisionModel m;
    AddSquare(m, 12);
    AddSquare(m, 3);
    if (finalized) m.finalize();
    const float o[3] = {2, 7, 50};
    ASSERT_TRUE(m.rayCollision(o, kDown, true, 0, 1e10f));
    float p[3] = {-1, -1, -1};
    ASSERT_TRUE(m.getCollisionPoint(p, true));
    EXPECT_FLOAT_EQ(p[0], 2);
    EXPECT_FLOAT_EQ(p[1], 7);
    EXPECT_FLOAT_EQ(p[2], 12);
    float tri[9], other[9] = {42};
    ASSERT_TRUE(m.getCollidingTriangles(tri, other, true));
    // (2, 7) lies in the second triangle (a, c, d) of the upper square.
    const float want[9] = {0, 0, 12, 10, 10, 12, 0, 10, 12};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(tri[i], want[i]) << i;
    EXPECT_EQ(other[0], 42);

    // Starting between the two squares only the lower one is below.
    const float mid[3] = {2, 7, 8};
    ASSERT_TRUE(m.rayCollision(mid, kDown, true, 0, 1e10f));
    m.getCollisionPoint(p, true);
    EXPECT_FLOAT_EQ(p[2], 3);
  }
}

TEST(CollisionModel, SegmentBoundsAndBothSidesCount) {
  CollisionModel m;
  AddSquare(m, 0);
  m.finalize();
  const float o[3] = {5, 5, 1};
  EXPECT_TRUE(m.rayCollision(o, kDown, true, 0, 1));
  EXPECT_FALSE(m.rayCollision(o, kDown, true, 0, 0.99f));
  EXPECT_FALSE(m.rayCollision(o, kDown, true, 1.01f, 5));
  // An unnormalised direction: t counts in units of its length.
  const float half[3] = {0, 0, -0.5f};
  EXPECT_FALSE(m.rayCollision(o, half, true, 0, 1.9f));
  EXPECT_TRUE(m.rayCollision(o, half, true, 0, 2.0f));
  // From below, pointing up: faces are two-sided.
  const float below[3] = {5, 5, -1}, up[3] = {0, 0, 1};
  EXPECT_TRUE(m.rayCollision(below, up, true, 0, 10));
  // Pointing away, and parallel inside the plane: nothing.
  EXPECT_FALSE(m.rayCollision(o, up, true, 0, 10));
  const float in_plane[3] = {5, 5, 0}, along[3] = {1, 0, 0};
  EXPECT_FALSE(m.rayCollision(in_plane, along, true, 0, 10));
}

TEST(CollisionModel, AnyHitModeStillFindsAHit) {
  CollisionModel m;
  for (int i = 0; i < 20; ++i) AddSquare(m, float(i));
  m.finalize();
  const float o[3] = {5, 5, 100};
  ASSERT_TRUE(m.rayCollision(o, kDown, false, 0, 1e10f));
  float p[3];
  m.getCollisionPoint(p, true);
  EXPECT_GE(p[2], 0);
  EXPECT_LE(p[2], 19);
  EXPECT_EQ(std::fmod(p[2], 1.0f), 0.0f);
}

TEST(CollisionModel, ResultGettersLeaveBuffersAloneAfterAMissAndBeforeAnyQuery) {
  CollisionModel m;
  AddSquare(m, 5);
  m.finalize();
  float p[3] = {7, 8, 9}, tri[9] = {1, 2, 3};
  EXPECT_FALSE(m.getCollisionPoint(p, true));
  EXPECT_FALSE(m.getCollidingTriangles(tri, tri, true));
  const float hit_origin[3] = {5, 5, 10}, miss_origin[3] = {50, 5, 10};
  ASSERT_TRUE(m.rayCollision(hit_origin, kDown, true, 0, 100));
  // The miss forgets the earlier hit.
  ASSERT_FALSE(m.rayCollision(miss_origin, kDown, true, 0, 100));
  EXPECT_FALSE(m.getCollisionPoint(p, true));
  EXPECT_EQ(p[0], 7);
  EXPECT_EQ(p[2], 9);
  EXPECT_FALSE(m.getCollidingTriangles(tri, tri, true));
  EXPECT_EQ(tri[0], 1);
}

TEST(CollisionModel, SphereTouchesFacesEdgesAndCorners) {
  CollisionModel m;
  AddSquare(m, 0);
  m.finalize();
  const float above[3] = {5, 5, 1};
  EXPECT_TRUE(m.sphereCollision(above, 1.0f));
  EXPECT_FALSE(m.sphereCollision(above, 0.99f));
  float p[3];
  ASSERT_TRUE(m.sphereCollision(above, 2.0f));
  ASSERT_TRUE(m.getCollisionPoint(p, true));
  EXPECT_FLOAT_EQ(p[2], 0);  // nearest point of the face
  // Beside an edge and off a corner, where the face's plane alone would mislead.
  const float off_edge[3] = {11, 5, 0}, off_corner[3] = {11, 11, 1};
  EXPECT_TRUE(m.sphereCollision(off_edge, 1.0f));
  EXPECT_FALSE(m.sphereCollision(off_edge, 0.9f));
  EXPECT_FALSE(m.sphereCollision(off_corner, 1.7f));
  EXPECT_TRUE(m.sphereCollision(off_corner, 1.74f));
  // Nonsense radii find nothing.
  EXPECT_FALSE(m.sphereCollision(above, -5.0f));
  EXPECT_FALSE(m.sphereCollision(above, std::numeric_limits<float>::quiet_NaN()));
}

TEST(CollisionModel, EmptyAndUnfinalisedModelsAnswerSafely) {
  CollisionModel empty;
  const float o[3] = {0, 0, 10};
  EXPECT_FALSE(empty.rayCollision(o, kDown, true, 0, 1e10f));
  EXPECT_FALSE(empty.sphereCollision(o, 100));
  empty.finalize();
  EXPECT_TRUE(empty.IsFinalized());
  EXPECT_FALSE(empty.rayCollision(o, kDown, true, 0, 1e10f));
  EXPECT_FALSE(empty.sphereCollision(o, 100));

  // Queries before finalize scan; a triangle added after finalize is seen too.
  CollisionModel m;
  AddSquare(m, 4);
  const float in[3] = {5, 5, 10};
  EXPECT_TRUE(m.rayCollision(in, kDown, true, 0, 1e10f));
  m.finalize();
  const std::size_t before = m.TriangleCount();
  const float a[3] = {20, 0, 6}, b[3] = {30, 0, 6}, c[3] = {20, 10, 6};
  m.addTriangle(a, b, c);
  EXPECT_FALSE(m.IsFinalized());
  EXPECT_EQ(m.TriangleCount(), before + 1);
  EXPECT_TRUE(m.rayCollision(in, kDown, true, 0, 1e10f))
      << "the finalised triangles are scanned again";
  const float far[3] = {21, 1, 10};
  ASSERT_TRUE(m.rayCollision(far, kDown, true, 0, 1e10f));
  float p[3];
  m.getCollisionPoint(p, true);
  EXPECT_FLOAT_EQ(p[2], 6);
  m.finalize();
  EXPECT_TRUE(m.rayCollision(far, kDown, true, 0, 1e10f));
  EXPECT_TRUE(m.rayCollision(in, kDown, true, 0, 1e10f));
}

TEST(CollisionModel, DegenerateAndNonFiniteTrianglesAreHarmless) {
  CollisionModel m;
  const float p0[3] = {0, 0, 0}, p1[3] = {10, 0, 0}, p2[3] = {20, 0, 0};
  m.addTriangle(p0, p1, p2);  // collinear
  m.addTriangle(p1, p1, p1);  // a point
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const float bad1[3] = {nan, 0, 0}, bad2[3] = {0, inf, 0};
  EXPECT_FALSE(m.addTriangle(bad1, p1, p2));
  EXPECT_FALSE(m.addTriangle(p0, bad2, p2));
  EXPECT_EQ(m.TriangleCount(), 2u);
  for (bool finalized : {false, true}) {
    if (finalized) m.finalize();
    // No area: a ray cannot hit it, not even straight through the segment.
    const float o[3] = {5, 0, 1};
    EXPECT_FALSE(m.rayCollision(o, kDown, true, 0, 10));
    // But a sphere does touch the segment and the point.
    EXPECT_TRUE(m.sphereCollision(o, 1.0f));
    EXPECT_FALSE(m.sphereCollision(o, 0.9f));
    const float near_point[3] = {10, 0.5f, 0};
    EXPECT_TRUE(m.sphereCollision(near_point, 0.5f));
    // Non-finite query inputs find nothing instead of faulting.
    const float bad_origin[3] = {nan, 0, 1};
    EXPECT_FALSE(m.rayCollision(bad_origin, kDown, true, 0, 10));
    EXPECT_FALSE(m.sphereCollision(bad_origin, 100));
    const float zero_dir[3] = {0, 0, 0};
    EXPECT_FALSE(m.rayCollision(o, zero_dir, true, 0, 10));
  }
}

TEST(CollisionModel, RayThroughSharedEdgesAndVerticesOfAGridIsNeverLost) {
  // A 4 x 4 cell grid at height 2: a vertical ray through any vertex or edge,
  // where float rounding could let it slip between the triangles, must hit.
  CollisionModel m;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      const float a[3] = {float(i), float(j), 2}, b[3] = {float(i + 1), float(j), 2},
                  c[3] = {float(i + 1), float(j + 1), 2}, d[3] = {float(i), float(j + 1), 2};
      m.addTriangle(a, b, c);
      m.addTriangle(a, c, d);
    }
  m.finalize();
  for (int i = 0; i <= 8; ++i)
    for (int j = 0; j <= 8; ++j) {
      const float o[3] = {i * 0.5f, j * 0.5f, 100000.0f};
      EXPECT_TRUE(m.rayCollision(o, kDown, true, 0, 1e10f)) << i << "," << j;
      float p[3] = {0, 0, 0};
      m.getCollisionPoint(p, true);
      EXPECT_FLOAT_EQ(p[2], 2) << i << "," << j;
    }
}

}  // namespace
}  // namespace veltrane::collision
