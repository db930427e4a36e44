#include "base/rm/root.h"

#include <gtest/gtest.h>

#include "base/rm/find_file.h"
#include "support/temp_dir.h"

namespace veltrane::rm {
namespace {

class RootFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("Textures/Grass.BMP", "g");
    dir.Write("sky.bmp", "s");
  }
  test_support::TempDir dir;
};

TEST_F(RootFiles, FindFileNoCaseMatchesEveryStep) {
  EXPECT_EQ(FindFileNoCase(dir.Path() + "/textures/grass.bmp"), dir.Path() + "/Textures/Grass.BMP");
  EXPECT_EQ(FindFileNoCase("TEXTURES\\GRASS.bmp", dir.Path()), dir.Path() + "/Textures/Grass.BMP");
  EXPECT_EQ(FindFileNoCase("./Sky.BMP", dir.Path()), dir.Path() + "/sky.bmp");
  EXPECT_EQ(FindFileNoCase("missing.bmp", dir.Path()), "");
  EXPECT_EQ(FindFileNoCase("Textures", dir.Path()), "");  // a folder is not a file
  EXPECT_EQ(FindFileNoCase("", dir.Path()), "");
}

TEST_F(RootFiles, LoadTextureUsesSearchPathAndDecoder) {
  std::vector<std::string> asked;
  Root root([&](const std::string& path) -> std::optional<Picture> {
    asked.push_back(path);
    return Picture{2, 1, std::vector<std::uint8_t>(8, 7)};
  });
  EXPECT_EQ(root.LoadTexture("GRASS.bmp"), nullptr);  // not in the working folder
  root.SetSearchPath(dir.Path() + "/textures");
  auto t = root.LoadTexture("GRASS.bmp");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->file, dir.Path() + "/Textures/Grass.BMP");
  EXPECT_EQ(t->picture.width, 2);
  EXPECT_FALSE(t->mipmap);
  EXPECT_FALSE(t->decalTransparency);
  // A folder written for another machine: the name alone is looked up in the search path.
  EXPECT_NE(root.LoadTexture("C:\\art\\old\\grass.bmp"), nullptr);
  // An absolute path that exists is taken as it stands.
  EXPECT_NE(root.LoadTexture(dir.Path() + "/SKY.bmp"), nullptr);
  EXPECT_EQ(asked.size(), 3u);
}

TEST_F(RootFiles, LoadTextureFailuresGiveNull) {
  Root noDecoder;
  EXPECT_EQ(noDecoder.LoadTexture(dir.Path() + "/sky.bmp"), nullptr);

  Root failing([](const std::string&) -> std::optional<Picture> { return std::nullopt; });
  EXPECT_EQ(failing.LoadTexture(dir.Path() + "/sky.bmp"), nullptr);

  // A decoder that returns fewer pixels than its size claims must not reach the renderer.
  Root lying([](const std::string&) -> std::optional<Picture> {
    return Picture{4, 4, {1, 2, 3, 4}};
  });
  EXPECT_EQ(lying.LoadTexture(dir.Path() + "/sky.bmp"), nullptr);
  Root empty([](const std::string&) -> std::optional<Picture> { return Picture{0, 0, {}}; });
  EXPECT_EQ(empty.LoadTexture(dir.Path() + "/sky.bmp"), nullptr);
}

TEST(RootObjects, FactoriesFillWhatTheyAreGiven) {
  Root root;
  auto light = root.CreateLight(LightType::Ambient, 0.3f, 0.3f, 0.3f);
  EXPECT_EQ(light->type, LightType::Ambient);
  EXPECT_EQ(light->color, (ColorRGB{0.3f, 0.3f, 0.3f}));
  auto material = root.CreateMaterial(20.0f);
  EXPECT_EQ(material->power, 20.0f);
  EXPECT_EQ(material->specular, (ColorRGB{}));
  auto mesh = root.CreateMeshBuilder();
  EXPECT_EQ(mesh->FaceCount(), 0u);
  auto shadow = root.CreateShadow(mesh, light, {1, 2, 3}, {0, 1, 0});
  EXPECT_EQ(shadow->planePoint, (Vector{1, 2, 3}));
  EXPECT_FALSE(shadow->trueAlpha);
}

}  // namespace
}  // namespace veltrane::rm
