#include "tools/veltrane_tool/inspect.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "support/temp_dir.h"
#include "tools/veltrane_tool/tool_error.h"

namespace veltrane::tool {
namespace {

const std::string kData = std::string(VELTRANE_TEST_DIR) + "/data/";

TEST(Inspect, AirplaneParameterFileByName) {
  const auto j = Inspect(kData + "airplane.par");
  EXPECT_EQ(j["iModelStyle"], 0);
  const auto& p = j["parameters"];
  EXPECT_EQ(p.size(), 26u);  // the 25 read values and the derived WingArea
  EXPECT_EQ(p["MaxThrust"], 20.0);
  EXPECT_EQ(p["Dihedral"], 0.03);
  EXPECT_DOUBLE_EQ(p["WingArea"].get<double>(), 2.0 * 0.35);
  EXPECT_TRUE(j["trace"].is_array());
}

TEST(Inspect, HelicopterContactsAsAList) {
  const auto j = Inspect(kData + "heli.par");
  EXPECT_EQ(j["iModelStyle"], 1);
  const auto& p = j["parameters"];
  EXPECT_EQ(p["Mass"], 4.0);
  EXPECT_EQ(p["HeliInertia"]["z"], 0.35);
  EXPECT_EQ(p["HeliInertia"]["x"], 0.12);
  EXPECT_EQ(p["ParasiteDrag"], 0.5);
  EXPECT_EQ(p["ContactCount"], 4);
  ASSERT_EQ(p["Contacts"].size(), 4u);
  EXPECT_EQ(p["Contacts"][2]["forward"], -0.18);
  EXPECT_EQ(p["Contacts"][2]["right"], 0.12);
  EXPECT_EQ(p["Contacts"][2]["up"], -0.28);
  EXPECT_EQ(p["Contacts"][2]["ContactStiffness"], 2000.0);
  EXPECT_EQ(p["Contacts"][2]["ContactMaxForce"], 400.0);
}

TEST(Inspect, OtherStylesAndBadValues) {
  const test_support::TempDir dir;
  const auto other = Inspect(dir.Write("style2.par", "2\n5\n"));
  EXPECT_EQ(other["iModelStyle"], 2);
  EXPECT_TRUE(other["parameters"].empty());
  // A value the reader cannot use shows up in the trace lines.
  const auto bad = Inspect(dir.Write("bad.PAR", "0\nlots\n1\n2\n"));
  EXPECT_EQ(bad["iModelStyle"], 0);
  EXPECT_GE(bad["trace"].size(), 2u);
}

// The shipped models, one per geometry format.
TEST(Inspect, GeometryFilesShowBuildAndAssembledMesh) {
  const std::string models = std::string(VELTRANE_DATA_DIR) + "/Model/";
  for (const char* name : {"trainer.mdl", "glider.geo"}) {
    const auto j = Inspect(models + name);
    SCOPED_TRACE(name);
    EXPECT_EQ(j["iModelStyle"], 0);
    EXPECT_GT(j["GroundClearance"].get<double>(), 0.0);
    EXPECT_EQ(j["parameters"].size(), 26u);
    const auto& b = j["build"];
    std::size_t by_corners = 0;
    for (const auto& [k, n] : b["corner_counts"].items()) by_corners += n.get<std::size_t>();
    EXPECT_EQ(by_corners, b["faces"].get<std::size_t>());
    ASSERT_EQ(b["faces_by_color"].size(), b["colors"].size());
    std::size_t by_color = 0;
    for (const auto& n : b["faces_by_color"]) by_color += n.get<std::size_t>();
    EXPECT_EQ(by_color, b["faces"].get<std::size_t>());
    for (const auto& c : b["colors"]) EXPECT_EQ(c.size(), 4u);
    const auto& m = j["mesh"];
    // Back faces are added for double-sided faces, never fewer faces than collected.
    EXPECT_GE(m["faces"].get<std::size_t>(), b["faces"].get<std::size_t>());
    EXPECT_TRUE(m["quality"] == "phong" || m["quality"] == "flat");
    for (int k = 0; k < 3; ++k)
      EXPECT_LE(m["box"]["min"][k].get<double>(), m["box"]["max"][k].get<double>());
  }
  const auto x = Inspect(models + "parkflyer.x");
  EXPECT_TRUE(x["build"].is_null());
  EXPECT_GT(x["mesh"]["faces"].get<std::size_t>(), 0u);
}

// Geometry copied beside a parameter file of a different model, names in other cases.
class GeometryBesideParameters : public ::testing::Test {
 protected:
  test_support::TempDir temp;
  const std::filesystem::path dir = temp.path();
  void SetUp() override {
    const std::string models = std::string(VELTRANE_DATA_DIR) + "/Model/";
    std::filesystem::copy_file(models + "glider.geo", dir / "Thing.GEO");
    std::filesystem::copy_file(kData + "airplane.par", dir / "thing.par");
    std::filesystem::copy_file(models + "parkflyer.x", dir / "Other.X");
    std::filesystem::copy_file(kData + "airplane.par", dir / "OTHER.par");
  }
};

TEST_F(GeometryBesideParameters, ParametersComeFromTheParFileBeside) {
  const std::string models = std::string(VELTRANE_DATA_DIR) + "/Model/";
  const auto par = Inspect(kData + "airplane.par")["parameters"];
  for (const auto& [copy, original] :
       {std::pair{"Thing.GEO", "glider.geo"}, std::pair{"Other.X", "parkflyer.x"}}) {
    SCOPED_TRACE(copy);
    const auto j = Inspect((dir / copy).string());
    EXPECT_EQ(j["parameters"], par);
    // The clearance is the geometry's, whatever the parameters.
    EXPECT_EQ(j["GroundClearance"], Inspect(models + original)["GroundClearance"]);
    EXPECT_GT(j["GroundClearance"].get<double>(), 0.0);
    EXPECT_GT(j["mesh"]["faces"].get<std::size_t>(), 0u);
    bool read_par = false;
    for (const auto& line : j["trace"])
      read_par = read_par || line.get<std::string>().rfind("LoadLib.LoadPAR File: ", 0) == 0;
    EXPECT_TRUE(read_par);
  }
}

TEST(Inspect, SceneShowsGridPlacesTerrainAndSky) {
  const auto j = Inspect(std::string(VELTRANE_DATA_DIR) + "/Landscape/world.scn");
  const auto& sc = j["scene"];
  EXPECT_GT(sc["grid_step"].get<int>(), 0);
  EXPECT_GT(sc["cells_x"].get<int>(), 0);
  EXPECT_EQ(sc["pilot"].size(), 2u);
  EXPECT_EQ(sc["start"].size(), 2u);
  // Resolved beside the scene file, where the program reads it.
  EXPECT_TRUE(std::filesystem::exists(j["panorama"].get<std::string>())) << j["panorama"];
  for (const char* part : {"terrain", "sky"}) {
    SCOPED_TRACE(part);
    EXPECT_GT(j[part]["build"]["faces"].get<std::size_t>(), 0u);
    EXPECT_GT(j[part]["mesh"]["faces"].get<std::size_t>(), 0u);
  }
}

TEST(Inspect, MissingAndUnknownFilesAreErrors) {
  EXPECT_THROW(Inspect(kData + "missing.par"), ToolError);
  const test_support::TempDir dir;
  EXPECT_THROW(Inspect(dir.Write("thing.txt", "0\n")), ToolError);
}

}  // namespace
}  // namespace veltrane::tool
