#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
const std::string kData = std::string(VELTRANE_TEST_DIR) + "/data/";

struct Result {
  int status = -1;
  std::string out, err;
  nlohmann::json Json() const { return nlohmann::json::parse(out); }
};

class EndToEnd : public ::testing::Test {
 protected:
  veltrane::test_support::TempDir temp;
  const fs::path dir = temp.path();

  std::string Write(const std::string& name, const std::string& text) {
    return temp.Write(name, text);
  }

  static std::string Read(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

  Result Run(const std::string& args) {
    const fs::path err = dir / "stderr.txt";
    const std::string cmd =
        std::string("'") + VELTRANE_TOOL_BINARY + "' " + args + " 2>'" + err.string() + "'";
    Result r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    r.err = Read(err);
    return r;
  }

  Result FlyScript(const std::string& model, const std::string& script, double duration,
                   const std::string& extra = "") {
    const std::string s = Write("script.txt", script);
    return Run("fly --model '" + kData + model + "' --script '" + s + "' --duration " +
               std::to_string(duration) + " " + extra);
  }
};

TEST_F(EndToEnd, AirplaneTakesOffFromFlatGroundAtFullThrottleAndClimbs) {
  const Result r = FlyScript("airplane.par", "0 thermals 0 0\n0 set throttle 1\n", 15);
  ASSERT_EQ(r.status, 0) << r.err;
  const auto j = r.Json();
  EXPECT_FALSE(j["crashed"].get<bool>());
  EXPECT_GT(j["max_height_agl"].get<double>(), 15.0);
  EXPECT_GT(j["airborne_time"].get<double>(), 3.0);
  EXPECT_GT(j["final_position"][1].get<double>(), 100.0);  // it went forward (+y)
  EXPECT_EQ(j["frames"], 750);
}

TEST_F(EndToEnd, HandLaunchedGliderGlidesAtLeastEightToOne) {
  const std::string csv = (dir / "glide.csv").string();
  const Result r =
      FlyScript("glider.par", "0 thermals 0 0\n0 handstart\n", 10, "--csv '" + csv + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(r.Json()["crashed"].get<bool>());
  // From the launch point (pilot + 5 m in y, 2 m up) to the first ground contact.
  std::istringstream in(Read(csv));
  std::string line;
  std::getline(in, line);
  double y_touch = -1, z_launch = -1, y_launch = 0;
  bool seen_air = false;
  while (std::getline(in, line)) {
    double v[30];
    std::istringstream l(line);
    std::string cell;
    for (int i = 0; i < 30 && std::getline(l, cell, ','); ++i) v[i] = std::stod(cell);
    const double y = v[2];
    const bool airborne = v[19] != 0;
    if (airborne && !seen_air) {
      seen_air = true;
      y_launch = 5.0;
      z_launch = 2.0;
    }
    if (seen_air && !airborne) {
      y_touch = y;
      break;
    }
  }
  ASSERT_TRUE(seen_air);
  ASSERT_GT(y_touch, 0) << "never landed";
  EXPECT_GE((y_touch - y_launch) / z_launch, 8.0);
}

TEST_F(EndToEnd, GliderOnTheWinchClimbsAboveSixtyMetresAndReleasesItself) {
  const Result r = FlyScript("glider.par", "0 thermals 0 0\n0 winch\n", 20);
  ASSERT_EQ(r.status, 0) << r.err;
  const auto j = r.Json();
  EXPECT_FALSE(j["crashed"].get<bool>());
  EXPECT_GT(j["max_height_agl"].get<double>(), 60.0);
  ASSERT_FALSE(j["winch_release_time"].is_null());
  EXPECT_LT(j["winch_release_time"].get<double>(), 20.0);
}

TEST_F(EndToEnd, HelicopterRestsOnItsSkidsLiftsOffAndHoversUpright) {
  // Skids 0.28 m below the reference point; a .par carries no clearance.
  const std::string csv = (dir / "heli.csv").string();
  const Result rest =
      FlyScript("heli.par", "0 thermals 0 0\n", 5, "--clearance 0.28 --csv '" + csv + "'");
  ASSERT_EQ(rest.status, 0) << rest.err;
  const auto rj = rest.Json();
  EXPECT_FALSE(rj["crashed"].get<bool>());
  EXPECT_LT(rj["max_height_agl"].get<double>(), 0.3);
  EXPECT_GT(rj["final_axis_up"][2].get<double>(), 0.999);

  // Collective up at 3 s, then hands off for 5 s.
  const Result hover =
      FlyScript("heli.par", "0 thermals 0 0\n3 set pitch 0.3\n", 8, "--clearance 0.28");
  ASSERT_EQ(hover.status, 0) << hover.err;
  const auto hj = hover.Json();
  EXPECT_FALSE(hj["crashed"].get<bool>());
  EXPECT_GT(hj["max_height_agl"].get<double>(), 1.0);
  EXPECT_GT(hj["final_position"][2].get<double>(), 1.0);
  EXPECT_GT(hj["final_axis_up"][2].get<double>(), 0.9);  // not flipped
}

TEST_F(EndToEnd, ShippedHelicopterTakesItsClearanceFromItsGeometry) {
  // heli.par has heli.geo beside it, which sets GroundClearance.
  const std::string s = Write("s.txt", "0 thermals 0 0\n3 set pitch 0.3\n");
  const Result r = Run("fly --model '" + std::string(VELTRANE_DATA_DIR) +
                       "/Model/heli.par' --script '" + s + "' --duration 8");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto j = r.Json();
  EXPECT_EQ(j["iModelStyle"], 1);
  EXPECT_FALSE(j["crashed"].get<bool>());
  EXPECT_GT(j["max_height_agl"].get<double>(), 1.0);
  EXPECT_GT(j["final_axis_up"][2].get<double>(), 0.9);
}

TEST_F(EndToEnd, TraceFileGetsTheExactLines) {
  const std::string trace = (dir / "trace.txt").string();
  const Result r = FlyScript("airplane.par", "0 handstart\n", 0.1, "--trace '" + trace + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string t = Read(trace);
  EXPECT_NE(t.find("TMainForm.SimInit\r\nThermalFrm.RandomizeThermal\r\nSimulate.InitFlight\r\n"),
            std::string::npos)
      << t;
  EXPECT_NE(t.find("Simulate.Handstart\r\n"), std::string::npos);
}

TEST_F(EndToEnd, ScriptErrorsNameTheLineAndFail) {
  const Result r = FlyScript("airplane.par", "0 set throttle 1\n\n1 jump\n", 2);
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("unknown command"), std::string::npos) << r.err;
  EXPECT_TRUE(r.out.empty());
}

TEST_F(EndToEnd, MissingFilesAndBadOptionsFail) {
  const std::string s = Write("s.txt", "0 init\n");
  Result r = Run("fly --model '" + (dir / "nope.par").string() + "' --script '" + s + "'");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("model file not found"), std::string::npos) << r.err;
  r = Run("fly --model '" + kData + "airplane.par' --script '" + (dir / "none.txt").string() + "'");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("script file not found"), std::string::npos) << r.err;
  r = Run("fly --model '" + kData + "airplane.par' --script '" + s + "' --frame fast");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("--frame"), std::string::npos) << r.err;
  for (const char* clearance : {"1e308", "-1e308", "-0.1"}) {
    r = Run("fly --model '" + kData + "airplane.par' --script '" + s + "' --clearance " +
            clearance);
    EXPECT_NE(r.status, 0) << clearance;
    EXPECT_NE(r.err.find("--clearance: " + std::string(clearance) + " is outside 0 to 100"),
              std::string::npos)
        << r.err;
  }
  r = Run("fly --script '" + s + "'");
  EXPECT_NE(r.status, 0);
  r = Run("inspect '" + (dir / "x.par").string() + "'");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("not found"), std::string::npos) << r.err;
  r = Run("probe 1 2");
  EXPECT_NE(r.status, 0);
  r = Run("launch");
  EXPECT_NE(r.status, 0);
}

