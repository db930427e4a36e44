#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "sim/sim_state.h"

namespace veltrane::record {

// A recorded flight file: "VLTFLGHT", a format version, the header, then
// records in flight order. Little-endian throughout.
constexpr std::string_view kMagic = "VLTFLGHT";
// 2: the header carries the wind, and snapshots of a flight in moving air the
// state of its gusts and turbulence. Format 1 files (still air) read as before.
constexpr std::uint16_t kFormatVersion = 2;
// Seconds of flight between two check snapshots.
constexpr std::int64_t kSnapshotIntervalMs = 5000;

// What a reader refuses; the message says where and why.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Record tags. A frame is the most frequent record, so it is the shortest.
// Frame: only single-precision control values follow; FrameWide: a second mask
// says which of them are doubles. End: the file was closed cleanly.
enum class Tag : std::uint8_t {
  Frame = 1,
  FrameWide = 2,
  Command = 3,
  Snapshot = 4,
  State = 5,
  End = 6
};

// Commands between two frames that change the flight.
enum class CommandCode : std::uint8_t {
  Init = 1,        // InitFlight (the re-initialise command without follow flight)
  InitFollow = 2,  // the re-initialise command with follow flight
  Restart = 3,
  Handstart = 4,
  Winch = 5,
  Pause = 6,           // argument: 0 off, 1 on
  AutoInit = 7,        // argument: 0 off, 1 on
  Indestructible = 8,  // argument: 0 off, 1 on
  Pilot = 9,           // argument: the pilot-position key '2'..'9'
};

struct FlightHeader {
  std::string programVersion;
  std::int64_t startedAt = 0;  // seconds since 1970, for the list of flights
  std::string modelFile;       // absolute path when recorded
  std::uint64_t modelHash = 0;
  std::string landscapeFile;  // empty: flat ground
  std::uint64_t landscapeHash = 0;
  std::int32_t thermalCount = 0;
  double thermalStrength = 0.0;
  std::uint32_t randomSeed = 0;  // the generator's state at the start
  std::int32_t modelStyle = 0;
  double groundClearance = 0.0;
  bool autoInit = false;
  bool indestructible = false;
  WindSettings wind;  // format 1: still air
};

// The header's physics part from the state a flight starts from: thermals,
// seed, model style, clearance and the flags. Names, hashes and times are the
// caller's.
FlightHeader HeaderFromState(const SimState& s);
// Controls as a recording stores them (single precision), so that the live
// flight and its replay see the same values.
void RoundControls(SimState& s);

// 64-bit FNV-1a of a file's bytes; 0 when it cannot be read.
std::uint64_t HashBytes(std::string_view bytes);
std::uint64_t HashFile(const std::string& path);

// Appends little-endian values to a byte string.
class ByteWriter {
 public:
  explicit ByteWriter(std::string& out) : out_(out) {}
  void U8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void U16(std::uint16_t v);
  void U32(std::uint32_t v);
  void U64(std::uint64_t v);
  void I64(std::int64_t v) { U64(static_cast<std::uint64_t>(v)); }
  void F32(float v);
  void F64(double v);
  void Bool(bool v) { U8(v ? 1 : 0); }
  void VarInt(std::int64_t v);  // zigzag, 7 bits a byte
  void Str(std::string_view s);
  void Vec(const Vec3& v) {
    F64(v.x);
    F64(v.y);
    F64(v.z);
  }

 private:
  std::string& out_;
};

// Reads what ByteWriter wrote; every read is bounds-checked and a short read
// throws Truncated, a bad value FormatError, each with the byte offset.
class ByteReader {
 public:
  struct Truncated {};
  ByteReader(std::string_view data, std::size_t offset = 0) : data_(data), pos_(offset) {}
  std::uint8_t U8();
  std::uint16_t U16();
  std::uint32_t U32();
  std::uint64_t U64();
  std::int64_t I64() { return static_cast<std::int64_t>(U64()); }
  float F32();
  double F64();
  bool Bool();
  std::int64_t VarInt();
  std::string Str(std::size_t maxLength);
  Vec3 Vec() {
    Vec3 v;
    v.x = F64();
    v.y = F64();
    v.z = F64();
    return v;
  }
  std::size_t Offset() const { return pos_; }
  bool AtEnd() const { return pos_ >= data_.size(); }
  [[noreturn]] void Fail(const std::string& what) const;

 private:
  void Need(std::size_t n) const;
  std::string_view data_;
  std::size_t pos_;
};

void WriteHeader(ByteWriter& w, const FlightHeader& h);
FlightHeader ReadHeader(ByteReader& r);

// The part of the flight state that the flight changes, everything but the
// model's parameters: what a snapshot holds to seek and to check a replay.
// Its thermal table may be left out (thermals false) when it is the one of
// the previous snapshot; the reader puts it back, so a snapshot read from a
// file always has the table.
void WriteSnapshot(ByteWriter& w, const SimState& s, bool thermals = true);
// Sets the snapshot's part of s; the model's parameters stay. A snapshot
// without its thermal table leaves the table of s.
void ReadSnapshot(ByteReader& r, SimState& s, int* contacts = nullptr);
std::string EncodeSnapshot(const SimState& s);
// Whether two snapshots hold the same flight: everything but the pilot's
// place, which the follow-flight camera moves and no flight model reads.
bool SameFlight(std::string_view a, std::string_view b);
// The thermal table as a snapshot holds it, to tell when it changed.
std::string EncodeThermals(const ThermalTable& t);

}  // namespace veltrane::record
