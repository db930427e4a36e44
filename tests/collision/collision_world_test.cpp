#include "sim/collision_world.h"

#include <gtest/gtest.h>

#include "base/rm/mesh_builder.h"
#include "sim/create_world_col.h"

namespace veltrane {
namespace {

// Display geometry is y up: a horizontal square at height h has y = h.
std::vector<Vec3f> Square(float x0, float z0, float size, float h) {
  return {{x0, h, z0}, {x0 + size, h, z0}, {x0 + size, h, z0 + size}, {x0, h, z0 + size}};
}

TEST(CollisionWorld, FlatSquareAtTwelveInsideAndOutside) {
  const CollisionWorld w(CreateWorldCol({Square(0, 0, 10, 12)}));
  EXPECT_EQ(w.Model().TriangleCount(), 2u);
  EXPECT_DOUBLE_EQ(w.GroundHeightAt(5, 5), 12);
  EXPECT_DOUBLE_EQ(w.GroundHeightAt(0.1, 9.9), 12);
  EXPECT_DOUBLE_EQ(w.GroundHeightAt(15, 5), 0);
  EXPECT_DOUBLE_EQ(w.GroundHeightAt(-1, -1), 0);
  EXPECT_DOUBLE_EQ(w.GroundHeightBelow({5, 5, 13}), 12);
  EXPECT_DOUBLE_EQ(w.GroundHeightBelow({5, 5, 11}), 0);  // the square is above
}

TEST(CollisionWorld, BridgeOverTerrainSeenFromAboveAndFromBetween) {
  const CollisionWorld w(CreateWorldCol({Square(-100, -100, 200, 5), Square(-10, -3, 20, 20)}));
  EXPECT_DOUBLE_EQ(w.GroundHeightAt(0, 0), 20);
  EXPECT_DOUBLE_EQ(w.GroundHeightBelow({0, 0, 10}), 5);
  EXPECT_DOUBLE_EQ(w.GroundHeightAt(50, 50), 5);
  // Standing exactly on a surface still sees it.
  EXPECT_DOUBLE_EQ(w.GroundHeightBelow({50, 50, 5}), 5);
  // Below everything there is nothing.
  EXPECT_DOUBLE_EQ(w.GroundHeightBelow({0, 0, 1}), 0);
}

TEST(CollisionWorld, HeightKeepsFloatPrecisionOfTheVertices) {
  // The probe starts 100 km up; the height must still carry the vertices' digits.
  const CollisionWorld w(CreateWorldCol({Square(0, 0, 10, 123.456f)}));
  EXPECT_FLOAT_EQ(float(w.GroundHeightAt(3.3, 4.4)), 123.456f);
}

TEST(CreateWorldCol, FanTriangulatesInOrderAndSwapsAxes) {
  // A bent four-corner face; display (x, y, z) becomes (x, z, y).
  const std::vector<Vec3f> quad = {{0, 1, 0}, {10, 1, 0}, {10, 2, 10}, {0, 3, 10}};
  const collision::CollisionModel m = CreateWorldCol({quad});
  ASSERT_EQ(m.TriangleCount(), 2u);
  auto triangle_under = [&](float x, float y) {
    const auto hit = m.Ray({x, y, 100}, {0, 0, -1}, true, 0, 1e10f);
    EXPECT_TRUE(hit.has_value());
    return hit ? hit->triangle : collision::Triangle{};
  };
  const Vec3f v0{0, 0, 1}, v1{10, 0, 1}, v2{10, 10, 2}, v3{0, 10, 3};
  const collision::Triangle first = triangle_under(7, 3);  // (0, 1, 2)
  EXPECT_EQ(first.a, v0);
  EXPECT_EQ(first.b, v1);
  EXPECT_EQ(first.c, v2);
  const collision::Triangle second = triangle_under(3, 7);  // (0, 2, 3)
  EXPECT_EQ(second.a, v0);
  EXPECT_EQ(second.b, v2);
  EXPECT_EQ(second.c, v3);
}

TEST(CreateWorldCol, ShortFacesAddNothingAndPentagonsMakeThree) {
  collision::CollisionModel m;
  AddFaceFan(m, std::vector<Vec3f>{});
  AddFaceFan(m, std::vector<Vec3f>{{0, 0, 0}});
  AddFaceFan(m, std::vector<Vec3f>{{0, 0, 0}, {1, 0, 0}});
  EXPECT_EQ(m.TriangleCount(), 0u);
  AddFaceFan(m, std::vector<Vec3f>{{0, 0, 0}, {1, 0, 0}, {2, 0, 1}, {1, 0, 2}, {0, 0, 1}});
  EXPECT_EQ(m.TriangleCount(), 3u);
  // An empty landscape is a world where every height is 0.
  const CollisionWorld w(CreateWorldCol(std::vector<std::vector<Vec3f>>{}));
  EXPECT_DOUBLE_EQ(w.GroundHeightAt(1, 2), 0);
  EXPECT_FALSE(w.SphereCollision({0, 0, 0}, 1000));
  World::RayHit hit;
  EXPECT_FALSE(w.ContactRay({0, 0, 1}, {0, 0, -2}, hit));
}

TEST(CollisionWorld, ContactRayReportsTriangleAndPointWithinTheOffset) {
  const CollisionWorld w(CreateWorldCol({Square(0, 0, 10, 2)}));
  World::RayHit hit;
  // The offset reaches 0.5 below the surface: hit at its crossing.
  ASSERT_TRUE(w.ContactRay({4, 3, 2.5}, {0, 0, -1}, hit));
  EXPECT_DOUBLE_EQ(hit.point.z, 2);
  EXPECT_DOUBLE_EQ(hit.point.x, 4);
  EXPECT_DOUBLE_EQ(hit.point.y, 3);
  EXPECT_EQ(hit.a, (Vec3{0, 0, 2}));
  EXPECT_EQ(hit.b, (Vec3{10, 0, 2}));
  EXPECT_EQ(hit.c, (Vec3{10, 10, 2}));
  // Offset ends above the surface: no contact.
  EXPECT_FALSE(w.ContactRay({3, 4, 3.5}, {0, 0, -1}, hit));
}

TEST(CollisionWorld, SphereObstacleTest) {
  // A wall: a vertical face in the display's x-y plane becomes x-z in the simulation.
  const std::vector<Vec3f> wall = {{0, 0, 50}, {10, 0, 50}, {10, 10, 50}, {0, 10, 50}};
  const CollisionWorld w(CreateWorldCol({wall}));
  EXPECT_TRUE(w.SphereCollision({5, 49.5, 5}, 0.6));
  EXPECT_FALSE(w.SphereCollision({5, 49.0, 5}, 0.6));
  EXPECT_FALSE(w.SphereCollision({5, 50, 15}, 0.6));
}

TEST(CreateWorldCol, WalksTheFacesOfAMeshBuilder) {
  // A quad at display height 4 and a triangle at 9, sharing the vertex list.
  rm::MeshBuilder mesh;
  const rm::Vector v[] = {{0, 4, 0},  {10, 4, 0}, {10, 4, 10}, {0, 4, 10},
                          {20, 9, 0}, {30, 9, 0}, {20, 9, 10}};
  const rm::Vector n[] = {{0, 1, 0}};
  const std::uint32_t data[] = {4, 0, 0, 1, 0, 2, 0, 3, 0, 3, 4, 0, 5, 0, 6, 0, 0};
  mesh.AddFaces(v, n, data);
  ASSERT_EQ(mesh.FaceCount(), 2u);
  const CollisionWorld w(CreateWorldCol(mesh));
  EXPECT_EQ(w.Model().TriangleCount(), 3u);
  EXPECT_DOUBLE_EQ(w.GroundHeightAt(5, 5), 4);
  EXPECT_DOUBLE_EQ(w.GroundHeightAt(21, 1), 9);
  EXPECT_DOUBLE_EQ(w.GroundHeightAt(29, 9), 0);
}

}  // namespace
}  // namespace veltrane
