#include "platform/rm/mesh_builder.h"

#include <gtest/gtest.h>

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
}

TEST(MeshBuilder, BadFaceDataLeavesTheBuilderUnchanged) {
  MeshBuilder mb;
  mb.AddFaces(kTri, kUp, std::vector<std::uint32_t>{3, 0, 0, 1, 0, 2, 0, 0});
  const auto generation = mb.Generation();
  EXPECT_THROW(mb.AddFaces(kTri, kUp, std::vector<std::uint32_t>{3, 0, 0, 1, 0, 3, 0, 0}), FaceDataError);
  EXPECT_THROW(mb.AddFaces(kTri, kUp, std::vector<std::uint32_t>{3, 0, 0, 1, 1, 2, 0, 0}), FaceDataError);
  EXPECT_THROW(mb.AddFaces(kTri, kUp, std::vector<std::uint32_t>{3, 0, 0, 1}), FaceDataError);
  EXPECT_THROW(mb.AddFaces(kTri, kUp, std::vector<std::uint32_t>{0xFFFFFFFFu, 0, 0}), FaceDataError);
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
