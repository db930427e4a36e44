#include "loaders/model_loader.h"

#include <gtest/gtest.h>

#include "loaders/load_error.h"
#include "support/temp_dir.h"

namespace veltrane::loaders {
namespace {

std::string Mdl(double groundClearance) {
  std::string s = "title\n";
  for (int i = 0; i < 25; ++i) s += "1\n";
  s += std::to_string(groundClearance) +
       "\n1\n1\n1 255 255 255\n3\n1 0 0 0\n2 1 0 0\n3 0 1 0\n0\n1\n1 3 1 2 3 1\n";
  return s;
}

const char* kGeo = "OBJECT BODY 0 0 0 1 0 0 0 1 0 TEXTURE OFF TRIANGLES 0 0 -0.5 1 0 0 0 1 0 END";
const char* kX =
    "xof 0303txt 0032\nMesh M { 3; 0.0;-2.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; 3;0,1,2;; }\n";

class ModelLoaderTest : public ::testing::Test {
 protected:
  ModelFiles Load(const std::string& file) {
    return LoadModelFiles(file, root, true, dir.Path() + "/data", target, state, trace.Sink());
  }
  test_support::TempDir dir;
  rm::Root root;
  rm::MeshBuilder target;
  SimState state;
  TraceCapture trace;
};

TEST_F(ModelLoaderTest, MdlAloneUsesTheProgramsEngineSound) {
  dir.Write("data/Motor.WAV", "w");
  const std::string mdl = dir.Write("Model/ka8.mdl", Mdl(0.3));
  const ModelFiles r = Load(mdl);
  EXPECT_EQ(r.loadedFiles, std::vector<std::string>{mdl});
  EXPECT_EQ(r.soundFile, dir.Path() + "/data/Motor.WAV");
  EXPECT_DOUBLE_EQ(state.GroundClearance, 0.3);
  ASSERT_TRUE(r.Stats());
  EXPECT_EQ(r.Stats()->faces, 1u);
  EXPECT_EQ(r.Stats()->vertices, 3u);
  EXPECT_EQ(target.FaceCount(), 1u);
}

TEST_F(ModelLoaderTest, AllThreeAddUpAndTheLastOneWins) {
  const std::string mdl = dir.Write("Model/Combo.MDL", Mdl(0.3));
  dir.Write("Model/combo.GEO", kGeo);
  dir.Write("Model/COMBO.x", kX);
  dir.Write("Model/combo.wav", "w");
  const ModelFiles r = Load(mdl);
  ASSERT_EQ(r.loadedFiles.size(), 3u);
  EXPECT_EQ(r.loadedFiles[1], dir.Path() + "/Model/Combo.geo");
  EXPECT_EQ(r.soundFile, dir.Path() + "/Model/combo.wav");
  // 1 MDL face + 1 double-sided GEO face (front and back) + 1 X face.
  EXPECT_EQ(target.FaceCount(), 4u);
  EXPECT_DOUBLE_EQ(state.GroundClearance, 2.0);  // from the ".x", the last loader
  ASSERT_TRUE(r.lastMeshBuild);
  EXPECT_EQ(r.Stats()->faces, 1u);  // the GEO's MeshBuild
  EXPECT_EQ(trace.Lines()[0].rfind("LoadLib.LoadMDL File: ", 0), 0u);
  EXPECT_TRUE(trace.Contains("LoadLib.LoadGEO File: " + dir.Path() + "/Model/Combo.geo\r\n"));
  EXPECT_TRUE(trace.Contains("LoadLib.LoadX File: " + dir.Path() + "/Model/Combo.x\r\n"));
}

TEST_F(ModelLoaderTest, ParWithGeoLoadsGeoAndItsSound) {
  const std::string par = dir.Write("Model/glider.par", "0\n");
  dir.Write("Model/glider.geo", kGeo);
  const ModelFiles r = Load(par);
  ASSERT_EQ(r.loadedFiles.size(), 1u);
  EXPECT_EQ(r.soundFile, dir.Path() + "/Model/glider.wav");  // missing: the caller keeps silence
  EXPECT_DOUBLE_EQ(state.GroundClearance, 0.5);
}

TEST_F(ModelLoaderTest, ParAloneLeavesEverythingAsItWas) {
  const std::string par = dir.Write("Model/lonely.par", "1\n");
  state.GroundClearance = 0.7;
  state.iModelStyle = 1;
  state.Airplane.Mass = 12;
  const ModelFiles r = Load(par);
  EXPECT_TRUE(r.loadedFiles.empty());
  EXPECT_TRUE(r.soundFile.empty());
  EXPECT_FALSE(r.Stats());
  EXPECT_EQ(target.FaceCount(), 0u);
  EXPECT_EQ(state.GroundClearance, 0.7);
  EXPECT_EQ(state.Airplane.Mass, 12);
}

TEST_F(ModelLoaderTest, AFailingLoaderIsReported) {
  const std::string par = dir.Write("Model/broken.par", "0\n");
  dir.Write("Model/broken.geo", "OBJECT BODY 0 0 oops");
  EXPECT_THROW(Load(par), LoadError);
  EXPECT_THROW(Load(dir.Path() + "/Model/missing.mdl"), LoadError);
}

}  // namespace
}  // namespace veltrane::loaders
