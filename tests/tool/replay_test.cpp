// Recorded flights fly again bit for bit, and a recording that no longer
// matches its model says when it parts from it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "record/flight_reader.h"
#include "support/temp_dir.h"
#include "tools/veltrane_tool/fly.h"
#include "tools/veltrane_tool/tool_error.h"

namespace veltrane::tool {
namespace {

namespace fs = std::filesystem;
const std::string kData = std::string(VELTRANE_DATA_DIR) + "/";

// CSV rows without their time column: fly counts time in frames, the replay in
// clock milliseconds, and only the state must agree.
std::vector<std::string> StateRows(const std::string& csv) {
  std::vector<std::string> rows;
  std::istringstream in(csv);
  for (std::string line; std::getline(in, line);) rows.push_back(line.substr(line.find(',')));
  return rows;
}

struct Recorded {
  nlohmann::json flown, replayed;
  std::vector<std::string> flownRows, replayedRows;
};

Recorded RecordAndReplay(const test_support::TempDir& dir, FlyOptions o,
                         const std::string& script) {
  o.record = (dir.path() / "flight.vflight").string();
  std::ostringstream a, b;
  Recorded r;
  r.flown = Fly(o, ParseScriptText(script), &a, Trace());
  r.replayed = Replay(o.record, &b, Trace());
  r.flownRows = StateRows(a.str());
  r.replayedRows = StateRows(b.str());
  return r;
}

TEST(Replay, EachShippedKindFliesAgainBitForBit) {
  struct Case {
    const char* name;
    const char* model;
    const char* landscape;
    const char* script;
  };
  const Case cases[] = {
      {"airplane", "Model/su-26.par", "Landscape/world.scn",
       "0 set throttle 1\n3 set elevator -0.3\n5 set elevator 0\n9 set aileron 0.4\n10 set aileron "
       "0\n"
       "14 pilot 8\n16 pause on\n17 pause off\n"},
      {"glider on the winch", "Model/glider.par", "",
       "0 thermals 40 3\n0 winch\n0 set elevator 0.5\n7 set elevator 0\n12 set rudder 0.2\n"},
      {"helicopter", "Model/heli.par", "Landscape/lake.scn",
       "0 set pitch 0.4\n2 set nick 0.1\n6 set tail 0.3\n9 set nick 0\n12 autoinit on\n"
       "13 set pitch -1\n"},
      {"glider in gusty, turbulent wind over hills", "Model/glider.par", "Landscape/world.scn",
       "0 wind 7 30\n0 gusts 80\n0 turbulence 100\n0 handstart\n4 set aileron 0.3\n"
       "6 set aileron 0\n11 wind 4 200\n"},
      {"helicopter into a rising wind", "Model/heli.par", "",
       "0 set pitch 0.4\n3 turbulence 60\n5 wind 9 90\n8 set nick 0.1\n15 gusts 100\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test_support::TempDir dir;
    FlyOptions o;
    o.model = kData + c.model;
    if (*c.landscape) o.landscape = kData + c.landscape;
    o.frame = 0.017;
    o.duration = 21;
    const Recorded r = RecordAndReplay(dir, o, c.script);
    EXPECT_TRUE(r.replayed["reproduced"].get<bool>()) << r.replayed["first_difference"];
    EXPECT_TRUE(r.replayed["complete"].get<bool>());
    EXPECT_EQ(r.replayed["snapshots"].get<int>(), 4);
    ASSERT_EQ(r.flownRows.size(), r.replayedRows.size());
    for (std::size_t i = 0; i < r.flownRows.size(); ++i)
      ASSERT_EQ(r.flownRows[i], r.replayedRows[i]) << "row " << i;
    EXPECT_EQ(r.flown["substeps"], r.replayed["substeps"]);
    EXPECT_EQ(r.flown["crashes"], r.replayed["crashes"]);
  }
}

TEST(Replay, AChangedModelFileIsReportedAtTheFirstSnapshotThatDiffers) {
  test_support::TempDir dir;
  for (const char* f : {"glider.par", "glider.geo"})
    fs::copy_file(kData + "Model/" + f, dir.path() / f);
  FlyOptions o;
  o.model = (dir.path() / "glider.par").string();
  o.duration = 20;
  // The rudder, whose gain changes below, is first used at 11 s.
  const Recorded before = RecordAndReplay(dir, o, "0 winch\n11 set rudder 0.5\n");
  ASSERT_TRUE(before.replayed["reproduced"].get<bool>());

  std::ifstream in(o.model);
  std::stringstream text;
  text << in.rdbuf();
  std::string par = text.str();
  const auto at = par.find("0.3\tRudderGain");
  ASSERT_NE(at, std::string::npos);
  par.replace(at, 3, "0.4");
  std::ofstream(o.model, std::ios::trunc) << par;

  const nlohmann::json after = Replay((dir.path() / "flight.vflight").string(), nullptr, Trace());
  EXPECT_FALSE(after["reproduced"].get<bool>());
  EXPECT_DOUBLE_EQ(after["first_difference"].get<double>(), 15.0);
}

TEST(Replay, AFileCutOffAnywhereReplaysItsWholeFramesExactly) {
  test_support::TempDir dir;
  FlyOptions o;
  o.model = kData + "Model/glider.par";
  o.duration = 12;
  const Recorded full = RecordAndReplay(dir, o, "0 handstart\n1 set rudder 0.3\n6 pilot 4\n");
  const std::string path = (dir.path() / "flight.vflight").string();
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const record::Recording whole = record::ParseRecording(bytes);
  // Cuts inside the starting state, inside and between frames, inside a snapshot, before the end
  // mark.
  for (std::size_t cut :
       {bytes.size() / 2, bytes.size() / 3 + 1, bytes.size() - 1, bytes.size() - 7}) {
    SCOPED_TRACE(cut);
    const std::string cutPath = (dir.path() / "cut.vflight").string();
    std::ofstream(cutPath, std::ios::binary | std::ios::trunc) << bytes.substr(0, cut);
    const record::Recording rec = record::ReadRecording(cutPath);
    EXPECT_FALSE(rec.complete);
    ASSERT_GT(rec.frames.size(), 0u);
    ASSERT_LE(rec.frames.size(), whole.frames.size());
    // The frames it kept are whole: the same clock and controls as in the full file.
    EXPECT_EQ(rec.frames.back().clock, whole.frames[rec.frames.size() - 1].clock);
    EXPECT_EQ(rec.frames.back().values, whole.frames[rec.frames.size() - 1].values);
    std::ostringstream csv;
    const nlohmann::json j = Replay(cutPath, &csv, Trace());
    EXPECT_TRUE(j["reproduced"].get<bool>());
    const std::vector<std::string> rows = StateRows(csv.str());
    ASSERT_EQ(rows.size(), rec.frames.size() + 2);  // header and the row at 0
    for (std::size_t i = 0; i < rows.size(); ++i)
      ASSERT_EQ(rows[i], full.flownRows[i]) << "row " << i;
  }
}

}  // namespace
}  // namespace veltrane::tool
