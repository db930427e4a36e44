#include "loaders/mesh_build.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/rm/root.h"
#include "loaders/load_error.h"

namespace veltrane::loaders {
namespace {

MeshFace Face(std::initializer_list<int> refs, int color = 0, bool singleSided = true,
              int material = 0) {
  MeshFace f;
  for (int r : refs) f.corner[static_cast<std::size_t>(f.cornerCount++)] = r;
  f.color = color;
  f.singleSided = singleSided;
  f.material = material;
  return f;
}

// Adds vertex + untextured reference, returns the reference.
int Point(MeshBuild& mb, double x, double y, double z) {
  return mb.AddVertexRef(mb.AddVertex({x, y, z}), false, 0, 0);
}

float Len(const rm::Vector& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

TEST(MeshBuildSearch, VerticesMergeWithinTolerance) {
  MeshBuild mb;
  EXPECT_EQ(mb.AddVertex({0, 0, 0}), 0);
  EXPECT_EQ(mb.AddVertex({0.00005, 0, 0}), 0);  // within 1e-4
  EXPECT_EQ(mb.AddVertex({0.0002, 0, 0}), 1);
  // Both candidates lie within range: the highest-numbered wins.
  EXPECT_EQ(mb.AddVertex({0.0001, 0, 0}), 1);
  EXPECT_EQ(mb.Vertices().size(), 2u);
}

TEST(MeshBuildSearch, IndexedSearchAgreesWithAFullScan) {
  // Points on a coarse lattice with jitter around the merge distance, so that
  // many land just inside or just outside 1e-4 of an earlier one.
  MeshBuild mb;
  std::vector<MeshVertex> all;
  std::uint32_t seed = 12345;
  const auto next = [&] {
    seed = seed * 134775813u + 1u;
    return seed / 4294967296.0;
  };
  for (int i = 0; i < 4000; ++i) {
    const MeshVertex p{std::floor(next() * 4) * 3e-4 + (next() - 0.5) * 2.4e-4,
                       std::floor(next() * 4) * 3e-4 + (next() - 0.5) * 2.4e-4,
                       -1.0 + next() * 1e-4};
    int expected = -1;
    for (std::size_t k = all.size(); k-- > 0;) {
      const double dx = all[k].x - p.x, dy = all[k].y - p.y, dz = all[k].z - p.z;
      if (std::sqrt(dx * dx + dy * dy + dz * dz) <= 1e-4) {
        expected = static_cast<int>(k);
        break;
      }
    }
    const int got = mb.AddVertex(p);
    if (expected < 0) {
      ASSERT_EQ(got, static_cast<int>(all.size())) << i;
      all.push_back(p);
    } else {
      ASSERT_EQ(got, expected) << i;
    }
  }
  EXPECT_GT(all.size(), 50u);
  EXPECT_LT(all.size(), 3900u);
}

TEST(MeshBuildSearch, SearchSeesVerticesChangedInPlaceAndSurvivesADroppedIndex) {
  MeshBuild mb;
  mb.AddVertex({0, 0, 0});
  mb.MutableVertices()[0] = {5, 5, 5};
  EXPECT_EQ(mb.AddVertex({5, 5, 5.00001}), 0);
  EXPECT_EQ(mb.AddVertex({0, 0, 0}), 1);
  // Once the search structures are freed, the same questions get the same answers.
  EXPECT_EQ(mb.AddVertexRef(1, true, 3, 4), 0);
  mb.DropSearchIndex();
  EXPECT_EQ(mb.AddVertex({5, 5, 5.00001}), 0);
  EXPECT_EQ(mb.AddVertexRef(1, true, 3, 4), 0);
  EXPECT_EQ(mb.AddVertexRef(1, true, 3, 5), 1);
  mb.DropSearchIndex();
  EXPECT_EQ(mb.AddVertexRef(1, true, 3, 5), 1);  // one appended after a drop is found too
}

TEST(MeshBuildSearch, ReferencesKeyOnVertexFlagAndCoordinates) {
  MeshBuild mb(true);
  EXPECT_EQ(mb.AddVertexRef(0, true, 10, 20), 0);
  EXPECT_EQ(mb.AddVertexRef(0, true, 10, 20), 0);
  EXPECT_EQ(mb.AddVertexRef(0, true, 10, 21), 1);
  EXPECT_EQ(mb.AddVertexRef(0, false, 10, 20), 2);
  // Untextured references ignore u and v.
  EXPECT_EQ(mb.AddVertexRef(0, false, 99, 99), 2);

  MeshBuild off(false);
  EXPECT_EQ(off.AddVertexRef(3, true, 1, 2), 0);
  EXPECT_FALSE(off.Refs()[0].textured);  // textures disabled wins
  EXPECT_EQ(off.AddVertexRef(3, false, 5, 6), 0);
}

TEST(MeshBuildSearch, HintedVariantsCompareOnlyTheHint) {
  MeshBuild mb(true);
  const int v0 = mb.AddVertexHinted({0, 0, 0}, -1);
  EXPECT_EQ(mb.AddVertexHinted({0.0009, 0, 0}, v0), v0);  // wider tolerance than the full search
  EXPECT_EQ(mb.AddVertexHinted({0, 0, 0}, 5), 1);         // hint out of range: append
  EXPECT_EQ(mb.AddVertexHinted({0, 0, 0}, 1), 1);
  EXPECT_EQ(mb.AddVertexHinted({0.0, 0.0, 0.0}, -1), 2);  // no hint, no search

  const int r0 = mb.AddVertexRefHinted(0, true, 1, 2, -1);
  EXPECT_EQ(mb.AddVertexRefHinted(0, true, 1, 2, r0), r0);
  EXPECT_EQ(mb.AddVertexRefHinted(0, true, 1, 3, r0), 1);
  EXPECT_EQ(mb.AddVertexRefHinted(1, true, 1, 2, r0), 2);
}

TEST(MeshBuildSearch, ColoursAndMaterials) {
  MeshBuild mb;
  EXPECT_EQ(mb.FindColor(1, 0, 0, 1), 0);
  EXPECT_EQ(mb.FindColor(1, 0, 0, 0.5), 1);
  EXPECT_EQ(mb.FindColor(1, 0, 0, 1), 0);
  mb.AppendColor({1, 0, 0, 1});
  EXPECT_EQ(mb.FindColor(1, 0, 0, 1), 2);  // highest-numbered match

  EXPECT_EQ(mb.FindMaterial(20, 0, 0, 0, .5, .5, .5), 1);  // entry 0 is never used
  EXPECT_EQ(mb.FindMaterial(6, 0, 0, 0, .5, .5, .5), 2);
  EXPECT_EQ(mb.FindMaterial(20, 0, 0, 0, .5, .5, .5), 1);
  EXPECT_EQ(mb.Materials().size(), 3u);
}

TEST(MeshBuildSearch, TablesStopAtTheSanityLimit) {
  MeshBuild mb;
  // Fill the colour table cheaply up to the limit; the next entry is refused.
  for (std::size_t i = 0; i < MeshBuild::kMaxEntries; ++i) mb.AppendColor({});
  EXPECT_THROW(mb.AppendColor({}), LoadError);
  EXPECT_THROW(mb.FindColor(0.5, 0.5, 0.5, 1), LoadError);
  EXPECT_EQ(mb.Colors().size(), MeshBuild::kMaxEntries);
}

TEST(PackColor, TruncatesAndClamps) {
  EXPECT_EQ(PackColor({1.0, 0.5, 0.0, 1.0}), 0xFFFF7F00u);
  EXPECT_EQ(PackColor({0.8, 0.8, 0.8, 0.25}), 0x3FCCCCCCu);
  // Out-of-range components must not spill into the neighbouring byte.
  EXPECT_EQ(PackColor({2.0, -1.0, 0.0, 1.0}), 0xFFFF0000u);
  EXPECT_EQ(PackColor({std::nan(""), 0, 0, 1}), 0xFF000000u);
}

class AssembleTest : public ::testing::Test {
 protected:
  rm::Root root;
  rm::MeshBuilder target;
};

TEST_F(AssembleTest, CoplanarTrianglesShareOneNormal) {
  MeshBuild mb;
  mb.AppendColor({1, 0, 0, 1});
  const int a = Point(mb, 0, 0, 0), b = Point(mb, 0, 0, 1), c = Point(mb, 1, 0, 0),
            d = Point(mb, 1, 0, 1);
  mb.AppendFace(Face({a, b, c}));
  mb.AppendFace(Face({c, b, d}));
  AssembleMesh(mb, root, target);

  ASSERT_EQ(target.Faces().size(), 2u);
  ASSERT_EQ(target.Normals().size(), 4u);  // one per vertex, no splits
  for (const auto& f : target.Faces())
    for (const auto& c2 : f.corners) {
      const rm::Vector n = target.Normals()[c2.normal];
      EXPECT_NEAR(n.x, 0, 1e-6);
      EXPECT_NEAR(std::abs(n.y), 1, 1e-6);
      EXPECT_NEAR(n.z, 0, 1e-6);
    }
  // Both faces' corner b use the same normal.
  EXPECT_EQ(target.Faces()[0].corners[1].normal, target.Faces()[1].corners[1].normal);
  EXPECT_EQ(target.Quality(), rm::quality::kSolidLitPhong);
  EXPECT_TRUE(target.Perspective());
  EXPECT_EQ(target.Faces()[0].color, 0xFFFF0000u);
}

TEST_F(AssembleTest, ThinPlateSplitsNormalsBetweenTopAndBottom) {
  MeshBuild mb;
  mb.AppendColor({1, 1, 1, 1});
  const int a = Point(mb, 0, 0, 0), b = Point(mb, 0, 0, 1), c = Point(mb, 1, 0, 1),
            d = Point(mb, 1, 0, 0);
  mb.AppendFace(Face({a, b, c, d}));  // top
  mb.AppendFace(Face({d, c, b, a}));  // bottom: same vertices, opposite turning sense
  AssembleMesh(mb, root, target);

  ASSERT_EQ(target.Normals().size(), 8u);  // 4 collected + 4 split off
  const auto& top = target.Faces()[0];
  const auto& bottom = target.Faces()[1];
  const float topY = target.Normals()[top.corners[0].normal].y;
  EXPECT_NEAR(std::abs(topY), 1.0f, 1e-6);
  for (const auto& c2 : top.corners) EXPECT_FLOAT_EQ(target.Normals()[c2.normal].y, topY);
  for (const auto& c2 : bottom.corners) {
    EXPECT_FLOAT_EQ(target.Normals()[c2.normal].y, -topY);
    EXPECT_GE(c2.normal, 4u);
  }
}

TEST_F(AssembleTest, FoldBelowTheSplitAngleIsSmoothed) {
  // Two faces meeting at 90 degrees: their normals are averaged, not split.
  MeshBuild mb;
  mb.AppendColor({1, 1, 1, 1});
  const int a = Point(mb, 0, 0, 0), b = Point(mb, 0, 0, 1), c = Point(mb, 1, 0, 0),
            e = Point(mb, 0, 1, 0);
  mb.AppendFace(Face({a, b, c}));
  mb.AppendFace(Face({a, e, b}));
  AssembleMesh(mb, root, target);
  ASSERT_EQ(target.Normals().size(), 4u);
  const rm::Vector n = target.Normals()[target.Faces()[0].corners[0].normal];
  EXPECT_NEAR(Len(n), 1.0f, 1e-6);
  EXPECT_NEAR(std::abs(n.x), std::sqrt(0.5f), 1e-6);
  EXPECT_NEAR(std::abs(n.y), std::sqrt(0.5f), 1e-6);
}

TEST_F(AssembleTest, TwoCornerFacesSkipNormalsButAreHandedOn) {
  MeshBuild mb;
  mb.AppendColor({0, 0, 0, 1});
  const int a = Point(mb, 0, 0, 0), b = Point(mb, 1, 0, 0);
  mb.AppendFace(Face({a, b}));
  AssembleMesh(mb, root, target);
  ASSERT_EQ(target.Faces().size(), 1u);
  EXPECT_EQ(target.Faces()[0].corners.size(), 2u);
  for (const auto& n : target.Normals()) EXPECT_EQ(n, (rm::Vector{0, 0, 0}));
}

TEST_F(AssembleTest, DoubleSidedFaceGetsReversedBackFaceAndFlatQuality) {
  MeshBuild mb;
  mb.AppendColor({1.0, 0.5, 0.0, 1.0});
  mb.AppendColor({0, 0, 1, 0.5});
  const int mat = mb.FindMaterial(20, 0, 0, 0, 0.5, 0.5, 0.5);
  const int a = Point(mb, 0, 0, 0), b = Point(mb, 0, 0, 1), c = Point(mb, 1, 0, 0),
            d = Point(mb, 5, 5, 5);
  mb.AppendFace(Face({a, b, c}, 0, false, mat));
  mb.AppendFace(Face({a, c, d}, 1, true, mat));
  AssembleMesh(mb, root, target);

  ASSERT_EQ(target.Faces().size(), 3u);
  const auto& front = target.Faces()[0];
  const auto& back = target.Faces()[1];
  ASSERT_EQ(back.corners.size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(back.corners[k].vertex, front.corners[2 - k].vertex);
    EXPECT_EQ(back.corners[k].normal, front.corners[2 - k].normal);  // normals are not reversed
  }
  EXPECT_EQ(front.color, 0xFFFF7F00u);
  EXPECT_EQ(back.color, 0xFFFF7F00u);
  EXPECT_EQ(target.Faces()[2].color, 0x7F0000FFu);
  ASSERT_TRUE(front.material);
  EXPECT_EQ(front.material, back.material);
  EXPECT_EQ(front.material, target.Faces()[2].material);  // one material object per entry
  EXPECT_FLOAT_EQ(front.material->power, 20.0f);
  EXPECT_FLOAT_EQ(front.material->specular.g, 0.5f);
  EXPECT_EQ(target.Quality(), rm::quality::kSolidLitFlat);
}

TEST_F(AssembleTest, FaceWithoutMaterialGetsNone) {
  MeshBuild mb;
  mb.AppendColor({0, 0, 0, 1});
  mb.AppendFace(Face({Point(mb, 0, 0, 0), Point(mb, 1, 0, 0), Point(mb, 0, 1, 0)}));
  AssembleMesh(mb, root, target);
  EXPECT_FALSE(target.Faces()[0].material);
}

TEST_F(AssembleTest, VertexListHasOneEntryPerReference) {
  MeshBuild mb(true);
  mb.AppendColor({0, 0, 0, 1});
  const int v = mb.AddVertex({1, 2, 3});
  const int r0 = mb.AddVertexRef(v, true, 0, 0);
  const int r1 = mb.AddVertexRef(v, true, 255, 0);
  const int r2 = mb.AddVertexRef(mb.AddVertex({4, 5, 6}), true, 0, 255);
  mb.AppendTexture({"missing.bmp", false});
  mb.AppendFace(Face({r0, r1, r2}));
  AssembleMesh(mb, root, target);
  ASSERT_EQ(target.Vertices().size(), 3u);
  EXPECT_EQ(target.Vertices()[0], (rm::Vector{1, 2, 3}));
  EXPECT_EQ(target.Vertices()[1], (rm::Vector{1, 2, 3}));
  // Missing texture: no texture, but coordinates are still set.
  EXPECT_FALSE(target.Faces()[0].texture);
  EXPECT_FLOAT_EQ(target.Faces()[0].corners[1].u, 1.0f);
  EXPECT_FLOAT_EQ(target.Faces()[0].corners[2].v, 1.0f);
}

TEST_F(AssembleTest, TexturesLoadWithMipmapsAndDecalTransparency) {
  std::vector<std::string> decoded;
  root.SetPictureDecoder([&](const std::string& path) -> std::optional<rm::Picture> {
    decoded.push_back(path);
    return rm::Picture{1, 1, {1, 2, 3, 255}};
  });
  MeshBuild mb(true);
  const int r0 = mb.AddVertexRef(mb.AddVertex({0, 0, 0}), true, 0, 0);
  const int r1 = mb.AddVertexRef(mb.AddVertex({1, 0, 0}), true, 51, 0);
  const int r2 = mb.AddVertexRef(mb.AddVertex({0, 1, 0}), true, 0, 102);
  // Use an existing file so the root finds it.
  mb.AppendTexture({VELTRANE_TEST_DIR "/mesh_build_test.cpp", false});
  mb.AppendTexture({VELTRANE_TEST_DIR "/mesh_build_test.cpp", true});
  MeshFace f = Face({r0, r1, r2}, 0, false);
  f.texture = 1;
  mb.AppendFace(f);
  AssembleMesh(mb, root, target);

  ASSERT_EQ(decoded.size(), 2u);
  ASSERT_EQ(target.Faces().size(), 2u);
  const auto& front = target.Faces()[0];
  const auto& back = target.Faces()[1];
  ASSERT_TRUE(front.texture);
  EXPECT_TRUE(front.texture->mipmap);
  EXPECT_TRUE(front.texture->decalTransparency);
  EXPECT_EQ(front.texture, back.texture);
  EXPECT_FLOAT_EQ(front.corners[1].u, 0.2f);
  EXPECT_FLOAT_EQ(front.corners[2].v, 0.4f);
  // The back face gets no texture coordinates.
  for (const auto& c : back.corners) {
    EXPECT_EQ(c.u, 0.0f);
    EXPECT_EQ(c.v, 0.0f);
  }
}

TEST_F(AssembleTest, NoTextureEntriesMeansNoTextureCall) {
  int calls = 0;
  root.SetPictureDecoder([&](const std::string&) -> std::optional<rm::Picture> {
    ++calls;
    return std::nullopt;
  });
  MeshBuild mb(true);
  mb.AppendColor({0, 0, 0, 1});
  mb.AppendFace(Face({Point(mb, 0, 0, 0), Point(mb, 1, 0, 0), Point(mb, 0, 1, 0)}));
  AssembleMesh(mb, root, target);
  EXPECT_EQ(calls, 0);
  EXPECT_FALSE(target.Faces()[0].texture);
}

TEST_F(AssembleTest, EmptyFacesAreDroppedWithoutShiftingLaterColours) {
  MeshBuild mb;
  mb.AppendColor({1, 0, 0, 1});
  mb.AppendColor({0, 1, 0, 1});
  MeshFace empty;
  empty.cornerCount = 0;
  mb.AppendFace(empty);
  mb.AppendFace(Face({Point(mb, 0, 0, 0), Point(mb, 1, 0, 0), Point(mb, 0, 1, 0)}, 1));
  AssembleMesh(mb, root, target);
  ASSERT_EQ(target.Faces().size(), 1u);
  EXPECT_EQ(target.Faces()[0].color, 0xFF00FF00u);
}

TEST_F(AssembleTest, BadIndicesFailBeforeTouchingTheTarget) {
  const auto expectRejected = [&](MeshBuild& mb) {
    const auto generation = target.Generation();
    EXPECT_THROW(AssembleMesh(mb, root, target), LoadError);
    EXPECT_EQ(target.Generation(), generation);
    EXPECT_TRUE(target.Faces().empty());
  };
  {
    MeshBuild mb;
    mb.AppendColor({});
    mb.AppendFace(Face({0, 1, 7}));  // no such references
    expectRejected(mb);
  }
  {
    MeshBuild mb;
    mb.AppendFace(
        Face({Point(mb, 0, 0, 0), Point(mb, 1, 0, 0), Point(mb, 0, 1, 0)}, 3));  // no colour 3
    expectRejected(mb);
  }
  {
    MeshBuild mb;
    mb.AppendColor({});
    mb.AppendFace(Face({Point(mb, 0, 0, 0), Point(mb, 1, 0, 0), Point(mb, 0, 1, 0)}, 0, true, 4));
    expectRejected(mb);
  }
  {
    MeshBuild mb;
    mb.AppendColor({});
    mb.AppendVertexRef(12, false, 0, 0);  // reference to a missing vertex
    mb.AppendFace(Face({0, 0, 0}));
    expectRejected(mb);
  }
}

TEST(MeshBuildStatistics, CountsWhatWasCollected) {
  MeshBuild mb;
  mb.AppendColor({1, 0, 0, 1});
  mb.AppendColor({0, 1, 0, 1});
  mb.FindMaterial(20, 0, 0, 0, .5, .5, .5);
  const int a = Point(mb, 0, 0, 0), b = Point(mb, 1, 0, 0), c = Point(mb, 0, 1, 0),
            d = Point(mb, 1, 1, 0);
  mb.AppendFace(Face({a, b, c}, 0));
  mb.AppendFace(Face({a, b, c, d}, 1, false));
  mb.AppendFace(Face({a, b}, 1));
  const MeshBuildStats s = Statistics(mb);
  EXPECT_EQ(s.vertices, 4u);
  EXPECT_EQ(s.references, 4u);
  EXPECT_EQ(s.faces, 3u);
  EXPECT_EQ(s.singleSidedFaces, 2u);
  EXPECT_EQ(s.facesByCornerCount[2], 1u);
  EXPECT_EQ(s.facesByCornerCount[3], 1u);
  EXPECT_EQ(s.facesByCornerCount[4], 1u);
  EXPECT_EQ(s.facesByColor, (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(s.materials, 1u);
  EXPECT_EQ(s.textures, 0u);
}

}  // namespace
}  // namespace veltrane::loaders
