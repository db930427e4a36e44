// A landscape read in one pass (loader tables straight into the renderer's
// streams and the collision model) against the assembled builder faces.

#include "loaders/terrain_faces.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/rm/mesh_geometry.h"
#include "loaders/scene_test_support.h"
#include "sim/collision_world.h"
#include "sim/create_world_col.h"

namespace veltrane::loaders {
namespace {

using testing::DecodingRoot;
using testing::Grey;
using testing::kSmallScene;
using testing::LoadedScene;
using testing::Pattern;
using testing::SceneFolder;

void ExpectSameTexture(const std::shared_ptr<rm::Texture>& a, const std::shared_ptr<rm::Texture>& b,
                       const std::string& where) {
  ASSERT_EQ(a == nullptr, b == nullptr) << where;
  if (!a) return;
  EXPECT_EQ(a->file, b->file) << where;
  EXPECT_EQ(a->mipmap, b->mipmap) << where;
  EXPECT_EQ(a->decalTransparency, b->decalTransparency) << where;
}

void ExpectSameMaterial(const std::shared_ptr<rm::Material>& a,
                        const std::shared_ptr<rm::Material>& b, const std::string& where) {
  ASSERT_EQ(a == nullptr, b == nullptr) << where;
  if (!a) return;
  EXPECT_EQ(a->power, b->power) << where;
  EXPECT_EQ(a->specular, b->specular) << where;
  EXPECT_EQ(a->emissive, b->emissive) << where;
}

bool SameBytes(const void* a, const void* b, std::size_t n) { return std::memcmp(a, b, n) == 0; }

// Everything the two paths hand on: faces one by one, the GPU streams, the
// collision triangles and heights probed through them.
void ExpectSameLandscape(const rm::MeshBuilder& assembled, const MeshBuildFaces& inPlace) {
  const rm::MeshBuilderFaces old(assembled);
  ASSERT_EQ(old.FaceCount(), inPlace.FaceCount());
  EXPECT_EQ(old.Quality(), inPlace.Quality());
  for (std::size_t i = 0; i < old.FaceCount(); ++i) {
    const std::string where = "face " + std::to_string(i);
    ASSERT_EQ(old.CornerCount(i), inPlace.CornerCount(i)) << where;
    EXPECT_EQ(old.Color(i), inPlace.Color(i)) << where;
    ExpectSameTexture(old.TextureOf(i), inPlace.TextureOf(i), where);
    ExpectSameMaterial(old.MaterialOf(i), inPlace.MaterialOf(i), where);
    for (std::size_t k = 0; k < old.CornerCount(i); ++k) {
      const Vec3f p = old.Position(i, k), q = inPlace.Position(i, k);
      const Vec3f n = old.Normal(i, k), m = inPlace.Normal(i, k);
      float u0, v0, u1, v1;
      old.TextureCoordinates(i, k, u0, v0);
      inPlace.TextureCoordinates(i, k, u1, v1);
      ASSERT_TRUE(SameBytes(&p, &q, sizeof p)) << where << " corner " << k;
      ASSERT_TRUE(SameBytes(&n, &m, sizeof n)) << where << " corner " << k;
      ASSERT_TRUE(u0 == u1 && v0 == v1) << where << " corner " << k;
    }
  }
  const rm::Box b0 = assembled.GetBox(), b1 = inPlace.Box();
  EXPECT_TRUE(b0.min == b1.min && b0.max == b1.max);

  const rm::MeshGeometry g0 = rm::BuildMeshGeometry(assembled);
  const rm::MeshGeometry g1 = rm::BuildMeshGeometry(inPlace);
  ASSERT_EQ(g0.opaque.size(), g1.opaque.size());
  EXPECT_TRUE(
      SameBytes(g0.opaque.data(), g1.opaque.data(), g0.opaque.size() * sizeof(g0.opaque[0])));
  EXPECT_EQ(g0.indices, g1.indices);
  EXPECT_EQ(g0.fullIndexCount, g1.fullIndexCount);
  EXPECT_EQ(g0.lit, g1.lit);
  EXPECT_EQ(g0.smooth, g1.smooth);
  ASSERT_EQ(g0.batches.size(), g1.batches.size());
  for (std::size_t i = 0; i < g0.batches.size(); ++i) {
    const rm::Batch &a = g0.batches[i], &b = g1.batches[i];
    const std::string where = "run " + std::to_string(i);
    EXPECT_TRUE(a.first == b.first && a.count == b.count && a.lodFirst == b.lodFirst &&
                a.lodCount == b.lodCount && a.lodError == b.lodError && a.lo == b.lo &&
                a.hi == b.hi)
        << where;
    ExpectSameTexture(a.texture, b.texture, where);
    ExpectSameMaterial(a.material, b.material, where);
  }
  ASSERT_EQ(g0.translucent.size(), g1.translucent.size());
  for (std::size_t i = 0; i < g0.translucent.size(); ++i) {
    EXPECT_TRUE(SameBytes(g0.translucent[i].v, g1.translucent[i].v, sizeof g0.translucent[i].v));
    ExpectSameTexture(g0.translucent[i].texture, g1.translucent[i].texture, "translucent");
  }

  collision::CollisionModel c0 = CreateWorldCol(assembled), c1 = CreateWorldCol(inPlace);
  const auto t0 = c0.Tree().TrianglesInOrder(), t1 = c1.Tree().TrianglesInOrder();
  ASSERT_EQ(t0.size(), t1.size());
  EXPECT_TRUE(t0.empty() || SameBytes(t0.data(), t1.data(), t0.size() * sizeof(t0[0])));
  const CollisionWorld w0(std::move(c0)), w1(std::move(c1));
  // Heights over the whole terrain and a little beyond (display x, z = world x, y).
  for (float x = b0.min.x - 10; x <= b0.max.x + 10; x += (b0.max.x - b0.min.x) / 37 + 1)
    for (float y = b0.min.z - 10; y <= b0.max.z + 10; y += (b0.max.z - b0.min.z) / 41 + 1)
      ASSERT_EQ(w0.GroundHeightAt(x, y), w1.GroundHeightAt(x, y)) << x << ", " << y;
}

void CompareBothPaths(const std::string& file, bool textures) {
  rm::Root root = DecodingRoot();
  SceneInfo info;
  HeightGrid grid;
  rm::MeshBuilder sky, terrain;
  ProgramRandom random;
  SceneBuilds tables;
  TraceCapture traces;
  LoadSCN(file, root, textures, info, grid, sky, terrain, random, traces.Sink(), &tables);
  const MeshBuildFaces inPlace(tables.terrain, root, {tables.shift, 0.0f, tables.shift});
  ExpectSameLandscape(terrain, inPlace);

  // Left unassembled, the load traces and reads the same and draws as many numbers.
  rm::Root root2 = DecodingRoot();
  SceneInfo info2;
  HeightGrid grid2;
  rm::MeshBuilder sky2, terrain2;
  ProgramRandom random2;
  SceneBuilds tables2;
  tables2.assembleTerrain = false;
  TraceCapture traces2;
  LoadSCN(file, root2, textures, info2, grid2, sky2, terrain2, random2, traces2.Sink(), &tables2);
  EXPECT_EQ(traces.Lines(), traces2.Lines());
  EXPECT_EQ(random.State(), random2.State());
  EXPECT_EQ(terrain2.FaceCount(), 0u);
  EXPECT_EQ(sky.FaceCount(), sky2.FaceCount());
  EXPECT_EQ(tables.shift, tables2.shift);
}

TEST(TerrainFaces, EveryShippedLandscapeGivesTheSameFacesStreamsAndCollision) {
  const std::filesystem::path folder = std::filesystem::path(VELTRANE_DATA_DIR) / "Landscape";
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    if (e.path().extension() == ".scn") files.push_back(e.path().string());
  ASSERT_FALSE(files.empty());
  for (const std::string& f : files) {
    SCOPED_TRACE(f);
    CompareBothPaths(f, true);
  }
  SCOPED_TRACE("textures off");
  CompareBothPaths((folder / "world.scn").string(), false);
}

TEST(TerrainFaces, TheFilesOwnQuadsLinesAndDoubleSidedFacesComeOutTheSame) {
  SceneFolder dir;
  dir.Picture("height.bmp", Pattern(20, 20, [](int x, int y) { return (x * 37 + y * 11) % 256; }));
  dir.Picture("tree.bmp", Grey(2, 2, 30));
  const std::string items =
      "QUADRANT 0 0 10 10 TREE\n"
      "TEXTURE TREE TRANSPARENT 0 0 0 0 0  255 0 1 0 0  255 255 1 1 0  0 255 0 1 0\n"
      "CULL OFF TEXTURE TREE 0 0 5 0 0  9 0 6 0 0  9 9 6 1 0  0 9 5 1 0\n"
      "TEXTURE OFF CULL ON QUADS 1 2 3  4 2 3  4 5 3  1 5 3\n"
      "POSITION 100 200 10 CULL OFF 0 0 0 1 0 0 1 1 0 0 1 0\n"
      "CULL ON ALPHA 0.5 COLOR 1 0.5 0 X Y QUADS 0 0 0 1 0 0 1 1 0 0 1 0\n"
      "LINES 0 0 0 10 0 0  3 3 0 3 3 0  5 5 0 5 5 8\n";
  const std::string file = dir.Write("own.scn", std::string(kSmallScene) + items + "\nEND\n");

  // The scene must hold what is compared: textured and plain faces on both
  // sides, translucent ones and the lines' tubes.
  LoadedScene s;
  dir.Load(std::string(kSmallScene) + items + "\nEND\n", s);
  std::size_t doubleSided = 0, texturedDoubleSided = 0;
  for (const MeshFace& f : s.builds.terrain.Faces())
    if (!f.singleSided) {
      ++doubleSided;
      texturedDoubleSided += IsTextured(s.builds.terrain, f) ? 1 : 0;
    }
  EXPECT_GE(doubleSided, 2u);
  EXPECT_GE(texturedDoubleSided, 1u);
  EXPECT_GT(s.builds.terrain.Faces().size(), 800u + 12u);

  for (bool textures : {true, false}) {
    SCOPED_TRACE(textures ? "textures on" : "textures off");
    CompareBothPaths(file, textures);
  }
}

}  // namespace
}  // namespace veltrane::loaders
