#include "app/windsock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "sim/math_u.h"

namespace veltrane {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

TEST(Windsock, PointsDownwindAndRisesWithTheLevelWindAlone) {
  struct Case {
    Vec3 air;
    Vec3 heading;        // before
    double wantBearing;  // degrees from +x toward +y of the sock's level part
    double wantDroop;    // degrees below level
  };
  const Case cases[] = {
      {{0, 0, 0}, {0, 1, 0}, 90.0, 80.0},  // still: hangs where it last pointed
      {{0, 0, 0}, {-1, 0, 0}, 180.0, 80.0},
      {{0, 0, 3}, {1, 0, 0}, 0.0, 80.0},      // rising air alone does not fill it
      {{8, 0, 0}, {0, 1, 0}, 0.0, 0.0},       // from 270°: blows toward +x, full
      {{0, -20, 0}, {1, 0, 0}, -90.0, 0.0},   // from 0°: toward -y, beyond full
      {{-2, 0, -1}, {0, 1, 0}, 180.0, 60.0},  // a quarter of full: 3/4 of the droop
      {{3, 3, 0}, {0, 1, 0}, 45.0, 80.0 * (1 - std::sqrt(18.0) / 8.0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.air.x << "," << c.air.y << "," << c.air.z);
    Vec3 heading = c.heading;
    const Vec3 axis = SockAxis(c.air, heading);
    EXPECT_NEAR(VecLength(axis), 1.0, 1e-12);
    EXPECT_NEAR(std::asin(-axis.z) / kDegree, c.wantDroop, 1e-9);
    EXPECT_NEAR(std::atan2(axis.y, axis.x) / kDegree, c.wantBearing, 1e-9);
    EXPECT_NEAR(std::atan2(heading.y, heading.x) / kDegree, c.wantBearing, 1e-9)
        << "heading kept for still air";
  }
}

TEST(Windsock, PoleStandsOnItsFootAndTheSockSwingsAtItsTop) {
  rm::Root root;
  auto scene = root.CreateFrame(nullptr);
  auto world = root.CreateFrame(scene);
  Windsock sock(root, world, {100.0, 200.0, 12.0});
  ASSERT_EQ(world->Children().size(), 2u);
  EXPECT_EQ(sock.Top(), (Vec3{100.0, 200.0, 17.0}));

  const auto& poleMesh =
      std::get<std::shared_ptr<rm::MeshBuilder>>(sock.PoleFrame().Visuals().at(0));
  const rm::Box pole = poleMesh->GetBox();
  EXPECT_FLOAT_EQ(pole.min.y, 0.0f);
  EXPECT_FLOAT_EQ(pole.max.y, static_cast<float>(Windsock::kPoleHeight));
  EXPECT_EQ(sock.PoleFrame().Position().x, 100.0f);
  EXPECT_EQ(sock.PoleFrame().Position().y, 12.0f);  // layer y is up
  EXPECT_EQ(sock.PoleFrame().Position().z, 200.0f);

  // Red and white stripes, each face from both sides.
  const auto& sockMesh =
      std::get<std::shared_ptr<rm::MeshBuilder>>(sock.SockFrame().Visuals().at(0));
  int red = 0, white = 0;
  for (const rm::Face& f : sockMesh->Faces())
    (rm::RedOf(f.color) > 200 && rm::GreenOf(f.color) < 100 ? red : white)++;
  EXPECT_EQ(red, 3 * 8 * 2);
  EXPECT_EQ(white, 2 * 8 * 2);

  // Wind from 90° (from +x) at 8 m/s: level toward -x, the mouth's rim at the pole.
  sock.Show({-8.0, 0.0, 0.0});
  const rm::Vector d = sock.SockFrame().Direction();
  EXPECT_NEAR(d.x, -1.0f, 1e-6f);
  EXPECT_NEAR(d.y, 0.0f, 1e-6f);
  const rm::Vector mouth = sock.SockFrame().Position();
  EXPECT_NEAR(mouth.x, 100.0f - Windsock::kMouthRadius, 1e-4f);
  EXPECT_NEAR(mouth.y, 17.0f, 1e-4f);
  EXPECT_NEAR(mouth.z, 200.0f, 1e-4f);
  // The tail, the mesh's far end, lies downwind in the scene.
  const rm::Vector tail =
      sock.SockFrame().ToScene({0.0f, 0.0f, static_cast<float>(Windsock::kLength)});
  EXPECT_NEAR(tail.x, mouth.x - Windsock::kLength, 1e-4f);
}

}  // namespace
}  // namespace veltrane
