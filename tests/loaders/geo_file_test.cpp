#include "loaders/geo_file.h"

#include <gtest/gtest.h>

#include <cmath>

#include "loaders/load_error.h"
#include "support/temp_dir.h"

namespace veltrane::loaders {
namespace {

class GeoTest : public ::testing::Test {
 protected:
  MeshBuild Load(const std::string& text, bool textures = true) {
    path = dir.Write("plane.geo", text);
    return LoadGEO(path, root, textures, target, state, trace.Sink());
  }
  std::string Error(const std::string& text) {
    try {
      Load(text);
    } catch (const LoadError& e) {
      return e.what();
    }
    ADD_FAILURE() << "no error";
    return {};
  }
  static std::size_t CountColor(const MeshBuild& mb, double r, double g, double b, double a) {
    std::size_t n = 0;
    for (const auto& f : mb.Faces()) {
      const ColorEntry& c = mb.Colors()[static_cast<std::size_t>(f.color)];
      n += c.r == r && c.g == g && c.b == b && c.a == a;
    }
    return n;
  }

  test_support::TempDir dir;
  std::string path;
  rm::Root root;
  rm::MeshBuilder target;
  SimState state;
  TraceCapture trace;
};

TEST_F(GeoTest, OnlyEndGivesEmptyMeshAndStillReadsPar) {
  dir.Write("PLANE.PAR", "1\n");  // helicopter; found despite the case
  state.GroundClearance = 3;
  const MeshBuild mb = Load("END\n");
  EXPECT_TRUE(mb.Faces().empty());
  EXPECT_EQ(state.GroundClearance, 0.0);
  EXPECT_EQ(state.iModelStyle, 1);
  ASSERT_GE(trace.Lines().size(), 2u);
  EXPECT_EQ(trace.Lines()[0], "LoadLib.LoadGEO File: " + path + "\r\n");
  EXPECT_EQ(trace.Lines()[1].rfind("LoadLib.LoadPAR File: ", 0), 0u);
}

TEST_F(GeoTest, TriangleIsConvertedToDisplayAxesAndReversed) {
  const MeshBuild mb = Load(
      "OBJECT BODY 0 0 0 1 0 0 0 1 0\n"
      "TEXTURE OFF COLOR 1 0.5 0 0 0 TRIANGLES\n"
      "1 2 3   4 5 6   7 8 9\n"
      "END\n");
  ASSERT_EQ(mb.Faces().size(), 1u);
  const MeshFace& f = mb.Faces()[0];
  ASSERT_EQ(f.cornerCount, 3);
  // File (x, y, z) -> display (y, z, -x); corners stored last first.
  const auto vertexOf = [&](int corner) {
    return mb.Vertices()[static_cast<std::size_t>(
        mb.Refs()[static_cast<std::size_t>(f.corner[static_cast<std::size_t>(corner)])].vertex)];
  };
  EXPECT_DOUBLE_EQ(vertexOf(0).x, 8);
  EXPECT_DOUBLE_EQ(vertexOf(0).y, 9);
  EXPECT_DOUBLE_EQ(vertexOf(0).z, -7);
  EXPECT_DOUBLE_EQ(vertexOf(2).x, 2);
  EXPECT_FALSE(f.singleSided);  // cull off by default
  EXPECT_EQ(target.Quality(), rm::quality::kSolidLitFlat);
  EXPECT_EQ(target.Faces().size(), 2u);
  EXPECT_EQ(target.Faces()[0].color, 0xFFFF7F00u);
  ASSERT_TRUE(target.Faces()[0].material);
  EXPECT_FLOAT_EQ(target.Faces()[0].material->power, 20.0f);
}

TEST_F(GeoTest, RepeatedCornersAreRemoved) {
  const MeshBuild mb = Load(
      "OBJECT BODY 0 0 0 1 0 0 0 1 0 TEXTURE OFF CULL on\n"
      "QUADS 0 0 0  1 0 0  1 1 0  1 1 0\n"  // 3rd == 4th: a triangle
      "TRIANGLES 0 0 0  0 0 0  0 0 1\n"     // two equal corners: two corners
      "0 0 0  2 0 0  0 0 0.00005\n"         // first == last (within 1e-4)
      "END\n");
  ASSERT_EQ(mb.Faces().size(), 3u);
  EXPECT_EQ(mb.Faces()[0].cornerCount, 3);
  EXPECT_EQ(mb.Faces()[1].cornerCount, 2);
  EXPECT_EQ(mb.Faces()[2].cornerCount, 2);
  for (const auto& f : mb.Faces()) EXPECT_TRUE(f.singleSided);
  EXPECT_EQ(target.Quality(), rm::quality::kSolidLitPhong);
}

TEST_F(GeoTest, PropellerDiscOnlyWhenEnabled) {
  const MeshBuild off = Load(
      "OBJECT PROPELLER 0.1  1 0 0  0 0 0  0 0\n"
      "TEXTURE OFF TRIANGLES 0 0 0 1 0 0 0 1 0\n"
      "END\n");
  EXPECT_TRUE(off.Faces().empty());

  target = rm::MeshBuilder{};
  const MeshBuild on = Load(
      "OBJECT PROPELLER 0.1  1 0 0  0 0 0  1 0\n"
      "TEXTURE OFF COLOR 0 1 0 x x TRIANGLES 0 0 0 1 0 0 0 1 0\n"
      "END\n");
  EXPECT_EQ(on.Faces().size(), 33u);
  EXPECT_EQ(CountColor(on, 0.8, 0.8, 0.8, 0.25), 32u);
  EXPECT_EQ(CountColor(on, 0, 1, 0, 1), 1u);  // the colour before the disc is back in force
  // The disc lies across the axis (file x = display -z) with radius 0.1.
  int rim = 0;
  for (const auto& v : on.Vertices())
    if (std::abs(std::hypot(v.x, v.y) - 0.1) < 1e-9 && std::abs(v.z) < 1e-12) ++rim;
  EXPECT_EQ(rim, 16);
}

TEST_F(GeoTest, TwoWheelAddsMirroredPairAndMovesTheObject) {
  const MeshBuild mb = Load(
      "OBJECT TWO_WHEEL 0.06  0 1 0  0.1 0.2 -0.05  1 0\n"
      "TEXTURE OFF TRIANGLES 0 0 0  0 0 0.01  0.01 0 0\n"
      "END\n");
  EXPECT_EQ(CountColor(mb, 0.1, 0.1, 0.1, 1.0), 72u);
  ASSERT_EQ(mb.Faces().size(), 73u);
  // Wheel centres at file y = +-0.2 (display x); the object's own triangle at -0.2.
  double minX = 1e9, maxX = -1e9;
  for (const auto& v : mb.Vertices()) {
    minX = std::min(minX, v.x);
    maxX = std::max(maxX, v.x);
  }
  EXPECT_NEAR(maxX, 0.2 + 0.02, 1e-9);  // half width r/3 along the axis
  EXPECT_NEAR(minX, -0.2 - 0.02, 1e-9);
  const MeshFace& own = mb.Faces().back();
  for (int k = 0; k < own.cornerCount; ++k) {
    const auto& v = mb.Vertices()[static_cast<std::size_t>(
        mb.Refs()[static_cast<std::size_t>(own.corner[static_cast<std::size_t>(k)])].vertex)];
    EXPECT_NEAR(v.x, -0.2, 0.011);
  }
  // The lowest wheel point: z = -0.05 - 0.06.
  EXPECT_NEAR(state.GroundClearance, 0.11, 1e-9);
}

TEST_F(GeoTest, AlphaStaysInForceForLaterColours) {
  const MeshBuild mb = Load(
      "OBJECT BODY 0 0 0 1 0 0 0 1 0 TEXTURE OFF TRIANGLES\n"
      "COLOR 1 0 0 0 0 ALPHA 0.5 0 0 0 1 0 0 0 1 0\n"
      "COLOR 1 1 1 0 0 0 0 0 1 0 0 0 1 1\n"
      "END\n");
  ASSERT_EQ(mb.Faces().size(), 2u);
  const ColorEntry& first = mb.Colors()[static_cast<std::size_t>(mb.Faces()[0].color)];
  EXPECT_EQ(first.r, 1.0);
  EXPECT_EQ(first.a, 0.5);
  const ColorEntry& second = mb.Colors()[static_cast<std::size_t>(mb.Faces()[1].color)];
  EXPECT_EQ(second.g, 1.0);
  EXPECT_EQ(second.a, 0.5);
  ASSERT_EQ(target.Faces().size(), 4u);  // both double-sided
  EXPECT_EQ(target.Faces()[2].color, 0x7FFFFFFFu);
}

TEST_F(GeoTest, GroundClearanceIsTheDepthOfTheLowestPoint) {
  Load("SCALE 0.01 OBJECT BODY 0 0 0 1 0 0 0 1 0 TEXTURE OFF TRIANGLES 0 0 -12 10 0 0 0 10 5 END");
  EXPECT_NEAR(state.GroundClearance, 0.12, 1e-12);
  target = rm::MeshBuilder{};
  Load("OBJECT BODY 0 0 0 1 0 0 0 1 0 TEXTURE OFF TRIANGLES 0 0 1 1 0 1 0 1 1 END");
  EXPECT_EQ(state.GroundClearance, 0.0);
}

TEST_F(GeoTest, ScaleAtTopLevelAndInsideAnObject) {
  // Top level: the next header position and its points use 2; inside: only later points use 10.
  const MeshBuild mb = Load(
      "SCALE 2\n"
      "OBJECT BODY 0 0 0 1 1 0 0 1 0 TEXTURE OFF TRIANGLES\n"
      "1 0 0  0 1 0  0 0 1\n"
      "SCALE 10\n"
      "1 0 0  0 2 0  0 0 2\n"
      "END\n");
  ASSERT_EQ(mb.Faces().size(), 2u);
  // Display (y, z, -x): file x = -display z.
  const auto fileX = [&](int face, int corner) {
    const MeshFace& f = mb.Faces()[static_cast<std::size_t>(face)];
    return -mb
                .Vertices()[static_cast<std::size_t>(
                    mb.Refs()[static_cast<std::size_t>(f.corner[static_cast<std::size_t>(corner)])]
                        .vertex)]
                .z;
  };
  EXPECT_DOUBLE_EQ(fileX(0, 2), 1 * 2 + 1 * 2);   // point x 1 scaled 2, plus T.x = 1 * 2
  EXPECT_DOUBLE_EQ(fileX(1, 2), 1 * 10 + 1 * 2);  // header position keeps the old scale
}

TEST_F(GeoTest, LinesBecomeThinTubes) {
  const MeshBuild mb = Load(
      "OBJECT BODY 0 0 0 1 0 0 0 1 0 TEXTURE OFF LINES\n"
      "0 0 0  1 0 0\n"
      "END\n");
  ASSERT_EQ(mb.Faces().size(), 4u);
  EXPECT_EQ(mb.Vertices().size(), 8u);
  for (const auto& f : mb.Faces()) {
    EXPECT_EQ(f.cornerCount, 4);
    EXPECT_TRUE(f.singleSided);
  }
  double maxOff = 0;
  for (const auto& v : mb.Vertices()) maxOff = std::max({maxOff, std::abs(v.x), std::abs(v.y)});
  EXPECT_NEAR(maxOff, 0.0025, 1e-12);
}

TEST_F(GeoTest, TexturedFacesNameTheBmpBeside) {
  dir.Write("PLANE.BMP", "x");
  std::vector<std::string> decoded;
  root.SetPictureDecoder([&](const std::string& p) -> std::optional<rm::Picture> {
    decoded.push_back(p);
    return rm::Picture{1, 1, {0, 0, 0, 255}};
  });
  const MeshBuild mb = Load(
      "OBJECT BODY 0 0 0 1 0 0 0 1 0 TRIANGLES\n"
      "0 0  0 0 0   255 0  1 0 0   0 255  0 1 0\n"
      "END\n");
  ASSERT_EQ(mb.Textures().size(), 1u);
  EXPECT_EQ(mb.Textures()[0].file, dir.Path() + "/plane.bmp");
  ASSERT_EQ(decoded.size(), 1u);
  EXPECT_EQ(decoded[0], dir.Path() + "/PLANE.BMP");
  ASSERT_TRUE(target.Faces()[0].texture);
  EXPECT_TRUE(target.Faces()[0].texture->mipmap);
}

TEST_F(GeoTest, DisabledTexturesStillReadCoordinates) {
  int calls = 0;
  root.SetPictureDecoder([&](const std::string&) -> std::optional<rm::Picture> {
    ++calls;
    return std::nullopt;
  });
  const MeshBuild mb = Load(
      "OBJECT BODY 0 0 0 1 0 0 0 1 0 TEXTURE ON TRIANGLES\n"
      "0 0  0 0 0   255 0  1 0 0   0 255  0 1 0\n"
      "END\n",
      false);
  ASSERT_EQ(mb.Faces().size(), 1u);
  EXPECT_EQ(mb.Vertices().size(), 3u);
  EXPECT_TRUE(mb.Textures().empty());
  for (const auto& r : mb.Refs()) EXPECT_FALSE(r.textured);
  EXPECT_EQ(calls, 0);
}

TEST_F(GeoTest, SkippedSectionsKeepStateKeywords) {
  const MeshBuild mb = Load(
      "SHADOW anything 1 2 3 COLOR 0 0 1 a b ALPHA 0.3 TEXTURE OFF\n"
      "OBJECT BODY 0 0 0 1 0 0 0 1 0 TRIANGLES 0 0 0 1 0 0 0 1 0\n"
      "CHANNEL words here QUADS\n"
      "OBJECT strange 1 2 3\n"
      "OBJECT BODY 0 0 0 1 0 0 0 1 0 0 0 0 1 0 0 1 1 0 0 1 0\n"
      "END\n");
  ASSERT_EQ(mb.Faces().size(), 2u);
  EXPECT_EQ(mb.Faces()[1].cornerCount, 4);  // QUADS from the skipped channel section
  const ColorEntry& c = mb.Colors()[static_cast<std::size_t>(mb.Faces()[0].color)];
  EXPECT_EQ(c.b, 1.0);
  EXPECT_EQ(c.a, 1.0);  // ALPHA in a skipped section has no effect
}

TEST_F(GeoTest, CommentsAndMissingEnd) {
  const MeshBuild mb = Load(
      "// a model\n"
      "OBJECT BODY 0 0 0 1 0 0 0 1 0 TEXTURE off // comment\n"
      "TRIANGLES 0 0 0 1 0 0 0 1 1.5// no blank before the comment\n");
  ASSERT_EQ(mb.Faces().size(), 1u);
  EXPECT_DOUBLE_EQ(mb.Vertices()[2].y, 1.5);  // file z
}

TEST_F(GeoTest, ErrorsStopBeforeAnythingChanges) {
  state.GroundClearance = 5;
  state.Airplane.MaxThrust = 9;
  dir.Write("plane.par", "0\n1\n");
  const std::string msg =
      Error("OBJECT BODY 0 0 0 1 0 0 0 1 0 TEXTURE OFF TRIANGLES 0 0 0 1,5 0 0 a b c d e f g");
  EXPECT_EQ(msg, "Error: Floating point value expected at: 1,5 0 0 A B C ... (line 1)");
  EXPECT_EQ(state.GroundClearance, 5);
  EXPECT_EQ(state.Airplane.MaxThrust, 9);
  EXPECT_TRUE(target.Faces().empty());

  // A file that ends inside a primitive or a header.
  for (const std::string cut :
       {"OBJECT BODY 0 0 0", "OBJECT BODY 0 0 0 1 0 0 0 1 0 TRIANGLES 0 0 0 1"})
    EXPECT_NE(Error(cut).find("Floating point value expected"), std::string::npos) << cut;

  EXPECT_THROW(LoadGEO(dir.Path() + "/missing.geo", root, true, target, state, trace.Sink()),
               LoadError);
}

}  // namespace
}  // namespace veltrane::loaders
