#include "base/rm/mesh_builder.h"

#include <gtest/gtest.h>

#include <utility>

namespace veltrane::rm {
namespace {

const std::vector<Vector> kTri = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
const std::vector<Vector> kUp = {{0, 0, 1}};

TEST(MeshBuilder, AddFacesReturnsFacesInDataOrderAndRebasesIndices) {
  MeshBuilder mb;
  const std::vector<std::uint32_t> data = {3, 0, 0, 1, 0, 2, 0, 3, 2, 0, 1, 0, 0, 0, 0};
  FaceArray first = mb.AddFaces(kTri, kUp, data);
  ASSERT_EQ(first.GetSize(), 2u);
  EXPECT_EQ(first.GetElement(1).Get().corners[0].vertex, 2u);
  EXPECT_THROW(first.GetElement(2), std::out_of_range);

  FaceArray second = mb.AddFaces(kTri, kUp, std::vector<std::uint32_t>{3, 0, 0, 1, 0, 2, 0, 0});
  ASSERT_EQ(second.GetSize(), 1u);
  const Face& f = second.GetElement(0).Get();
  EXPECT_EQ(f.corners[0].vertex, 3u);  // appended after the first call's vertices
  EXPECT_EQ(f.corners[2].normal, 1u);
  EXPECT_EQ(mb.Vertices().size(), 6u);
  EXPECT_EQ(mb.Normals().size(), 2u);
  EXPECT_EQ(mb.FaceCount(), 3u);
  EXPECT_EQ(f.color, 0xFFFFFFFFu);

  // A polygon of more corners than a face holds inline.
  const std::vector<Vector> ring = {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {1, 2, 0}, {0, 1, 0}};
  const Face& pentagon =
      mb.AddFaces(ring, kUp, std::vector<std::uint32_t>{5, 0, 0, 1, 0, 2, 0, 3, 0, 4, 0, 0})
          .GetElement(0)
          .Get();
  ASSERT_EQ(pentagon.corners.size(), 5u);
  for (std::uint32_t k = 0; k < 5; ++k) EXPECT_EQ(pentagon.corners[k].vertex, 6u + k);
}

// Corners stay inside the face up to three and move to a block beyond: both
// must read back the same through growth, copies and moves.
TEST(CornerList, KeepsItsCornersThroughGrowthCopiesAndMoves) {
  const auto filled = [](std::uint32_t n) {
    CornerList<Corner> list;
    for (std::uint32_t i = 0; i < n; ++i) list.push_back({i, 10 * i, 0.5f * i, 0.25f * i});
    return list;
  };
  const auto holds = [](const CornerList<Corner>& list, std::uint32_t n) {
    if (list.size() != n) return false;
    std::uint32_t i = 0;
    for (const Corner& c : list)
      if (c.vertex != i || c.normal != 10 * i || c.u != 0.5f * i || c.v != 0.25f * i ||
          list[i++].vertex != c.vertex)
        return false;
    return true;
  };
  for (std::uint32_t n : {0u, 2u, 3u, 4u, 9u}) {
    SCOPED_TRACE(n);
    CornerList<Corner> list = filled(n);
    EXPECT_TRUE(holds(list, n));
    const CornerList<Corner> copy(list);
    EXPECT_TRUE(holds(copy, n));
    for (std::uint32_t other : {1u, 7u}) {
      CornerList<Corner> target = filled(other);
      target = copy;
      EXPECT_TRUE(holds(target, n));
    }
    CornerList<Corner> moved(std::move(list));
    EXPECT_TRUE(holds(moved, n));
    EXPECT_TRUE(
        list.empty());  // NOLINT(bugprone-use-after-move): a moved-from list is empty and usable
    list.push_back({0, 0, 0.0f, 0.0f});
    EXPECT_TRUE(holds(list, 1));
    CornerList<Corner> assigned = filled(5);
    assigned = std::move(moved);
    EXPECT_TRUE(holds(assigned, n));
    EXPECT_TRUE(holds(copy, n));  // copies share nothing with their source
  }
}

TEST(MeshBuilder, BadFaceDataLeavesTheBuilderUnchanged) {
  MeshBuilder mb;
  mb.AddFaces(kTri, kUp, std::vector<std::uint32_t>{3, 0, 0, 1, 0, 2, 0, 0});
  const auto generation = mb.Generation();
  EXPECT_THROW(mb.AddFaces(kTri, kUp, std::vector<std::uint32_t>{3, 0, 0, 1, 0, 3, 0, 0}),
               FaceDataError);
  EXPECT_THROW(mb.AddFaces(kTri, kUp, std::vector<std::uint32_t>{3, 0, 0, 1, 1, 2, 0, 0}),
               FaceDataError);
  EXPECT_THROW(mb.AddFaces(kTri, kUp, std::vector<std::uint32_t>{3, 0, 0, 1}), FaceDataError);
  EXPECT_THROW(mb.AddFaces(kTri, kUp, std::vector<std::uint32_t>{0xFFFFFFFFu, 0, 0}),
               FaceDataError);
  EXPECT_EQ(mb.Generation(), generation);
  EXPECT_EQ(mb.Vertices().size(), 3u);
  EXPECT_EQ(mb.FaceCount(), 1u);
}

TEST(MeshBuilder, EveryDrawnChangeMovesTheGeneration) {
  MeshBuilder mb;
  auto g = mb.Generation();
  const auto changed = [&] {
    const bool moved = mb.Generation() != g;
    g = mb.Generation();
    return moved;
  };
  FaceArray faces = mb.AddFaces(kTri, kUp, std::vector<std::uint32_t>{3, 0, 0, 1, 0, 2, 0, 0});
  EXPECT_TRUE(changed());
  faces.GetElement(0).SetColor(0xFF00FF00);
  EXPECT_TRUE(changed());
  faces.GetElement(0).SetTextureCoordinates(2, 0.5f, 0.25f);
  EXPECT_TRUE(changed());
  faces.GetElement(0).SetTexture(std::make_shared<Texture>());
  EXPECT_TRUE(changed());
  faces.GetElement(0).SetMaterial(std::make_shared<Material>());
  EXPECT_TRUE(changed());
  mb.Translate(1, 0, 0);
  EXPECT_TRUE(changed());
  mb.SetQuality(quality::kSolidLitPhong);
  EXPECT_TRUE(changed());
  EXPECT_EQ(mb.Faces()[0].color, 0xFF00FF00u);
  EXPECT_EQ(mb.Faces()[0].corners[2].v, 0.25f);
  EXPECT_THROW(faces.GetElement(0).SetTextureCoordinates(3, 0, 0), std::out_of_range);
}

TEST(MeshBuilder, BoxAndTranslate) {
  MeshBuilder mb;
  Box empty = mb.GetBox();
  EXPECT_EQ(empty.min, (Vector{0, 0, 0}));
  EXPECT_EQ(empty.max, (Vector{0, 0, 0}));

  const std::vector<Vector> v = {{1, -2, 3}, {-4, 5, 0.5f}};
  mb.AddFaces(v, kUp, std::vector<std::uint32_t>{2, 0, 0, 1, 0, 0});
  Box b = mb.GetBox();
  EXPECT_EQ(b.min, (Vector{-4, -2, 0.5f}));
  EXPECT_EQ(b.max, (Vector{1, 5, 3}));
  mb.Translate(1, 2, 3);
  b = mb.GetBox();
  EXPECT_EQ(b.min, (Vector{-3, 0, 3.5f}));
}

TEST(Quality, RawValuesAndSmoothDefault) {
  EXPECT_EQ(quality::kSolidLitPhong, 0x8Au);
  EXPECT_EQ(quality::kSolidLitFlat, 0x88u);
  EXPECT_NE(MeshBuilder().Quality() & quality::kShadeMask, quality::kShadeFlat);
}

}  // namespace
}  // namespace veltrane::rm
