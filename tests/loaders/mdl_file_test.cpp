#include "loaders/mdl_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "loaders/load_error.h"
#include "support/temp_dir.h"

namespace veltrane::loaders {
namespace {

struct MdlText {
  double groundClearance = 0.12;
  int smooth = 1;
  std::vector<std::string> colors = {"1 255 0 0", "2 0 0 255 0.5"};
  std::vector<std::string> vertices = {"1 0 0 0", "2 1 0 0", "3 0 1 0", "4 1 2 3"};
  std::vector<std::string> parts;
  std::vector<std::string> faces = {"1 3 1 2 3 1"};

  std::string Str() const {
    std::ostringstream o;
    o << "Test model\r\n";
    for (int i = 1; i <= 25; ++i) o << i << "   // parameter " << i << "\r\n";
    o << groundClearance << "\r\n" << smooth << "\r\n";
    const auto list = [&](const std::vector<std::string>& l) {
      o << l.size() << "\r\n";
      for (const auto& s : l) o << s << "\r\n";
    };
    list(colors);
    list(vertices);
    list(parts);
    list(faces);
    return o.str();
  }
};

class MdlTest : public ::testing::Test {
 protected:
  MeshBuild Load(const MdlText& text) { return Load(text.Str()); }
  MeshBuild Load(const std::string& text) {
    const std::string path = dir.Write("Model/plane.mdl", text);
    return LoadMDL(path, root, target, state, trace.Sink());
  }
  std::string LoadError(const std::string& text) {
    try {
      Load(text);
    } catch (const loaders::LoadError& e) {
      return e.what();
    }
    ADD_FAILURE() << "no error";
    return {};
  }

