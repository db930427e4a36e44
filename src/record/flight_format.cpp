#include "record/flight_format.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace veltrane::record {

namespace {
constexpr std::size_t kMaxPathLength = 4096;
constexpr std::size_t kMaxAirStateBytes = 4096;
}  // namespace

std::uint64_t HashBytes(std::string_view bytes) {
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

std::uint64_t HashFile(const std::string& path) {
  if (path.empty()) return 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) return 0;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return HashBytes(bytes);
}

void ByteWriter::U16(std::uint16_t v) {
  U8(static_cast<std::uint8_t>(v));
  U8(static_cast<std::uint8_t>(v >> 8));
}

void ByteWriter::U32(std::uint32_t v) {
  for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ByteWriter::U64(std::uint64_t v) {
  for (int i = 0; i < 8; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ByteWriter::F32(float v) {
  std::uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  U32(bits);
}

void ByteWriter::F64(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  U64(bits);
}

void ByteWriter::VarInt(std::int64_t v) {
  std::uint64_t z = (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
  while (z >= 0x80) {
    U8(static_cast<std::uint8_t>(z | 0x80));
    z >>= 7;
  }
  U8(static_cast<std::uint8_t>(z));
}

void ByteWriter::Str(std::string_view s) {
  U32(static_cast<std::uint32_t>(s.size()));
  out_.append(s);
}

void ByteReader::Fail(const std::string& what) const {
  throw FormatError(what + " at byte " + std::to_string(pos_));
}

void ByteReader::Need(std::size_t n) const {
  if (data_.size() - std::min(pos_, data_.size()) < n) throw Truncated{};
}

std::uint8_t ByteReader::U8() {
  Need(1);
  return static_cast<std::uint8_t>(data_[pos_++]);
}

std::uint16_t ByteReader::U16() {
  const std::uint16_t lo = U8();
  return static_cast<std::uint16_t>(lo | (U8() << 8));
}

std::uint32_t ByteReader::U32() {
  Need(4);
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t(U8()) << (8 * i);
  return v;
}

std::uint64_t ByteReader::U64() {
  Need(8);
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v |= std::uint64_t(U8()) << (8 * i);
  return v;
}

float ByteReader::F32() {
  const std::uint32_t bits = U32();
  float v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

double ByteReader::F64() {
  const std::uint64_t bits = U64();
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

bool ByteReader::Bool() {
  const std::uint8_t v = U8();
  if (v > 1) Fail("a yes/no value is " + std::to_string(v));
  return v == 1;
}

std::int64_t ByteReader::VarInt() {
  std::uint64_t z = 0;
  for (int shift = 0;; shift += 7) {
    if (shift > 63) Fail("a number is longer than 64 bits");
    const std::uint8_t b = U8();
    z |= std::uint64_t(b & 0x7F) << shift;
    if (!(b & 0x80)) break;
  }
  return static_cast<std::int64_t>(z >> 1) ^ -static_cast<std::int64_t>(z & 1);
}

std::string ByteReader::Str(std::size_t maxLength) {
  const std::uint32_t n = U32();
  if (n > maxLength) Fail("a text of " + std::to_string(n) + " bytes");
  Need(n);
  std::string s(data_.substr(pos_, n));
  pos_ += n;
  return s;
}

namespace {
void WriteWind(ByteWriter& w, const WindSettings& wind) {
  w.F64(wind.speed);
  w.F64(wind.fromDegrees);
  w.U8(static_cast<std::uint8_t>(std::clamp(wind.gusts, 0, 100)));
  w.U8(static_cast<std::uint8_t>(std::clamp(wind.turbulence, 0, 100)));
  w.U32(wind.turbulenceSeed);
}

WindSettings ReadWind(ByteReader& r) {
  WindSettings wind;
  wind.speed = r.F64();
  wind.fromDegrees = r.F64();
  wind.gusts = r.U8();
  wind.turbulence = r.U8();
  wind.turbulenceSeed = r.U32();
  if (!(wind.speed >= 0.0 && wind.speed <= WindSettings::kMaxSpeed) ||
      !(wind.fromDegrees >= 0.0 && wind.fromDegrees < 360.0) || wind.gusts > 100 ||
      wind.turbulence > 100)
    r.Fail("wind settings out of range");
  return wind;
}
}  // namespace

void WriteHeader(ByteWriter& w, const FlightHeader& h) {
  w.Str(h.programVersion);
  w.I64(h.startedAt);
  w.Str(h.modelFile);
  w.U64(h.modelHash);
  w.Str(h.landscapeFile);
  w.U64(h.landscapeHash);
  w.U32(static_cast<std::uint32_t>(h.thermalCount));
  w.F64(h.thermalStrength);
  w.U32(h.randomSeed);
  w.U32(static_cast<std::uint32_t>(h.modelStyle));
  w.F64(h.groundClearance);
  w.Bool(h.autoInit);
  w.Bool(h.indestructible);
  WriteWind(w, h.wind);
}

FlightHeader HeaderFromState(const SimState& s) {
  FlightHeader h;
  h.thermalCount = s.Thermals.iBubbles;
  h.thermalStrength = s.Thermals.BubbleZ;
  h.randomSeed = s.Random.State();
  h.modelStyle = s.iModelStyle;
  h.groundClearance = s.GroundClearance;
  h.autoInit = s.Flags.AutoInit;
  h.indestructible = s.Flags.Autorestart;
  h.wind = s.Air.Settings();
  return h;
}

void RoundControls(SimState& s) {
  for (double& v : s.FunctionValue) v = static_cast<double>(static_cast<float>(v));
}

FlightHeader ReadHeader(ByteReader& r) {
  FlightHeader h;
  h.programVersion = r.Str(64);
  h.startedAt = r.I64();
  h.modelFile = r.Str(kMaxPathLength);
  h.modelHash = r.U64();
  h.landscapeFile = r.Str(kMaxPathLength);
  h.landscapeHash = r.U64();
  h.thermalCount = static_cast<std::int32_t>(r.U32());
  h.thermalStrength = r.F64();
  h.randomSeed = r.U32();
  h.modelStyle = static_cast<std::int32_t>(r.U32());
  h.groundClearance = r.F64();
  h.autoInit = r.Bool();
  h.indestructible = r.Bool();
  // A format 1 header ends here: its flight was in still air.
  if (!r.AtEnd()) h.wind = ReadWind(r);
  if (h.modelFile.empty()) r.Fail("the header names no model");
  return h;
}

namespace {
void WriteThermals(ByteWriter& w, const ThermalTable& table) {
  const int bubbles = std::clamp(table.iBubbles, 0, kMaxThermals);
  w.U8(static_cast<std::uint8_t>(bubbles));
  w.F64(table.BubbleZ);
  for (int i = 0; i < bubbles; ++i) {
    const Thermal& t = table.Thermals[static_cast<std::size_t>(i)];
    for (double d : {t.x, t.y, t.strength, t.radius}) w.F64(d);
  }
}
}  // namespace

std::string EncodeThermals(const ThermalTable& t) {
  std::string out;
  ByteWriter w(out);
  WriteThermals(w, t);
  return out;
}

void WriteSnapshot(ByteWriter& w, const SimState& s, bool thermals) {
  for (const Vec3* v : {&s.ModelPosition, &s.ModelVelocity, &s.AxisForward, &s.AxisUp, &s.AxisRight,
                        &s.AngularVelocity, &s.PilotPosition, &s.StartPosition, &s.WinchPosition})
    w.Vec(*v);
  for (double d :
       {s.Airspeed, s.PitchRate, s.YawRate, s.RollRate, s.GroundHeight, s.ThermalLift, s.TimeStep})
    w.F64(d);
  for (bool b : {s.Airborne, s.Crashed, s.WinchAttached, s.AutoInitPending, s.Flags.Pause,
                 s.Flags.AutoInit, s.Flags.Autorestart})
    w.Bool(b);
  w.I64(s.LastTickTime);
  w.I64(s.PrevTickTime);
  w.I64(s.CrashTime);
  for (double f : s.FunctionValue) w.F64(f);
  w.U32(s.Random.State());
  const int contacts = std::clamp(s.Heli.ContactCount, 0, kMaxContacts);
  w.U8(static_cast<std::uint8_t>(contacts));
  for (int i = 0; i < contacts; ++i)
    w.Vec(s.Heli.Contacts[static_cast<std::size_t>(i)].WorldOffset);
  w.Bool(thermals);
  if (thermals) WriteThermals(w, s.Thermals);
  // Still air adds nothing, so a still flight encodes as format 1 did.
  if (!s.Air.Still()) {
    WriteWind(w, s.Air.Settings());
    w.Str(s.Air.DynamicState());
  }
}

void ReadSnapshot(ByteReader& r, SimState& s, int* contactsRead) {
  for (Vec3* v : {&s.ModelPosition, &s.ModelVelocity, &s.AxisForward, &s.AxisUp, &s.AxisRight,
                  &s.AngularVelocity, &s.PilotPosition, &s.StartPosition, &s.WinchPosition})
    *v = r.Vec();
  for (double* d : {&s.Airspeed, &s.PitchRate, &s.YawRate, &s.RollRate, &s.GroundHeight,
                    &s.ThermalLift, &s.TimeStep})
    *d = r.F64();
  for (bool* b : {&s.Airborne, &s.Crashed, &s.WinchAttached, &s.AutoInitPending, &s.Flags.Pause,
                  &s.Flags.AutoInit, &s.Flags.Autorestart})
    *b = r.Bool();
  s.LastTickTime = r.I64();
  s.PrevTickTime = r.I64();
  s.CrashTime = r.I64();
  for (double& f : s.FunctionValue) f = r.F64();
  s.Random.SetState(r.U32());
  const int contacts = r.U8();
  if (contacts > kMaxContacts) r.Fail(std::to_string(contacts) + " helicopter contacts");
  if (contactsRead) *contactsRead = contacts;
  for (int i = 0; i < contacts; ++i)
    s.Heli.Contacts[static_cast<std::size_t>(i)].WorldOffset = r.Vec();
  if (r.Bool()) {
    const int bubbles = r.U8();
    if (bubbles > kMaxThermals) r.Fail(std::to_string(bubbles) + " thermals");
    s.Thermals.iBubbles = bubbles;
    s.Thermals.BubbleZ = r.F64();
    for (int i = 0; i < bubbles; ++i) {
      Thermal& t = s.Thermals.Thermals[static_cast<std::size_t>(i)];
      for (double* d : {&t.x, &t.y, &t.strength, &t.radius}) *d = r.F64();
    }
  }
  if (r.AtEnd()) {
    WindSettings still = s.Air.Settings();
    still.speed = 0.0;
    s.Air.SetWind(still);
    return;
  }
  s.Air.SetWind(ReadWind(r));
  if (s.Air.Still() || !s.Air.SetDynamicState(r.Str(kMaxAirStateBytes)))
    r.Fail("a gust and turbulence state that does not fit this program");
}

bool SameFlight(std::string_view a, std::string_view b) {
  // The pilot's place is the seventh vector of a snapshot.
  constexpr std::size_t kPilotAt = 6 * 24, kPilotEnd = kPilotAt + 24;
  if (a.size() != b.size() || a.size() < kPilotEnd) return a == b;
  return a.substr(0, kPilotAt) == b.substr(0, kPilotAt) &&
         a.substr(kPilotEnd) == b.substr(kPilotEnd);
}

std::string EncodeSnapshot(const SimState& s) {
  std::string out;
  out.reserve(2048);
  ByteWriter w(out);
  WriteSnapshot(w, s);
  return out;
}

}  // namespace veltrane::record
