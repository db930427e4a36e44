#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "gl_test_context.h"
#include "ground_grid.h"

namespace veltrane::test {
namespace {

using rm::PackARGB;

class RendererTest : public GlSceneTest {
 protected:
  void AmbientOnly(float level = 1.0f) {
    scene_->AddLight(root_.CreateLight(rm::LightType::Ambient, level, level, level));
  }
  // A parallel light on its own frame at `pos`, shining toward the origin.
  void ParallelFrom(rm::Vector pos, float level = 1.0f) {
    auto f = root_.CreateFrame(scene_);
    f->SetPosition(pos);
    auto l = root_.CreateLight(rm::LightType::ParallelPoint, level, level, level);
    scene_->AddLight(l);
    f->AddLight(l);
  }
  std::shared_ptr<rm::Texture> MakeTexture(int w, int h, std::vector<std::uint8_t> rgba) {
    auto t = std::make_shared<rm::Texture>();
    t->picture.width = w;
    t->picture.height = h;
    t->picture.pixels = std::move(rgba);
    return t;
  }
};

TEST_F(RendererTest, FaceInFrontShowsItsColourAndBackgroundAround) {
  AmbientOnly();
  world_->AddVisual(Quad(0, 0, 10, 4, PackARGB(255, 255, 0, 0)));
  Shot s = Render();
  s.Save("red_face");
  Rgb c = s.Centre();
  EXPECT_GT(c.r, 240);
  EXPECT_LT(c.g, 10);
  EXPECT_LT(c.b, 10);
  Rgb corner = s.At(2, 2);
  EXPECT_LT(corner.r, 10);
  EXPECT_GT(corner.b, 240);
}

TEST_F(RendererTest, FacesSeenFromBehindAreCulled) {
  AmbientOnly();
  // Same square with its corners anticlockwise from the camera.
  std::vector<rm::Vector> v = {{-2, 2, 10}, {-2, -2, 10}, {2, -2, 10}, {2, 2, 10}};
  std::vector<rm::Vector> n = {{0, 0, 1}};
  std::vector<std::uint32_t> d = {4, 0, 0, 1, 0, 2, 0, 3, 0, 0};
  auto mb = root_.CreateMeshBuilder();
  mb->AddFaces(v, n, d).GetElement(0).SetColor(PackARGB(255, 255, 0, 0));
  world_->AddVisual(mb);
  Rgb c = Render().Centre();
  EXPECT_LT(c.r, 10);
  EXPECT_GT(c.b, 240);
}

TEST_F(RendererTest, UnlitSceneIsBlackAndLightingFollowsTheAngle) {
  world_->AddVisual(Quad(0, 0, 10, 4, PackARGB(255, 255, 255, 255)));
  EXPECT_LT(Render().Centre().r, 10) << "no light: a lit face is black";

  // Light from behind the camera hits the face square on.
  ParallelFrom({0, 0, -1000});
  Rgb square = Render().Centre();
  EXPECT_GT(square.r, 240);

  // The same face turned 60 degrees away from the light gets cos 60 = half.
  world_->SetOrientation({0.8660254f, 0, 0.5f}, {0, 1, 0});
  world_->SetPosition({-8.66f, 0, 5});  // keeps the square in front of the camera
  Shot turned = Render();
  turned.Save("turned_face");
  Rgb t = turned.Centre();
  EXPECT_NEAR(t.r, 128, 12);
}

TEST_F(RendererTest, SmoothQualityInterpolatesVertexNormalsFlatDoesNot) {
  ParallelFrom({0, 0, -1000});
  // One square whose left corners' normals face the light and right corners'
  // normals face sideways.
  std::vector<rm::Vector> v = {{-2, 2, 10}, {2, 2, 10}, {2, -2, 10}, {-2, -2, 10}};
  std::vector<rm::Vector> n = {{0, 0, -1}, {1, 0, 0}};
  std::vector<std::uint32_t> d = {4, 0, 0, 1, 1, 2, 1, 3, 0, 0};
  auto mb = root_.CreateMeshBuilder();
  mb->AddFaces(v, n, d).GetElement(0).SetColor(PackARGB(255, 255, 255, 255));
  world_->AddVisual(mb);
  mb->SetQuality(rm::quality::kSolidLitFlat);
  Shot flat = Render();
  mb->SetQuality(rm::quality::kSolidLitPhong);
  Shot smooth = Render();
  smooth.Save("smooth");
  // Flat: one face normal toward the light, evenly bright.
  EXPECT_NEAR(flat.At(60, 60).r, flat.At(100, 60).r, 3);
  EXPECT_GT(flat.At(100, 60).r, 240);
  // Smooth: darker toward the right.
  EXPECT_GT(smooth.At(60, 60).r, smooth.At(100, 60).r + 30);
}

TEST_F(RendererTest, EmissiveAndSpecularMaterialsAddLight) {
  auto quad = Quad(0, 0, 10, 4, PackARGB(255, 0, 0, 0));  // black face
  world_->AddVisual(quad);
  auto glow = root_.CreateMaterial(0);
  glow->SetEmissive(0, 1, 0);
  quad->SetFaceMaterial(0, glow);
  Rgb c = Render().Centre();
  EXPECT_GT(c.g, 240);
  EXPECT_LT(c.r, 10);

  // A shiny material lights a black face where the light reflects into the eye.
  ParallelFrom({0, 0, -1000});
  auto shiny = root_.CreateMaterial(20);
  shiny->SetSpecular(1, 1, 1);
  quad->SetFaceMaterial(0, shiny);
  Rgb s = Render().Centre();
  EXPECT_GT(s.r, 200);
}

TEST_F(RendererTest, LightingSaturatesAtWhiteBeforeTheTextureModulates) {
  // Lights adding up to more than 1 and a fully emissive material (the sky dome's)
  // both end at the texture's own colour, never brighter and never white.
  AmbientOnly(0.8f);
  ParallelFrom({0, 0, -1000}, 0.8f);
  auto quad = Quad(0, 0, 10, 4, PackARGB(255, 255, 255, 255));
  quad->SetFaceTexture(0, MakeTexture(1, 1, {60, 100, 200, 255}));
  world_->AddVisual(quad);
  Rgb lit = Render().Centre();
  EXPECT_NEAR(lit.r, 60, 6);
  EXPECT_NEAR(lit.g, 100, 6);
  EXPECT_NEAR(lit.b, 200, 6);
  auto sky = root_.CreateMaterial(0);
  sky->SetEmissive(1, 1, 1);
  quad->SetFaceMaterial(0, sky);
  Rgb glowing = Render().Centre();
  EXPECT_NEAR(glowing.r, 60, 6);
  EXPECT_NEAR(glowing.b, 200, 6);
}

TEST_F(RendererTest, LinearFogTintsDistantFacesOnly) {
  AmbientOnly();
  scene_->SetSceneFogEnable(true);
  scene_->SetSceneFogColor({0, 1, 0});
  scene_->SetSceneFogParams(5, 500, 0.5f);
  world_->AddVisual(Quad(-4, 0, 10, 4, PackARGB(255, 255, 0, 0)));      // left, near
  world_->AddVisual(Quad(180, 0, 450, 200, PackARGB(255, 255, 0, 0)));  // right, far
  Shot s = Render();
  s.Save("fog");
  Rgb nearPx = s.At(40, 60);
  Rgb farPx = s.At(140, 60);
  EXPECT_GT(nearPx.r, 240);
  EXPECT_LT(nearPx.g, 20);
  // At 450 of 5..500 the face keeps about a tenth of its own colour.
  EXPECT_GT(farPx.g, 200);
  EXPECT_LT(farPx.r, 50);

  scene_->SetSceneFogEnable(false);
  EXPECT_GT(Render().At(140, 60).r, 240);
}

TEST_F(RendererTest, DecalTransparencyShowsBackgroundThroughBlackTexels) {
  AmbientOnly();
  auto quad = Quad(0, 0, 10, 8, PackARGB(255, 255, 255, 255));
  // Left texel black, right texel white.
  auto tex = MakeTexture(2, 1, {0, 0, 0, 255, 255, 255, 255, 255});
  quad->SetFaceTexture(0, tex);
  world_->AddVisual(quad);
  Rgb left = Render().At(70, 60);
  EXPECT_LT(left.r, 10) << "without decal transparency the black texel is drawn";
  EXPECT_LT(left.b, 10);

  tex->SetDecalTransparency(true);
  for (auto q : {rm::TextureQuality::Nearest, rm::TextureQuality::Linear}) {
    device_.SetTextureQuality(q);
    Shot s = Render();
    s.Save("decal");
    EXPECT_GT(s.At(70, 60).b, 240) << "background shows through";
    // Between the texel centres: filtering must not pull the black hole colour in.
    Rgb right = s.At(100, 60);
    EXPECT_GT(right.r, 240);
    EXPECT_GT(right.g, 240);
  }
}

TEST_F(RendererTest, TextureIsModulatedByLightAndFaceColourTopRowFirst) {
  AmbientOnly(0.5f);
  auto quad = Quad(0, 0, 10, 8, PackARGB(255, 255, 255, 255));
  // Top texel red, bottom texel green.
  quad->SetFaceTexture(0, MakeTexture(1, 2, {255, 0, 0, 255, 0, 255, 0, 255}));
  world_->AddVisual(quad);
  Shot s = Render();
  s.Save("texture");
  Rgb top = s.At(80, 45), bottom = s.At(80, 75);
  EXPECT_NEAR(top.r, 128, 6);
  EXPECT_LT(top.g, 10);
  EXPECT_NEAR(bottom.g, 128, 6);
  EXPECT_LT(bottom.r, 10);
}

TEST_F(RendererTest, FilterQualitiesChangeMagnifiedTexels) {
  AmbientOnly();
  auto quad = Quad(0, 0, 10, 8, PackARGB(255, 255, 255, 255));
  auto tex = MakeTexture(2, 1, {0, 0, 0, 255, 255, 255, 255, 255});
  tex->GenerateMIPMap();
  quad->SetFaceTexture(0, tex);
  world_->AddVisual(quad);
  // Just left of the texel boundary in the middle of the face.
  auto sample = [&](rm::TextureQuality q) {
    device_.SetTextureQuality(q);
    return Render().At(76, 60).r;
  };
  EXPECT_LT(sample(rm::TextureQuality::Nearest), 5);
  int linear = sample(rm::TextureQuality::Linear);
  EXPECT_GT(linear, 60);
  EXPECT_LT(linear, 200);
  EXPECT_LT(sample(rm::TextureQuality::MipNearest), 5);
  EXPECT_GT(sample(rm::TextureQuality::MipLinear), 60);
}

TEST_F(RendererTest, TranslucentFacesBlendBackToFrontWhateverTheirOrder) {
  AmbientOnly();
  auto nearRed = Quad(0, 0, 10, 4, PackARGB(128, 255, 0, 0));
  auto farGreen = Quad(0, 0, 20, 8, PackARGB(128, 0, 255, 0));
  auto opaqueBehind = Quad(0, 0, 30, 16, PackARGB(255, 255, 255, 255));
  // Nearest first, so drawing in scene order would be wrong.
  world_->AddVisual(nearRed);
  world_->AddVisual(farGreen);
  world_->AddVisual(opaqueBehind);
  Shot s = Render();
  s.Save("blend");
  Rgb c = s.Centre();
  // white, then half green (127, 255, 127), then half red over it. The wrong
  // order would end at (127, 191, 64).
  EXPECT_NEAR(c.r, 191, 6);
  EXPECT_NEAR(c.g, 128, 6);
  EXPECT_NEAR(c.b, 64, 6);
  EXPECT_EQ(renderer_->Stats().translucent, 4u);
}

TEST_F(RendererTest, RightWingOfAModelFlyingAwayShowsOnTheRight) {
  AmbientOnly();
  // Model: red block on its right (local +x = up x direction), green on its left.
  auto model = root_.CreateFrame(scene_);
  model->SetPosition({0, 0, 20});
  model->SetOrientation({0, 0, 1}, {0, 1, 0});  // flying away from the camera
  auto right = Quad(3, 0, 0, 2, PackARGB(255, 255, 0, 0));
  auto left = Quad(-3, 0, 0, 2, PackARGB(255, 0, 255, 0));
  model->AddVisual(right);
  model->AddVisual(left);
  Shot s = Render();
  s.Save("right_wing");
  // 8 pixels per metre at 20 m: the blocks' centres at x = +-3 are 24 px off the middle.
  EXPECT_GT(s.At(104, 60).r, 240);
  EXPECT_GT(s.At(56, 60).g, 240);

  // The same seen from behind a model flying along +x: its right is scene -z.
  camera_->SetPosition({-20, 0, 0});
  camera_->SetOrientation({1, 0, 0}, {0, 1, 0});
  model->SetPosition({0, 0, 0});
  model->SetOrientation({1, 0, 0}, {0, 1, 0});
  Shot t = Render();
  t.Save("right_wing_turned");
  EXPECT_GT(t.At(104, 60).r, 240);
  EXPECT_GT(t.At(56, 60).g, 240);
}

TEST_F(RendererTest, FieldIsHalfWidthAtFrontAndBackClips) {
  AmbientOnly();
  world_->AddVisual(Quad(0, 0, 10, 10, PackARGB(255, 255, 0, 0)));
  // field 0.5 at front 1: half-width 5 at distance 10, the square fills the width.
  Shot s = Render();
  EXPECT_GT(s.At(2, 60).r, 240);
  EXPECT_GT(s.At(157, 60).r, 240);
  // field 1: the view is twice as wide, the square covers the middle half.
  viewport_.SetField(1.0f);
  Shot w = Render();
  w.Save("field");
  EXPECT_LT(w.At(30, 60).r, 10);
  EXPECT_GT(w.At(50, 60).r, 240);
  EXPECT_GT(w.At(109, 60).r, 240);
  EXPECT_LT(w.At(130, 60).r, 10);
  // Beyond the back plane nothing is drawn.
  viewport_.SetBack(9);
  EXPECT_LT(Render().Centre().r, 10);
}

TEST_F(RendererTest, ShadowDarkensTheGroundOnceUnderTheModel) {
  AmbientOnly(1.0f);
  // Ground: a large white horizontal square at y = 0, its front facing up.
  std::vector<rm::Vector> gv = {{-50, 0, 50}, {50, 0, 50}, {50, 0, -50}, {-50, 0, -50}};
  std::vector<rm::Vector> gn = {{0, 1, 0}};
  std::vector<std::uint32_t> gd = {4, 0, 0, 1, 0, 2, 0, 3, 0, 0};
  auto ground = root_.CreateMeshBuilder();
  ground->AddFaces(gv, gn, gd).GetElement(0).SetColor(PackARGB(255, 255, 255, 255));
  world_->AddVisual(ground);
  // Camera above, looking down.
  camera_->SetPosition({0, 30, 0});
  camera_->SetOrientation({0, -1, 0}, {0, 0, 1});
  // Model: two overlapping squares 5 m above the ground, light straight above.
  auto model = root_.CreateFrame(scene_);
  model->SetPosition({0, 5, 0});
  model->SetOrientation({0, -1, 0}, {0, 0, 1});  // faces toward the camera's side
  auto a = Quad(0, 0, 0, 4, PackARGB(255, 255, 0, 0));
  auto b = Quad(1, 0, 0, 4, PackARGB(255, 255, 0, 0));
  auto light = root_.CreateLight(rm::LightType::ParallelPoint, 0, 0, 0);
  auto lf = root_.CreateFrame(scene_);
  lf->SetPosition({0, 10000, 0});
  lf->AddLight(light);
  auto shadowA = root_.CreateShadow(a, light, {0, 0.01f, 0}, {0, 1, 0});
  auto shadowB = root_.CreateShadow(b, light, {0, 0.01f, 0}, {0, 1, 0});
  shadowA->SetOptions(true);
  shadowB->SetOptions(true);
  model->AddVisual(shadowA);
  model->AddVisual(shadowB);
  Shot s = Render();
  s.Save("shadow");
  Rgb open = s.At(5, 5);
  Rgb under = s.Centre();
  EXPECT_GT(open.r, 240);
  EXPECT_LT(under.r, 200) << "shadow darker than the open ground";
  EXPECT_GT(under.r, 60) << "true alpha: the ground shows through";
  EXPECT_EQ(renderer_->Stats().shadows, 2u);

  // One shadow of a model whose two faces overlap darkens the overlap once.
  model->DeleteVisual(shadowA);
  model->DeleteVisual(shadowB);
  std::vector<rm::Vector> v = {{-2, 2, 0}, {2, 2, 0}, {2, -2, 0}, {-2, -2, 0},
                               {-1, 2, 0}, {3, 2, 0}, {3, -2, 0}, {-1, -2, 0}};
  std::vector<rm::Vector> n = {{0, 0, -1}};
  std::vector<std::uint32_t> d = {4, 0, 0, 1, 0, 2, 0, 3, 0, 4, 4, 0, 5, 0, 6, 0, 7, 0, 0};
  auto both = root_.CreateMeshBuilder();
  both->AddFaces(v, n, d);
  auto one = root_.CreateShadow(both, light, {0, 0.01f, 0}, {0, 1, 0});
  one->SetOptions(true);
  model->AddVisual(one);
  Shot o = Render();
  o.Save("shadow_overlap");
  // About 5.3 px per metre at 30 m; scene x runs to the right. Covered once at
  // x = -1.5 and 2.5, twice at 0.5.
  Rgb left = o.At(72, 60), right = o.At(93, 60), overlap = o.At(83, 60);
  EXPECT_LT(left.r, 200);
  EXPECT_NEAR(left.r, right.r, 3);
  EXPECT_NEAR(overlap.r, left.r, 3);
}

TEST_F(RendererTest, GeometryIsUploadedOnceAndAgainOnlyAfterAChange) {
  AmbientOnly();
  auto quad = Quad(0, 0, 10, 4, PackARGB(255, 255, 0, 0));
  world_->AddVisual(quad);
  std::size_t before = renderer_->TotalMeshUploads();
  Render();
  Render();
  Render();
  EXPECT_EQ(renderer_->TotalMeshUploads(), before + 1);
  EXPECT_EQ(renderer_->Stats().meshUploads, 0u);
  quad->SetFaceColor(0, PackARGB(255, 0, 255, 0));
  Rgb c = Render().Centre();
  EXPECT_EQ(renderer_->TotalMeshUploads(), before + 2);
  EXPECT_GT(c.g, 240);
  // Moving a frame is not a geometry change.
  world_->SetPosition({0.5f, 0, 0});
  Render();
  EXPECT_EQ(renderer_->TotalMeshUploads(), before + 2);
}

TEST_F(RendererTest, ALandscapeReleasedAfterItsUploadKeepsBeingDrawn) {
  AmbientOnly(0.5f);
  auto quad = Quad(0, 0, 10, 8, PackARGB(255, 255, 255, 255));
  auto texture = MakeTexture(1, 2, {255, 0, 0, 255, 0, 255, 0, 255});
  texture->releaseAfterUpload = true;
  quad->SetFaceTexture(0, texture);
  quad->SetReleaseAfterUpload(true);
  const rm::Box box = quad->GetBox();
  world_->AddVisual(quad);
  Shot first = Render();
  EXPECT_EQ(renderer_->Stats().releasedMeshes, 1u);
  EXPECT_EQ(quad->FaceCount(), 0u);
  EXPECT_TRUE(quad->Vertices().empty());
  EXPECT_TRUE(texture->picture.pixels.empty());
  EXPECT_FLOAT_EQ(quad->GetBox().max.x, box.max.x);
  const std::size_t uploads = renderer_->TotalMeshUploads();
  Shot again = Render();
  EXPECT_EQ(renderer_->TotalMeshUploads(), uploads);
  EXPECT_EQ(renderer_->Stats().releasedMeshes, 0u);
  EXPECT_EQ(again.px, first.px);
  EXPECT_NEAR(again.At(80, 45).r, 128, 6);  // still textured: red on top
  EXPECT_NEAR(again.At(80, 75).g, 128, 6);
}

TEST_F(RendererTest, DiscardedMeshesLeaveTheCache) {
  AmbientOnly();
  {
    auto temp = Quad(0, 0, 10, 4, PackARGB(255, 255, 0, 0));
    world_->AddVisual(temp);
    Render();
    world_->DeleteVisual(temp);
  }
  Render();
  // A new mesh at a possibly reused address is uploaded fresh.
  auto next = Quad(0, 0, 10, 4, PackARGB(255, 0, 255, 0));
  world_->AddVisual(next);
  EXPECT_GT(Render().Centre().g, 240);
  EXPECT_EQ(renderer_->CachedMeshes(), 1u);
}

// Unseen and fully fogged parts of a large ground are skipped, and the picture
// stays exactly what drawing everything gives.
TEST_F(RendererTest, CullingSkipsUnseenAndFoggedGroundAndKeepsThePicture) {
  AmbientOnly();
  const int n = 100;
  std::vector<rm::Vector> nrm{{0, 1, 0}};
  const std::vector<rm::Vector> v =
      GroundPoints(n, 10, -(n / 2) * 10.0f, -(n / 2) * 10.0f,
                   [](int x, int z) { return -3 + 2 * std::sin(x * 0.7f) * std::cos(z * 0.3f); });
  const std::vector<std::uint32_t> d = GroundTriangles(n);
  auto ground = root_.CreateMeshBuilder();
  auto faces = ground->AddFaces(v, nrm, d);
  for (std::size_t i = 0; i < faces.GetSize(); ++i)
    faces.GetElement(i).SetColor(
        PackARGB(255, static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(i * 11), 90));
  world_->AddVisual(ground);
  camera_->SetOrientation({0.3f, -0.2f, 1}, {0, 1, 0});
  // Fog ends in the background colour, so what lies beyond it looks the same drawn or not.
  scene_->SetSceneFogColor({0, 0, 1});
  scene_->SetSceneFogParams(5, 250, 0.5f);

  std::size_t drawnWithoutFog = 0;
  for (bool fog : {false, true}) {
    scene_->SetSceneFogEnable(fog);
    renderer_->SetCulling(false);
    Shot all = Render();
    const std::size_t allTriangles = renderer_->Stats().triangles;
    renderer_->SetCulling(true);
    Shot culled = Render();
    const gl::FrameStats st = renderer_->Stats();
    culled.Save(fog ? "culled_fog" : "culled");
    EXPECT_EQ(allTriangles, 20000u);
    EXPECT_GT(st.culledRuns, 0u);
    EXPECT_LT(st.triangles * 3, allTriangles) << "fog " << fog;
    std::size_t differing = 0;
    for (std::size_t i = 0; i < all.px.size(); ++i) differing += all.px[i] != culled.px[i];
    EXPECT_EQ(differing, 0u) << "fog " << fog;
    if (!fog)
      drawnWithoutFog = st.triangles;
    else
      EXPECT_LT(st.triangles * 3, drawnWithoutFog * 2);  // a third or more lies beyond the fog
  }
}

TEST_F(RendererTest, FarGroundIsDrawnCoarseWithoutHolesAndNearGroundInFull) {
  AmbientOnly();
  // Gentle hills, 640 m square, one colour: the picture shows the shape only.
  const int n = 64;
  std::vector<rm::Vector> nrm{{0, 1, 0}};
  const std::vector<rm::Vector> v = GroundPoints(n, 10, -(n / 2) * 10.0f, 0, [](int x, int z) {
    return -20 + 4 * std::sin(x * 0.2f) * std::cos(z * 0.15f);
  });
  const std::vector<std::uint32_t> d = GroundTriangles(n);
  auto ground = root_.CreateMeshBuilder();
  auto faces = ground->AddFaces(v, nrm, d);
  for (std::size_t i = 0; i < faces.GetSize(); ++i)
    faces.GetElement(i).SetColor(PackARGB(255, 40, 160, 40));
  world_->AddVisual(ground);
  viewport_.SetBack(5000);

  // From the ground's near edge the far runs are coarse, the near ones not; from
  // far away all of them.
  std::size_t coarseNear = 0;
  for (const float distance : {2.0f, 1200.0f}) {
    camera_->SetPosition({0, distance < 10 ? 0.0f : 300.0f, -distance});
    camera_->SetOrientation({0, distance < 10 ? -0.05f : -0.3f, 1}, {0, 1, 0});
    renderer_->SetLevelOfDetail(false);
    Shot full = Render();
    const std::size_t fullTriangles = renderer_->Stats().triangles;
    renderer_->SetLevelOfDetail(true);
    Shot lod = Render();
    const gl::FrameStats st = renderer_->Stats();
    if (distance < 10) {
      coarseNear = st.coarseRuns;
    } else {
      EXPECT_GT(st.coarseRuns, coarseNear);
      EXPECT_LT(st.triangles * 2, fullTriangles);
    }
    // Half a pixel of height at most: a rim pixel may flip, the ground stays whole.
    std::size_t differing = 0, ground = 0;
    for (int y = 0; y < full.height; ++y)
      for (int x = 0; x < full.width; ++x) {
        const Rgb a = full.At(x, y), b = lod.At(x, y);
        differing += a.g != b.g;
        ground += a.g > 100;
      }
    EXPECT_GT(ground, 100u) << distance;
    EXPECT_LE(differing, std::max<std::size_t>(4, ground / 50)) << distance;
  }
}

// A flat field 2 km across under a backdrop whose sky is pure blue and whose
// panorama is land in a colour that runs once round the horizon. From high and
// low, in the middle and at the edge, facing every way and straight at the
// picture's ends: below the horizon nothing is sky, above it the sky shows, and
// along a row of land no step marks where the picture's ends meet.
TEST_F(RendererTest, BackdropLeavesNoSkyBelowTheHorizonAndItsEndsMeet) {
  AmbientOnly();
  scene_->SetSceneBackgroundRGB(1, 1, 1);  // would show wherever nothing is drawn
  scene_->SetSceneFogColor({0, 0, 1});
  scene_->SetSceneFogEnable(false);
  viewport_.SetBack(8000);
  auto ground = root_.CreateMeshBuilder();
  const std::vector<rm::Vector> points =
      GroundPoints(20, 100, -1000, -1000, [](int, int) { return 0.0f; });
  const std::vector<rm::Vector> up = {{0, 1, 0}};
  auto faces = ground->AddFaces(points, up, GroundTriangles(20));
  for (std::size_t i = 0; i < faces.GetSize(); ++i)
    faces.GetElement(i).SetColor(PackARGB(255, 0, 200, 0));
  ground->SetGroundDetail(true);
  world_->AddVisual(ground);
  // 256 x 16: the top half sky (black), the bottom half land whose red runs
  // smoothly round the horizon and back to where it began.
  constexpr int kW = 256, kH = 16;
  std::vector<std::uint8_t> px(kW * kH * 4, 0);
  for (int y = kH / 2; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      std::uint8_t* p = &px[(y * kW + x) * 4];
      p[0] = static_cast<std::uint8_t>(140 + 100 * std::cos(6.2831853 * (x + 0.5) / kW));
      p[1] = 60;
      p[2] = 20;
      p[3] = 255;
    }
  auto backdrop = std::make_shared<rm::Backdrop>();
  backdrop->panorama = MakeTexture(kW, kH, px);
  backdrop->panorama->SetDecalTransparency(true);
  backdrop->below = -0.2f;
  backdrop->above = 0.2f;  // the horizon halfway down the picture
  backdrop->zenith = {0, 0, 1};
  scene_->SetSceneBackdrop(backdrop);

  auto sky = [](Rgb c) { return c.b > 200 && c.r < 40 && c.g < 40; };
  struct View {
    float x, height, z;
    float headingDegrees;  // 0 = +z (the picture's ends), 90 = +x
  };
  const View views[] = {{0, 2, 0, 0},      {0, 2, 0, 90},      {0, 2, 0, 180},
                        {0, 2, 0, 270},    {900, 50, 0, 90},   {0, 400, -950, 0},
                        {-990, 2, 0, 270}, {0, 120, 980, 0.5f}};
  constexpr int kWidth = 160, kHeight = 120;
  for (const View& v : views) {
    const float a = v.headingDegrees * 3.14159265f / 180.0f;
    camera_->SetPosition({v.x, v.height, v.z});
    camera_->SetOrientation({std::sin(a), 0, std::cos(a)}, {0, 1, 0});
    Shot s = Render(kWidth, kHeight);
    s.Save("backdrop");
    int skyBelow = 0, landJumps = 0;
    for (int y = kHeight / 2 + 1; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) skyBelow += sky(s.At(x, y)) ? 1 : 0;
    // One row below the horizon: the panorama where the field does not reach.
    const int row = kHeight / 2 + 1;
    for (int x = 1; x < kWidth; ++x)
      if (s.At(x, row).g < 100 && s.At(x - 1, row).g < 100 &&
          std::abs(s.At(x, row).r - s.At(x - 1, row).r) > 6)
        ++landJumps;
    SCOPED_TRACE(testing::Message() << "at " << v.x << ", " << v.height << ", " << v.z << " facing "
                                    << v.headingDegrees);
    EXPECT_EQ(skyBelow, 0) << "sky below the horizon";
    EXPECT_TRUE(sky(s.At(kWidth / 2, 2))) << "the sky above";
    EXPECT_EQ(landJumps, 0) << "a step along the panorama";
  }
}

}  // namespace
}  // namespace veltrane::test
