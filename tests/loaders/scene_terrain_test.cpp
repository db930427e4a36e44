#include <gtest/gtest.h>

#include <cmath>

#include "loaders/load_error.h"
#include "loaders/scene_test_support.h"

namespace veltrane::loaders {
namespace {

using testing::Grey;
using testing::kSmallScene;
using testing::LoadedScene;
using testing::Pattern;
using testing::SceneFolder;

const MeshVertex& CornerVertex(const MeshBuild& mb, const MeshFace& f, int k) {
  const VertexRef& r = mb.Refs()[static_cast<std::size_t>(f.corner[static_cast<std::size_t>(k)])];
  return mb.Vertices()[static_cast<std::size_t>(r.vertex)];
}

TEST(SceneTerrain, FiveHundredByFiftyGivesTwentyCells) {
  SceneFolder dir;
  LoadedScene s;
  dir.Picture("grass.bmp", Grey(4, 4, 128));
  dir.Load(std::string(kSmallScene) + "QUADRANT 0 0 10 10 GRASS\nEND\n", s);

  EXPECT_EQ(s.info.CellsX, 20);
  EXPECT_EQ(s.info.CellsY, 20);
  EXPECT_EQ(s.info.GridStep, 50);
  EXPECT_DOUBLE_EQ(s.info.HeightPerLevel, 0.2527);
  EXPECT_EQ(s.builds.terrain.Faces().size(), 800u);
  EXPECT_EQ(s.terrain.FaceCount(), 800u);

  // After the translation the terrain spans 0..1000 in display x and z.
  const rm::Box box = s.terrain.GetBox();
  EXPECT_FLOAT_EQ(box.min.x, 0.0f);
  EXPECT_FLOAT_EQ(box.max.x, 1000.0f);
  EXPECT_FLOAT_EQ(box.min.z, 0.0f);
  EXPECT_FLOAT_EQ(box.max.z, 1000.0f);

  // Two cells per tile: u runs 0, 127 in even cells and 127, 255 in odd ones.
  const MeshBuild& mb = s.builds.terrain;
  for (int i = 0; i < 4; ++i) {
    const MeshFace& a = mb.Faces()[static_cast<std::size_t>(2 * i)];
    const double u0 = mb.Refs()[static_cast<std::size_t>(a.corner[0])].u;
    const double u2 = mb.Refs()[static_cast<std::size_t>(a.corner[2])].u;
    EXPECT_EQ(u0, i % 2 == 0 ? 0.0 : 127.0) << "cell " << i;
    EXPECT_EQ(u2, i % 2 == 0 ? 127.0 : 255.0) << "cell " << i;
  }
  // Textured triangles carry their texture, not a colour.
  ASSERT_NE(s.terrain.Faces()[0].texture, nullptr);
  EXPECT_EQ(
      s.traces.Lines(),
      (std::vector<std::string>{"LoadLib.LoadSCN File: " + dir.Path() + "/scene.scn\r\n",
                                "LoadLib.LoadSCN.BuildScene \r\n", "LoadLib.LoadSCN.AddSky \r\n"}));
}

// Every triangle has the corners (i, g), (i, g+1), (i+1, g) and (i+1, g+1), (i+1, g), (i, g+1)
// in this order, with the texture coordinates of its tile; shared grid points share vertices.
TEST(SceneTerrain, TriangleLayoutTexturesAndSharedVertices) {
  SceneFolder dir;
  dir.Picture("a.bmp", Grey(2, 2, 10));
  dir.Picture("b.bmp", Grey(2, 2, 20));
  dir.Picture("height.bmp", Pattern(6, 6, [](int x, int y) { return 40 * x + 7 * y; }));
  LoadedScene s;
  // 6 cells of 10, tiles of 20: tile columns 0 -> A, 1..2 -> B.
  dir.Load("SCENE 30 20 10 3D_LANDSCAPE HEIGHT QUADRANT 0 0 1 10 A QUADRANT 1 0 9 10 B END", s);
  const MeshBuild& mb = s.builds.terrain;
  const int cells = 6;
  ASSERT_EQ(mb.Faces().size(), static_cast<std::size_t>(2 * cells * cells));
  EXPECT_EQ(mb.Vertices().size(), static_cast<std::size_t>((cells + 1) * (cells + 1)));

  const std::array<std::array<int, 2>, 3> cornersA = {{{0, 0}, {0, 1}, {1, 0}}};
  const std::array<std::array<int, 2>, 3> cornersB = {{{1, 1}, {1, 0}, {0, 1}}};
  for (int g = 0; g < cells; ++g) {
    for (int i = 0; i < cells; ++i) {
      for (int t = 0; t < 2; ++t) {
        const MeshFace& f = mb.Faces()[static_cast<std::size_t>(2 * (g * cells + i) + t)];
        ASSERT_EQ(f.cornerCount, 3);
        EXPECT_TRUE(f.singleSided);
        EXPECT_EQ(f.texture, i * 10 / 20 == 0 ? 0 : 1);
        for (int k = 0; k < 3; ++k) {
          const int a = i + (t == 0 ? cornersA : cornersB)[static_cast<std::size_t>(k)][0];
          const int b = g + (t == 0 ? cornersA : cornersB)[static_cast<std::size_t>(k)][1];
          const MeshVertex& v = CornerVertex(mb, f, k);
          EXPECT_DOUBLE_EQ(v.x, a * 10 - 30);
          EXPECT_DOUBLE_EQ(v.z, b * 10 - 30);
          EXPECT_DOUBLE_EQ(v.y, 0.2527 * s.grid.At(a, b));
          const VertexRef& r =
              mb.Refs()[static_cast<std::size_t>(f.corner[static_cast<std::size_t>(k)])];
          EXPECT_TRUE(r.textured);
          EXPECT_EQ(r.u, ((i * 10) % 20 + (a - i) * 10) * 255 / 20);
          EXPECT_EQ(r.v, 255 - ((g * 10) % 20 + (b - g) * 10) * 255 / 20);
        }
      }
    }
  }
}

TEST(SceneTerrain, UntexturedTerrainSharesVerticesAndUsesRandomShades) {
  SceneFolder dir;
  LoadedScene s, textured;
  dir.Load(std::string(kSmallScene) + "END", s, /*textures=*/false);
  dir.Picture("grass.bmp", Grey(2, 2, 1));
  dir.Load(std::string(kSmallScene) + "QUADRANT 0 0 10 10 GRASS END", textured);
  const MeshBuild& mb = s.builds.terrain;
  EXPECT_EQ(mb.Vertices().size(), 21u * 21u);
  // References are reused on the same terms either way: the tile coordinates decide.
  EXPECT_EQ(mb.Refs().size(), textured.builds.terrain.Refs().size());
  EXPECT_LT(mb.Refs().size(), 3u * 800u);
  for (const VertexRef& r : mb.Refs()) ASSERT_FALSE(r.textured);

  // One draw of the program's generator per cell, both triangles in that shade.
  ProgramRandom expected;
  for (std::size_t cell = 0; cell < 400; ++cell) {
    const int k = expected.NextInt(8);
    const ColorEntry& c = mb.Colors()[static_cast<std::size_t>(mb.Faces()[2 * cell].color)];
    EXPECT_EQ(mb.Faces()[2 * cell].color, mb.Faces()[2 * cell + 1].color);
    EXPECT_EQ(mb.Faces()[2 * cell].color, k + 1) << "cell " << cell;  // colour 0 is black
    EXPECT_EQ(c.a, 1.0);
  }
  EXPECT_EQ(s.random.State(), expected.State());
  EXPECT_DOUBLE_EQ(mb.Colors()[1].r, 0.2814);
  EXPECT_DOUBLE_EQ(mb.Colors()[8].b, 0.1878);
  // Without textures the shades are what the mesh shows.
  EXPECT_EQ(s.terrain.Faces()[0].texture, nullptr);
  EXPECT_EQ(s.terrain.Faces()[0].color,
            PackColor(mb.Colors()[static_cast<std::size_t>(mb.Faces()[0].color)]));
}

TEST(SceneTerrain, WhiteAndBlackHeightmaps) {
  for (const auto& [level, height] : {std::pair{255, 0.0}, std::pair{0, 64.4385}}) {
    SceneFolder dir;
    dir.Picture("height.bmp", Grey(7, 9, static_cast<std::uint8_t>(level)));
    LoadedScene s;
    dir.Load(std::string(kSmallScene) + "END", s);
    for (int c = 0; c <= 20; ++c)
      for (int r = 0; r <= 20; ++r) ASSERT_EQ(s.grid.At(c, r), 255 - level) << c << "," << r;
    for (const MeshVertex& v : s.builds.terrain.Vertices()) ASSERT_NEAR(v.y, height, 1e-9);
  }
}

// Dark is high, the picture's top row is the far edge, and the row and column that the
// sampling never reaches repeat their neighbours instead of keeping stale levels.
TEST(SceneTerrain, HeightmapOrientationSamplingAndEdgeFill) {
  SceneFolder dir;
  // 40 x 20 picture: red = 4 * x, and the top half is darker by 100.
  dir.Picture("height.bmp",
              Pattern(40, 20, [](int x, int y) { return 4 * x + (y < 10 ? 0 : 100); }));
  LoadedScene s;
  s.grid.At(20, 0) = 77;  // stale value from an earlier landscape
  s.grid.At(5, 0) = 77;
  dir.Load(std::string(kSmallScene) + "END", s);
  for (int c = 0; c < 20; ++c) {
    for (int g = 0; g < 20; ++g) {
      const int red = 4 * (2 * c) + (g < 10 ? 0 : 100);  // pixel (2c, g)
      ASSERT_EQ(s.grid.At(c, 20 - g), 255 - red) << c << "," << g;
    }
    EXPECT_EQ(s.grid.At(c, 0), s.grid.At(c, 1));
  }
  for (int r = 0; r <= 20; ++r) EXPECT_EQ(s.grid.At(20, r), s.grid.At(19, r));
  EXPECT_GT(s.grid.At(0, 20), s.grid.At(0, 1));  // far edge (top of the picture) is higher
}

TEST(SceneTerrain, LargestGridWorksAndOneMoreIsRefused) {
  SceneFolder dir;
  dir.Picture("height.bmp", Pattern(64, 64, [](int x, int y) { return (x * y) % 256; }));
  LoadedScene s;
  dir.Load("SCENE 1495 300 10 3D_LANDSCAPE HEIGHT END", s, /*textures=*/false);
  EXPECT_EQ(s.info.CellsX, 299);
  EXPECT_EQ(s.builds.terrain.Faces().size(), 2u * 299 * 299);
  EXPECT_EQ(s.builds.terrain.Vertices().size(), 300u * 300);
  EXPECT_EQ(s.terrain.FaceCount(), 2u * 299 * 299);

  LoadedScene t;
  try {
    dir.Load("SCENE 1500 300 10 3D_LANDSCAPE HEIGHT END", t, false);
    ADD_FAILURE() << "300 cells accepted";
  } catch (const LoadError& e) {
    EXPECT_NE(std::string(e.what()).find("300 cells"), std::string::npos) << e.what();
  }
  EXPECT_EQ(t.terrain.FaceCount(), 0u);
}

TEST(SceneTerrain, TileBeyondTheTileMapIsAnErrorNamingTheFile) {
  SceneFolder dir;
  for (const std::string scene :
       {"SCENE 500 10 50 3D_LANDSCAPE HEIGHT END",  // cell 19 needs tile 95
        "SCENE 500 100 50 3D_LANDSCAPE HEIGHT QUADRANT 8 0 5 1 A END",
        "SCENE 500 100 50 3D_LANDSCAPE HEIGHT QUADRANT -1 0 1 1 A END"}) {
    LoadedScene s;
    try {
      dir.Load(scene, s, true, "Alps.scn");
      ADD_FAILURE() << "accepted: " << scene;
    } catch (const LoadError& e) {
      EXPECT_NE(std::string(e.what()).find(dir.Path() + "/Alps.scn"), std::string::npos)
          << e.what();
    }
    EXPECT_EQ(s.terrain.FaceCount(), 0u);
  }
}

TEST(SceneTerrain, SizesThatGiveNoGridAreErrors) {
  SceneFolder dir;
  for (const std::string scene :
       {"SCENE 500 100 0 3D_LANDSCAPE HEIGHT END", "SCENE 500 0 50 3D_LANDSCAPE HEIGHT END",
        "SCENE 10 100 50 3D_LANDSCAPE HEIGHT END", "SCENE -500 100 50 3D_LANDSCAPE HEIGHT END",
        "SCENE 1E30 100 50 3D_LANDSCAPE HEIGHT END"}) {
    LoadedScene s;
    EXPECT_THROW(dir.Load(scene, s), LoadError) << scene;
  }
}

TEST(SceneTerrain, SceneNumbersRoundHalfToEven) {
  SceneFolder dir;
  LoadedScene s;
  // 500.5 -> 500, 100 -> 100, 49.5 -> 50
  dir.Load("SCENE 500.5 100 49.5 3D_LANDSCAPE HEIGHT END", s);
  EXPECT_EQ(s.info.GridStep, 50);
  EXPECT_EQ(s.info.CellsX, 20);
  EXPECT_DOUBLE_EQ(s.info.StartX, 505.0);
}

TEST(SceneTerrain, MissingOrBrokenHeightmapIsAnError) {
  SceneFolder dir;
  LoadedScene s;
  try {
    dir.Load("SCENE 500 100 50 3D_LANDSCAPE NOWHERE END", s);
    ADD_FAILURE();
  } catch (const LoadError& e) {
    EXPECT_NE(std::string(e.what()).find("NOWHERE.bmp"), std::string::npos) << e.what();
  }
  dir.Write("broken.bmp", "BM not really a bitmap");
  EXPECT_THROW(dir.Load("SCENE 500 100 50 3D_LANDSCAPE BROKEN END", s), LoadError);
  EXPECT_EQ(s.terrain.FaceCount(), 0u);
  EXPECT_EQ(s.info.CellsX, 0);
}

}  // namespace
}  // namespace veltrane::loaders
