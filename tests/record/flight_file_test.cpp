// The flight file's reader: what a recorder wrote reads back exactly, and a
// file that is not a whole recording gives a message, never a crash.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "record/flight_folder.h"
#include "record/flight_reader.h"
#include "record/flight_recorder.h"
#include "support/temp_dir.h"

namespace veltrane::record {
namespace {

// A small flight: frames with float and double controls, commands, a state
// change and snapshots, as a recorder writes it.
std::string SampleFlight(const test_support::TempDir& dir, SimState& s) {
  const std::string path = (dir.path() / "f.vflight").string();
  FlightHeader h;
  h.programVersion = "test";
  h.modelFile = "/m/glider.par";
  s.Thermals.iBubbles = 3;
  s.Heli.ContactCount = 2;
  s.LastTickTime = 1000;
  FlightRecorder r;
  EXPECT_TRUE(r.Start(path, h, s));
  for (int k = 1; k <= 700; ++k) {
    s.PrevTickTime = s.LastTickTime;
    s.LastTickTime += 16 + k % 3;
    s.FunctionValue[fn::kElevator] = k < 100 ? 0.5 : 0.1;  // 0.1 needs a double
    s.FunctionValue[fn::kThrottle] = k * 0.25;
    if (k == 50) r.Command(CommandCode::Pilot, '8');
    if (k == 300) {
      s.Thermals.Thermals[1].x = 77.0;
      r.StateChanged(s);
    }
    r.Frame(s);
    s.ModelPosition.x += 0.1;
    r.AfterTick(s);
  }
  r.Stop();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  std::string bytes(1 << 20, '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  return bytes;
}

TEST(FlightFile, ReadsBackFramesCommandsAndSnapshotsExactly) {
  test_support::TempDir dir;
  SimState s;
  const std::string bytes = SampleFlight(dir, s);
  const Recording rec = ParseRecording(bytes);
  EXPECT_TRUE(rec.complete);
  EXPECT_EQ(rec.header.modelFile, "/m/glider.par");
  ASSERT_EQ(rec.frames.size(), 700u);
  EXPECT_EQ(rec.frames[98].values[fn::kElevator], 0.5);
  EXPECT_EQ(rec.frames[699].values[fn::kElevator], 0.1);
  EXPECT_EQ(rec.frames[699].values[fn::kThrottle], 175.0);
  EXPECT_EQ(rec.frames.back().clock, s.LastTickTime);
  ASSERT_EQ(rec.events.size(), 2u);
  EXPECT_EQ(rec.events[0].beforeFrame, 49u);
  EXPECT_EQ(rec.events[0].arg, '8');
  EXPECT_EQ(rec.events[1].kind, Tag::State);
  // A snapshot every 5 s of clock; the last one equals the state it was taken of
  // although its thermal table was left out as unchanged.
  ASSERT_EQ(rec.checks.size(), 2u);
  SimState back = s;
  back.Thermals = ThermalTable{};
  ByteReader r(rec.checks.back().state);
  ReadSnapshot(r, back);
  EXPECT_EQ(back.Thermals.Thermals[1].x, 77.0);
  EXPECT_EQ(back.Thermals.iBubbles, 3);
  // At 60 frames a second with a control moving in every frame.
  const double perMinute = static_cast<double>(bytes.size()) / (rec.DurationMs() / 60000.0);
  EXPECT_LT(perMinute, 100e3);
}

TEST(FlightFile, BadFilesGiveAMessage) {
  test_support::TempDir dir;
  SimState s;
  const std::string good = SampleFlight(dir, s);
  const std::size_t afterHeader = 14 + good[10] + (good[11] << 8);
  auto with = [&](std::size_t at, std::string patch) {
    std::string b = good;
    b.replace(at, patch.size(), patch);
    return b;
  };
  struct Case {
    const char* name;
    std::string bytes;
    const char* message;
  };
  const Case cases[] = {
      {"empty", "", "not a recorded flight"},
      {"another file", "RIFF....WAVEfmt ", "not a recorded flight"},
      {"newer format", with(8, std::string("\x09\x00", 2)), "recorded in format 9"},
      {"header too long", with(10, "\xff\xff\xff\x7f"), "a header of"},
      {"header cut", good.substr(0, 30), "ends inside its header"},
      {"no starting state", good.substr(0, afterHeader + 2), "before the flight's starting state"},
      {"unknown record", good.substr(0, good.size() - 1) + "\x2a", "an unknown record 42"},
      {"bad yes/no", with(afterHeader + 4 + 9 * 24 + 7 * 8, "\x05"), "a yes/no value is 5"},
      {"data after the end", good + "x", "data after the end"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      ParseRecording(c.bytes);
      ADD_FAILURE() << "read without complaint";
    } catch (const FormatError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
  // Any single damaged byte reads or is refused; never a crash or an endless read.
  for (std::size_t i = 0; i < good.size(); i += 7) {
    std::string b = good;
    b[i] = static_cast<char>(b[i] ^ 0xA5);
    try {
      ParseRecording(b);
    } catch (const FormatError&) {
    }
  }
}

TEST(FlightFolder, KeepsTheNewestFiftyAndListsThemNewestFirst) {
  test_support::TempDir dir;
  SimState s;
  const std::string flight = SampleFlight(dir, s);
  std::filesystem::remove(dir.path() / "f.vflight");
  for (int day = 1; day <= 28; ++day)
    for (int hour : {10, 11}) {
      char name[64];
      std::snprintf(name, sizeof name, "flight-202612%02d-%02d0000.vflight", day, hour);
      std::FILE* f = std::fopen((dir.path() / name).c_str(), "wb");
      std::fwrite(flight.data(), 1, day == 28 && hour == 11 ? 9 : flight.size(), f);
      std::fclose(f);
    }
  PruneFlights(dir.path().string());
  const std::vector<FlightEntry> list = ListFlights(dir.path().string());
  ASSERT_EQ(list.size(), 50u);
  EXPECT_NE(list.front().path.find("flight-20261228-110000"), std::string::npos);
  EXPECT_FALSE(list.front().problem.empty());
  EXPECT_NE(list.back().path.find("flight-20261204-100000"), std::string::npos);
  EXPECT_EQ(list.back().model, "glider.par");
  EXPECT_NEAR(list.back().durationSeconds, 700 * 17 / 1000.0, 0.02);
  // A second flight in the same second gets its own name.
  const std::string a = NewFlightPath(dir.path().string(), 0);
  std::fclose(std::fopen(a.c_str(), "wb"));
  EXPECT_NE(NewFlightPath(dir.path().string(), 0), a);
}

}  // namespace
}  // namespace veltrane::record
