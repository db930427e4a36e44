#include "loaders/x_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "loaders/load_error.h"
#include "support/temp_dir.h"

// The importer leaks a few hundred bytes when it gives up on a damaged file;
// that is its own, not ours, so the leak checker is told to skip it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libassimp.so\n"; }

namespace veltrane::loaders {
namespace {

const std::string kCube = "/usr/share/assimp/models/X/test_cube_text.x";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A lowered plate: lowest y is -0.25.
const char* kPlate = R"(xof 0303txt 0032
Mesh Plate {
 4;
 0.0;-0.25;0.0;, 1.0;-0.25;0.0;, 0.0;0.5;1.0;, 1.0;0.5;1.0;;
 2;
 3;0,1,2;, 3;1,3,2;;
 MeshMaterialList { 1; 2; 0,0;; Material { 1.0;1.0;1.0;1.0;; 5.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "SKIN.BMP"; } } }
 MeshTextureCoords { 4; 0.0;0.0;, 1.0;0.0;, 0.0;1.0;, 1.0;1.0;; }
}
)";

class XFileTest : public ::testing::Test {
 protected:
  test_support::TempDir dir;
  rm::Root root;
  rm::MeshBuilder target;
  SimState state;
  TraceCapture trace;
};

TEST_F(XFileTest, LoadsGeometryClearanceAndParameters) {
  const std::string path = dir.Write("Models/Plate.x", kPlate);
  dir.Write("Models/plate.par", "1\n");
  dir.Write("Models/skin.bmp", "x");
  std::vector<std::string> decoded;
  root.SetPictureDecoder([&](const std::string& p) -> std::optional<rm::Picture> {
    decoded.push_back(p);
    return rm::Picture{1, 1, {1, 1, 1, 255}};
  });
  LoadX(path, root, target, state, trace.Sink());

  EXPECT_EQ(target.FaceCount(), 2u);
  EXPECT_DOUBLE_EQ(state.GroundClearance, 0.25);
  EXPECT_EQ(state.iModelStyle, 1);
  ASSERT_GE(trace.Lines().size(), 2u);
  EXPECT_EQ(trace.Lines()[0], "LoadLib.LoadX File: " + path + "\r\n");
  EXPECT_EQ(trace.Lines()[1].rfind("LoadLib.LoadPAR File: ", 0), 0u);
  // The texture named in the file was found beside it, whatever its case.
  EXPECT_EQ(decoded, std::vector<std::string>{dir.Path() + "/Models/skin.bmp"});
  EXPECT_EQ(root.SearchPath(), dir.Path() + "/Models/");
  ASSERT_TRUE(target.Faces()[0].texture);
}

TEST_F(XFileTest, ForeignCubeAddsToWhatIsThere) {
  if (!std::filesystem::exists(kCube)) GTEST_SKIP() << "assimp test models not installed";
  const std::string path = dir.Write("cube.x", ReadFile(kCube));
  target.AddFaces(std::vector<rm::Vector>{{0, -3, 0}}, std::vector<rm::Vector>{{0, 1, 0}},
                  std::vector<std::uint32_t>{1, 0, 0, 0});
  LoadX(path, root, target, state, trace.Sink());
  EXPECT_EQ(target.FaceCount(), 13u);
  // The box spans the whole builder, so the earlier point sets the clearance.
  EXPECT_DOUBLE_EQ(state.GroundClearance, 3.0);
  // No ".PAR" beside: the airplane defaults.
  EXPECT_EQ(state.iModelStyle, 0);
}

TEST_F(XFileTest, UnreadableFilesAreReportedAndChangeNothing) {
  state.GroundClearance = 4;
  state.iModelStyle = 1;
  const std::string full = kPlate;
  for (const std::string& content :
       {full.substr(0, full.size() / 3), std::string("garbage"),
        std::string("xof 0303txt 0032\nMesh M { 2000000000; 1.0;2.0;3.0;; 0;; }"),
        std::string("xof 0303txt 0032\nMesh M { 3; 0.0;abc;0.0;, 1.0;0.0;0.0;, "
                    "0.0;1.0;0.0;; 1; 3;0,1,2;; }")}) {
    const std::string path = dir.Write("bad.x", content);
    EXPECT_THROW(LoadX(path, root, target, state, trace.Sink()), LoadError);
  }
  EXPECT_THROW(LoadX(dir.Path() + "/none.x", root, target, state, trace.Sink()), LoadError);
  EXPECT_EQ(target.FaceCount(), 0u);
  EXPECT_EQ(state.GroundClearance, 4);
  EXPECT_EQ(state.iModelStyle, 1);
}

}  // namespace
}  // namespace veltrane::loaders
