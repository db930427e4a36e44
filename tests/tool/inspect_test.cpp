#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tools/veltrane_tool/inspect.h"
#include "tools/veltrane_tool/tool_error.h"

namespace veltrane::tool {
namespace {

const std::string kData = std::string(VELTRANE_TEST_DIR) + "/data/";

std::string WriteTemp(const std::string& name, const std::string& text) {
  const auto path = std::filesystem::temp_directory_path() / ("veltrane_inspect_" + name);
  std::ofstream(path) << text;
  return path.string();
}

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
  const auto other = Inspect(WriteTemp("style2.par", "2\n5\n"));
  EXPECT_EQ(other["iModelStyle"], 2);
  EXPECT_TRUE(other["parameters"].empty());
  // A value the reader cannot use shows up in the trace lines.
  const auto bad = Inspect(WriteTemp("bad.PAR", "0\nlots\n"));
  EXPECT_EQ(bad["iModelStyle"], 0);
  EXPECT_GE(bad["trace"].size(), 2u);
}

TEST(Inspect, MissingAndUnknownFilesAreErrors) {
  EXPECT_THROW(Inspect(kData + "missing.par"), ToolError);
  EXPECT_THROW(Inspect(WriteTemp("thing.txt", "0\n")), ToolError);
}

}  // namespace
}  // namespace veltrane::tool
