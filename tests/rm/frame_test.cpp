#include "base/rm/frame.h"

#include <gtest/gtest.h>

#include "base/rm/root.h"

namespace veltrane::rm {
namespace {

void ExpectNear(Vector a, Vector b, float eps = 1e-6f) {
  EXPECT_NEAR(a.x, b.x, eps);
  EXPECT_NEAR(a.y, b.y, eps);
  EXPECT_NEAR(a.z, b.z, eps);
}

TEST(Frame, CreatedWithIdentityPlacementUnderItsParent) {
  Root root;
  auto scene = root.CreateFrame(nullptr);
  auto child = root.CreateFrame(scene);
  EXPECT_EQ(child->Parent(), scene);
  ASSERT_EQ(scene->Children().size(), 1u);
  EXPECT_EQ(scene->Children()[0], child);
  EXPECT_EQ(child->Position(), (Vector{0, 0, 0}));
  EXPECT_EQ(child->Direction(), (Vector{0, 0, 1}));
  EXPECT_EQ(child->Up(), (Vector{0, 1, 0}));
  ExpectNear(child->Right(), {1, 0, 0});  // left-handed: x = up x direction

  scene->DeleteChild(child);
  EXPECT_TRUE(scene->Children().empty());
  EXPECT_EQ(child->Parent(), nullptr);
}

TEST(Frame, OrientationIsOrthonormalised) {
  Frame f;
  f.SetOrientation({0, -0.2f, 1}, {0, 1, 0});  // the pilot's camera
  const Vector d = f.Direction(), u = f.Up(), r = f.Right();
  EXPECT_NEAR(d.x * d.x + d.y * d.y + d.z * d.z, 1, 1e-6);
  EXPECT_NEAR(u.x * d.x + u.y * d.y + u.z * d.z, 0, 1e-6);
  EXPECT_NEAR(r.x, 1, 1e-6);
  EXPECT_GT(u.y, 0.9f);
}

TEST(Frame, ModelFacingBackwardsMirrorsXAndZ) {
  Frame f;
  f.SetPosition({10, 2, 3});
  f.SetOrientation({0, 0, -1}, {0, 1, 0});
  ExpectNear(f.Right(), {-1, 0, 0});
  ExpectNear(f.ToScene({1, 2, 3}), {9, 4, 0});
}

TEST(Frame, DegenerateOrientationKeepsThePreviousOne) {
  Frame f;
  f.SetOrientation({1, 0, 0}, {0, 1, 0});
  f.SetOrientation({0, 0, 0}, {0, 1, 0});
  f.SetOrientation({0, 1, 0}, {0, 2, 0});  // up along direction
  ExpectNear(f.Direction(), {1, 0, 0});
  ExpectNear(f.Up(), {0, 1, 0});
}

TEST(Frame, VisualsAndLightsAreAddedOnceAndRemoved) {
  Root root;
  auto frame = root.CreateFrame(nullptr);
  auto mesh = root.CreateMeshBuilder();
  auto light = root.CreateLight(LightType::ParallelPoint, 1, 1, 1);
  auto shadow = root.CreateShadow(mesh, light, {0, 0, 0}, {0, 1, 0});
  frame->AddVisual(mesh);
  frame->AddVisual(mesh);
  frame->AddVisual(shadow);
  frame->AddLight(light);
  frame->AddLight(light);
  EXPECT_EQ(frame->Visuals().size(), 2u);
  EXPECT_EQ(frame->Lights().size(), 1u);
  frame->DeleteVisual(mesh);
  ASSERT_EQ(frame->Visuals().size(), 1u);
  EXPECT_EQ(std::get<std::shared_ptr<Shadow>>(frame->Visuals()[0]), shadow);
  EXPECT_EQ(shadow->visual, mesh);
  EXPECT_EQ(shadow->light, light);
}

}  // namespace
}  // namespace veltrane::rm
