// The shipped files load, and the landscapes are whole and flat where models start.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "tool_runner.h"

namespace veltrane::content_test {
namespace {

nlohmann::json Inspect(const std::string& file) {
  int status = 0;
  const std::string out = RunTool("inspect " + DataFile(file), &status);
  EXPECT_EQ(status, 0) << file << ": " << out;
  return status == 0 ? nlohmann::json::parse(out) : nlohmann::json();
}

double Probe(const std::string& scene, double x, double y) {
  int status = 0;
  const std::string out = RunTool(
      "probe --landscape " + DataFile(scene) + " " + std::to_string(x) + " " + std::to_string(y),
      &status);
  EXPECT_EQ(status, 0) << out;
  return status == 0 ? nlohmann::json::parse(out)["ground_height_at"].get<double>() : -1.0;
}

TEST(ShippedFiles, ModelFilesLoad) {
  for (const char* f :
       {"Model/su-26.par", "Model/glider.par", "Model/parkflyer.par", "Model/sport.par",
        "Model/warbird.par", "Model/edf-jet.par", "Model/rudder-glider.par", "Model/sailplane.par",
        "Model/hlg.par", "Model/motor-glider.par", "Model/throw-glider.par",
        "Model/slope-racer.par", "Model/slope-wing.par"}) {
    const nlohmann::json j = Inspect(f);
    EXPECT_EQ(j["iModelStyle"], 0) << f;
    EXPECT_GT(j["parameters"]["Mass"].get<double>(), 0.0) << f;
  }
  for (const char* f : {"Model/heli.par", "Model/heli-sport.par"})
    EXPECT_EQ(Inspect(f)["iModelStyle"], 1) << f;
  const nlohmann::json mdl = Inspect("Model/trainer.mdl");
  EXPECT_EQ(mdl["iModelStyle"], 0);
}

struct Scene {
  std::string file;
  double half;                                        // half side of the terrain
  double runway_x0, runway_y0, runway_x1, runway_y1;  // sim coordinates
};

void PrintTo(const Scene& s, std::ostream* os) { *os << s.file; }

class LandscapeTest : public ::testing::TestWithParam<Scene> {};

TEST_P(LandscapeTest, LoadsWithPilotAndStartOnTheRunway) {
  const Scene& s = GetParam();
  const nlohmann::json j = Inspect(s.file);
  ASSERT_TRUE(j.contains("scene"));
  for (const char* place : {"pilot", "start"}) {
    const double x = j["scene"][place][0], y = j["scene"][place][1];
    EXPECT_GE(x, s.runway_x0 - 30.0) << place;
    EXPECT_LE(x, s.runway_x1 + 30.0) << place;
    EXPECT_GE(y, s.runway_y0) << place;
    EXPECT_LE(y, s.runway_y1) << place;
  }
}

TEST_P(LandscapeTest, HasGroundEverywhere) {
  const Scene& s = GetParam();
  const int n = 6;
  for (int i = 0; i <= n; ++i)
    for (int k = 0; k <= n; ++k) {
      // Just inside the edges, and everywhere between.
      const double x = 0.5 + (2 * s.half - 1.0) * i / n;
      const double y = 0.5 + (2 * s.half - 1.0) * k / n;
      EXPECT_GT(Probe(s.file, x, y), 0.0) << "hole at " << x << ", " << y;
    }
}

TEST_P(LandscapeTest, RunwayIsFlat) {
  const Scene& s = GetParam();
  std::vector<double> h;
  for (int i = 0; i <= 2; ++i)
    for (int k = 0; k <= 6; ++k)
      h.push_back(Probe(s.file, s.runway_x0 + (s.runway_x1 - s.runway_x0) * i / 2,
                        s.runway_y0 + (s.runway_y1 - s.runway_y0) * k / 6));
  const auto [lo, hi] = std::minmax_element(h.begin(), h.end());
  EXPECT_LE(*hi - *lo, 0.3);
}

INSTANTIATE_TEST_SUITE_P(
    Shipped, LandscapeTest,
    ::testing::Values(Scene{"Landscape/world.scn", 1000, 1080, 790, 1120, 1210},
                      Scene{"Landscape/lake.scn", 800, 680, 480, 920, 525},
                      Scene{"Landscape/field.scn", 1000, 1080, 750, 1120, 1250},
                      Scene{"Landscape/valley.scn", 800, 870, 480, 890, 1120},
                      Scene{"Landscape/coast.scn", 800, 870, 500, 890, 1100}),
    [](const ::testing::TestParamInfo<Scene>& info) {
      std::string n = info.param.file.substr(10, info.param.file.size() - 14);
      n[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(n[0])));
      return n == "World" ? std::string("Airfield") : n;
    });

}  // namespace
}  // namespace veltrane::content_test
