// Files of the first format (still air, no wind in the header or snapshots)
// still read; files of this one carry the wind and the air's state.
#include <gtest/gtest.h>

#include <string>

#include "record/flight_format.h"
#include "record/flight_reader.h"

namespace veltrane::record {
namespace {

FlightHeader Header() {
  FlightHeader h;
  h.programVersion = "test";
  h.modelFile = "/models/glider.par";
  h.thermalCount = 12;
  h.randomSeed = 77;
  return h;
}

// magic, version, header, the starting state, the end mark
std::string File(std::uint16_t version, const std::string& header, const std::string& start) {
  std::string out(kMagic);
  ByteWriter w(out);
  w.U16(version);
  w.U32(static_cast<std::uint32_t>(header.size()));
  out += header;
  w.U32(static_cast<std::uint32_t>(start.size()));
  out += start;
  w.U8(static_cast<std::uint8_t>(Tag::End));
  return out;
}

std::string HeaderBytes(const FlightHeader& h) {
  std::string out;
  ByteWriter w(out);
  WriteHeader(w, h);
  return out;
}

TEST(FlightFormat, FirstFormatFilesReadAsStillAir) {
  const std::string v2 = HeaderBytes(Header());
  // The first format's header is this one without the wind at its end.
  constexpr std::size_t kWindBytes = 8 + 8 + 1 + 1 + 4;
  const std::string v1 = v2.substr(0, v2.size() - kWindBytes);
  SimState s;
  const Recording rec = ParseRecording(File(1, v1, EncodeSnapshot(s)));
  EXPECT_EQ(rec.header.thermalCount, 12);
  EXPECT_EQ(rec.header.randomSeed, 77u);
  EXPECT_TRUE(rec.header.wind.Still());
  EXPECT_TRUE(rec.complete);
}

TEST(FlightFormat, WindAndAirStateTravelThroughTheFile) {
  SimState s;
  WindSettings wind;
  wind.speed = 7.5;
  wind.fromDegrees = 250.0;
  wind.gusts = 60;
  wind.turbulence = 90;
  wind.turbulenceSeed = 4242;
  s.Air.SetWind(wind);
  for (int i = 0; i < 300; ++i) s.Air.Advance(0.005, {0.0, 0.0, 20.0}, {0.0, 12.0, 0.0}, 2.0);
  FlightHeader h = Header();
  h.wind = s.Air.Settings();
  const Recording rec = ParseRecording(File(kFormatVersion, HeaderBytes(h), EncodeSnapshot(s)));
  EXPECT_EQ(rec.header.wind, s.Air.Settings());

  SimState back;
  const std::string snapshot = EncodeSnapshot(s);
  ByteReader r(snapshot);
  ReadSnapshot(r, back);
  EXPECT_EQ(back.Air.Settings(), s.Air.Settings());
  EXPECT_EQ(back.Air.DynamicState(), s.Air.DynamicState());
  EXPECT_EQ(EncodeSnapshot(back), snapshot);

  // A wind out of range is a damaged file, not a flight.
  h.wind.speed = 99.0;
  EXPECT_THROW(ParseRecording(File(kFormatVersion, HeaderBytes(h), EncodeSnapshot(s))),
               FormatError);
}

}  // namespace
}  // namespace veltrane::record