// The wind's options and script lines: what the summary and the CSV say of the air,
// and the refusals of values outside their ranges.
TEST_F(EndToEnd, WindOptionsReachTheAirAndBadValuesAreRefused) {
  const std::string csv = (dir / "t.csv").string();
  Result r = FlyScript("airplane.par", "0 gusts 40\n1 wind 5 270\n", 2,
                       "--wind 8,90 --turbulence 30 --seed 7 --csv '" + csv + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  const nlohmann::json wind = r.Json()["wind"];
  EXPECT_EQ(wind["speed"], 5.0);
  EXPECT_EQ(wind["from"], 270.0);
  EXPECT_EQ(wind["gusts"], 40);
  EXPECT_EQ(wind["turbulence"], 30);
  EXPECT_EQ(wind["seed"], 7);
  // The last row's air: from 270 degrees it blows towards +x, weaker near the ground.
  std::istringstream rows(Read(csv));
  std::string header, row, last;
  std::getline(rows, header);
  while (std::getline(rows, row)) last = row;
  EXPECT_EQ(header.substr(header.size() - 20), "wind_x,wind_y,wind_z");
  std::vector<double> air;
  for (std::size_t at = last.size(), n = 0; n < 3; ++n) {
    const std::size_t comma = last.rfind(',', at - 1);
    air.insert(air.begin(), std::stod(last.substr(comma + 1, at - comma - 1)));
    at = comma;
  }
  EXPECT_GT(air[0], 0.5) << last;
  EXPECT_LT(air[0], 5.0) << last;

  r = Run("probe --landscape '" + std::string(VELTRANE_DATA_DIR) +
          "/Landscape/world.scn' --wind 10,90 100 100");
  ASSERT_EQ(r.status, 0) << r.err;
  const nlohmann::json v = r.Json()["wind"];
  ASSERT_EQ(v.size(), 3u);
  EXPECT_LT(v[0].get<double>(), -5.0) << v;  // from +x, 10 m above the terrain
  EXPECT_NEAR(v[1].get<double>(), 0.0, 3.0) << v;

  const std::string s = Write("s.txt", "0 init\n");
  for (const char* bad : {"--wind 21", "--wind -1", "--wind 5,400", "--wind 5,x", "--gusts 101",
                          "--turbulence 5.5", "--seed -1"}) {
    r = Run("fly --model '" + kData + "airplane.par' --script '" + s + "' " + bad);
    EXPECT_EQ(r.status, 1) << bad;
    EXPECT_NE(r.err.find(std::string(bad).substr(0, std::string(bad).find(' '))), std::string::npos)
        << r.err;
  }
  for (const char* line :
       {"0 wind 30 0", "0 wind 5 360", "0 gusts 120", "0 turbulence -1", "0 wind 5"}) {
    r = FlyScript("airplane.par", std::string(line) + "\n", 1);
    EXPECT_EQ(r.status, 1) << line;
    EXPECT_NE(r.err.find("line 1"), std::string::npos) << r.err;
  }
}

TEST_F(EndToEnd, LoaderErrorsArePrintedAndFail) {
  const std::string bad_mdl = Write("broken.mdl", "this is not a model\n");
  Result r = Run("inspect '" + bad_mdl + "'");
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("veltrane-tool: "), std::string::npos) << r.err;
  EXPECT_GT(r.err.size(), std::string("veltrane-tool: \n").size()) << r.err;

  const std::string s = Write("s.txt", "0 init\n");
  const std::string bad_scn = Write("broken.scn", "SCENE what\n");
  r = Run("fly --model '" + kData + "airplane.par' --landscape '" + bad_scn + "' --script '" + s +
          "'");
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(r.out.empty());
  r = Run("fly --model '" + kData + "airplane.par' --landscape '" + (dir / "none.scn").string() +
          "' --script '" + s + "'");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("landscape file not found"), std::string::npos) << r.err;
}

TEST_F(EndToEnd, HelpDocumentsEveryCommandAndInspectPrintsJson) {
  Result r = Run("--help");
  EXPECT_EQ(r.status, 0);
  for (const char* word : {"fly",         "inspect",
                           "probe",       "--model",
                           "--landscape", "--script",
                           "--frame",     "--duration",
                           "--csv",       "--trace",
                           "handstart",   "winch",
                           "thermals",    "thermal X Y STRENGTH [RADIUS]",
                           "pilot",       "indestructible",
                           "autoinit",    "pause",
                           "--clearance", "--wind",
                           "--gusts",     "--turbulence",
                           "--seed",      "wind SPEED FROM_DEGREES",
                           "wind_x"})
    EXPECT_NE(r.out.find(word), std::string::npos) << word;
  r = Run("inspect '" + kData + "heli.par'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.Json()["parameters"]["Contacts"].size(), 4u);
}

}  // namespace