  test_support::TempDir dir;
  rm::Root root;
  rm::MeshBuilder target;
  SimState state;
  TraceCapture trace;
};

TEST_F(MdlTest, ReadsParametersAndClearance) {
  state.iModelStyle = 1;
  Load(MdlText{});
  EXPECT_EQ(state.iModelStyle, 0);
  EXPECT_DOUBLE_EQ(state.Airplane.MaxThrust, 1);
  EXPECT_DOUBLE_EQ(state.Airplane.WingSpan, 15);
  EXPECT_DOUBLE_EQ(state.Airplane.WingChord, 16);
  EXPECT_DOUBLE_EQ(state.Airplane.WingArea, 15 * 16);
  EXPECT_DOUBLE_EQ(state.Airplane.Dihedral, 25);
  EXPECT_DOUBLE_EQ(state.GroundClearance, 0.12);  // as written, not computed
  ASSERT_EQ(trace.Lines().size(), 1u);
  EXPECT_EQ(trace.Lines()[0], "LoadLib.LoadMDL File: " + dir.Path() + "/Model/plane.mdl\r\n");
}

TEST_F(MdlTest, VertexAxesAndColours) {
  const MeshBuild mb = Load(MdlText{});
  ASSERT_EQ(mb.Vertices().size(), 4u);
  EXPECT_DOUBLE_EQ(mb.Vertices()[3].x, -1);
  EXPECT_DOUBLE_EQ(mb.Vertices()[3].y, 3);
  EXPECT_DOUBLE_EQ(mb.Vertices()[3].z, -2);
  ASSERT_EQ(mb.Refs().size(), 4u);
  EXPECT_EQ(mb.Refs()[3].vertex, 3);

  ASSERT_EQ(mb.Colors().size(), 3u);
  EXPECT_DOUBLE_EQ(mb.Colors()[0].r, 255.0 / 256.0);
  EXPECT_DOUBLE_EQ(mb.Colors()[0].a, 1.0);
  EXPECT_DOUBLE_EQ(mb.Colors()[1].b, 255.0 / 256.0);
  EXPECT_DOUBLE_EQ(mb.Colors()[1].a, 0.5);   // from the rest of the line
  EXPECT_DOUBLE_EQ(mb.Colors()[2].a, 0.25);  // the disc colour comes last
  EXPECT_EQ(target.Faces()[0].color, rm::PackARGB(255, 254, 0, 0));
}

TEST_F(MdlTest, AlphaIsTheLeadingNumberOfTheRest) {
  MdlText t;
  t.colors = {"1 0 0 0 0.75xyz comment", "2 0 0 0 // just a comment", "3 0 0 0\t0.2 0.9"};
  const MeshBuild mb = Load(t);
  EXPECT_DOUBLE_EQ(mb.Colors()[0].a, 0.75);
  EXPECT_DOUBLE_EQ(mb.Colors()[1].a, 1.0);
  EXPECT_DOUBLE_EQ(mb.Colors()[2].a, 0.2);
}

TEST_F(MdlTest, FacesKeepFileOrderAndGetTheModelMaterial) {
  MdlText t;
  t.faces = {"1 4 1 2 4 3 2", "2 2 1 4 1"};
  const MeshBuild mb = Load(t);
  ASSERT_EQ(mb.Faces().size(), 2u);
  EXPECT_EQ(mb.Faces()[0].cornerCount, 4);
  EXPECT_EQ(mb.Faces()[0].corner, (std::array<std::int32_t, 4>{0, 1, 3, 2}));
  EXPECT_EQ(mb.Faces()[0].color, 1);
  EXPECT_EQ(mb.Faces()[1].cornerCount, 2);
  ASSERT_EQ(mb.Materials().size(), 2u);
  EXPECT_DOUBLE_EQ(mb.Materials()[1].power, 20.0);
  EXPECT_DOUBLE_EQ(mb.Materials()[1].specularR, 0.5);
  for (const auto& f : mb.Faces()) EXPECT_EQ(f.material, 1);
}

TEST_F(MdlTest, SmoothFlagChoosesShading) {
  MdlText t;
  t.faces = {"1 3 1 2 3 1", "2 3 2 3 4 1"};
  t.smooth = 1;
  Load(t);
  EXPECT_EQ(target.Quality(), rm::quality::kSolidLitPhong);
  EXPECT_EQ(target.Faces().size(), 2u);

  target = rm::MeshBuilder{};
  t.smooth = 0;
  const MeshBuild mb = Load(t);
  EXPECT_EQ(target.Quality(), rm::quality::kSolidLitFlat);
  EXPECT_TRUE(mb.Faces()[0].singleSided);
  EXPECT_FALSE(mb.Faces()[1].singleSided);  // only the last face
  EXPECT_EQ(target.Faces().size(), 3u);
}

TEST_F(MdlTest, DiscWithSixteenSegments) {
  MdlText t;
  t.parts = {"1 0 16  0 0 1  0 0 0.5  0.3"};
  t.faces = {};
  const MeshBuild mb = Load(t);
  EXPECT_EQ(mb.Vertices().size(), 4u + 17u);
  EXPECT_EQ(mb.Refs().size(), mb.Vertices().size());
  ASSERT_EQ(mb.Faces().size(), 32u);
  for (const auto& f : mb.Faces()) {
    EXPECT_EQ(f.cornerCount, 3);
    EXPECT_EQ(f.color, 2);  // disc colour
    EXPECT_TRUE(f.singleSided);
  }
  // Back-to-back pairs around neighbouring rim points.
  EXPECT_EQ(mb.Faces()[0].corner, (std::array<std::int32_t, 4>{4, 4 + 16, 4 + 15, 0}));
  EXPECT_EQ(mb.Faces()[1].corner, (std::array<std::int32_t, 4>{4 + 15, 4 + 16, 4, 0}));
  // Hub at the centre (display axes), rim at radius 0.3 in the plane across the axis.
  const MeshVertex hub = mb.Vertices()[4];
  EXPECT_DOUBLE_EQ(hub.y, 0.5);
  for (int k = 0; k < 16; ++k) {
    const MeshVertex r = mb.Vertices()[static_cast<std::size_t>(5 + k)];
    EXPECT_NEAR(std::hypot(r.x - hub.x, r.z - hub.z), 0.3, 1e-12);
    EXPECT_NEAR(r.y, 0.5, 1e-12);
  }
  EXPECT_EQ(target.Faces()[0].color, 0x3FCCCCCCu);
}

TEST_F(MdlTest, WheelWithTwelveSegments) {
  MdlText t;
  t.parts = {"1 1 this part type is ignored entirely", "2 2 12  0 1 0  0 0 0  0.1 0.04 1"};
  t.faces = {};
  const MeshBuild mb = Load(t);
  EXPECT_EQ(mb.Vertices().size(), 4u + 26u);
  int triangles = 0, quads = 0;
  for (const auto& f : mb.Faces()) {
    triangles += f.cornerCount == 3;
    quads += f.cornerCount == 4;
    EXPECT_EQ(f.color, 0);
  }
  EXPECT_EQ(triangles, 24);
  EXPECT_EQ(quads, 12);
  // Side A's hub lies one width along the axis: file b -> display -z.
  EXPECT_NEAR(mb.Vertices()[4].z, -0.04, 1e-12);
  EXPECT_NEAR(mb.Vertices()[4 + 13].z, 0.0, 1e-12);
}

TEST_F(MdlTest, GeneratedVerticesCountInFaceNumbers) {
  MdlText t;
  t.parts = {"1 0 3  0 0 1  0 0 0  1"};
  t.faces = {"1 3 5 6 7 1"};  // hub and first two rim points of the disc
  const MeshBuild mb = Load(t);
  EXPECT_EQ(mb.Faces().back().corner, (std::array<std::int32_t, 4>{4, 5, 6, 0}));
}

TEST_F(MdlTest, MissingFileIsAnErrorAndChangesNothing) {
  state.Airplane.MaxThrust = 42;
  EXPECT_THROW(LoadMDL(dir.Path() + "/none.mdl", root, target, state, trace.Sink()),
               loaders::LoadError);
  EXPECT_DOUBLE_EQ(state.Airplane.MaxThrust, 42);
  EXPECT_TRUE(target.Faces().empty());
}

TEST_F(MdlTest, FileNameIsFoundCaseInsensitively) {
  dir.Write("Model/Plane.MDL", MdlText{}.Str());
  Load(MdlText{});  // writes Model/plane.mdl too; make sure the other spelling also resolves
  target = rm::MeshBuilder{};
  EXPECT_NO_THROW(LoadMDL(dir.Path() + "/model/PLANE.mdl", root, target, state, trace.Sink()));
  EXPECT_FALSE(target.Faces().empty());
}

TEST_F(MdlTest, NonNumberNamesItsLineAndChangesNothing) {
  MdlText t;
  t.vertices = {"1 0 0 0", "2 1 zero 0", "3 0 1 0", "4 1 2 3"};
  state.Airplane.MaxThrust = 42;
  state.GroundClearance = 7;
  const std::string msg = LoadError(t.Str());
  // Title, 25 parameters, clearance, smooth flag, colour count, 2 colours, vertex count, vertex 1.
  EXPECT_NE(msg.find("line 34"), std::string::npos) << msg;
  EXPECT_NE(msg.find("\"zero\""), std::string::npos) << msg;
  EXPECT_DOUBLE_EQ(state.Airplane.MaxThrust, 42);
  EXPECT_DOUBLE_EQ(state.GroundClearance, 7);
  EXPECT_TRUE(target.Faces().empty());

  std::string badParam = MdlText{}.Str();
  badParam.replace(badParam.find("\n3 "), 3, "\n3,5 ");
  EXPECT_NE(LoadError(badParam).find("line 4"), std::string::npos);
}

TEST_F(MdlTest, AbsurdCountsAreRejectedWithoutAllocating) {
  for (const char* count : {"2000000000", "-5", "1e300", "3.5"}) {
    MdlText t;
    std::string text = t.Str();
    // Replace the vertex count (the line after the colours).
    const std::string needle = "\r\n4\r\n1 0 0 0";
    const auto at = text.find(needle);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, needle.size(), std::string("\r\n") + count + "\r\n1 0 0 0");
    const std::string msg = LoadError(text);
    EXPECT_NE(msg.find("vertex count"), std::string::npos) << count << ": " << msg;
  }
  MdlText t;
  t.parts = {"1 0 2000000000  0 0 1  0 0 0  1"};
  EXPECT_NE(LoadError(t.Str()).find("segment count"), std::string::npos);
}

TEST_F(MdlTest, OutOfRangeReferencesAreRejected) {
  {
    MdlText t;
    t.faces = {"1 3 1 2 9 1"};  // only 4 vertices
    EXPECT_NE(LoadError(t.Str()).find("vertex number"), std::string::npos);
  }
  {
    MdlText t;
    t.faces = {"1 3 1 2 3 0"};  // colour numbers start at 1
    EXPECT_NE(LoadError(t.Str()).find("face colour"), std::string::npos);
  }
  {
    MdlText t;
    t.faces = {"1 5 1 2 3 4 1 1"};  // at most four corners
    EXPECT_NE(LoadError(t.Str()).find("corner count"), std::string::npos);
  }
}

TEST_F(MdlTest, AZeroAxisPartKeepsItsPointsAndSkipsItsFaces) {
  MdlText t;
  t.parts = {"1 2 12  0 0 0  0 0 0  0.1 0.04 1"};
  t.faces = {"1 3 1 2 3 1", "2 3 1 2 30 1"};  // 30: a point of the part, counted after the file's 4
  const MeshBuild mb = Load(t);
  EXPECT_EQ(mb.Vertices().size(), 4u + 26u);
  EXPECT_EQ(mb.Faces().size(), 2u);
  for (const MeshVertex& v : mb.Vertices())
    EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
  EXPECT_TRUE(trace.Contains(
      "LoadLib.LoadMDL part 1 in line 38 has a zero axis; its faces are skipped\r\n"));
}

TEST_F(MdlTest, EveryKindOfLineEndReadsAlike) {
  MdlText t;
  t.parts = {"1 0 16  1 0 0  0 0 0  0.2"};
  std::string crlf = t.Str();
  const MeshBuild reference = Load(crlf);
  const auto replaced = [&](const std::string& by) {
    std::string out;
    for (std::size_t i = 0; i < crlf.size(); ++i) {
      if (crlf.compare(i, 2, "\r\n") == 0) {
        out += by;
        ++i;
      } else {
        out += crlf[i];
      }
    }
    return out;
  };
  for (const std::string& end : {std::string("\n"), std::string("\r")}) {
    state = SimState{};
    target = rm::MeshBuilder{};
    const MeshBuild mb = Load(replaced(end));
    EXPECT_EQ(mb.Vertices().size(), reference.Vertices().size()) << (end == "\r" ? "CR" : "LF");
    EXPECT_EQ(mb.Faces().size(), reference.Faces().size());
    EXPECT_DOUBLE_EQ(state.Airplane.Dihedral, 25);
    EXPECT_DOUBLE_EQ(state.GroundClearance, 0.12);
  }
}

TEST_F(MdlTest, TruncatedFileIsReportedAtEveryCut) {
  const std::string full = MdlText{}.Str();
  // Cut after every line; each short file must fail cleanly (the full one loads).
  for (std::size_t at = full.find('\n'); at != std::string::npos && at + 1 < full.size();
       at = full.find('\n', at + 1)) {
    const std::string msg = LoadError(full.substr(0, at + 1));
    EXPECT_NE(msg.find("ends"), std::string::npos) << msg;
  }
  EXPECT_NO_THROW(Load(full));
}

TEST_F(MdlTest, ReadsExactlyFFaceLines) {
  // Text after the last face line is not read as another face.
  std::string text = MdlText{}.Str() + "garbage that is not a face\r\n";
  EXPECT_NO_THROW(Load(text));
  EXPECT_EQ(target.Faces().size(), 1u);
}

}  // namespace
}  // namespace veltrane::loaders
