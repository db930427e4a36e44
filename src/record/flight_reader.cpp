#include "record/flight_reader.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace veltrane::record {

namespace {

constexpr std::size_t kMaxRecordBytes = 64u << 10;
constexpr std::int64_t kMaxClockStep = std::int64_t(1) << 40;

// Magic, version and header; the reader stands after the header.
FlightHeader ReadPrologue(const std::string& bytes, ByteReader& r) {
  if (bytes.size() < kMagic.size() || std::string_view(bytes).substr(0, kMagic.size()) != kMagic)
    throw FormatError("not a recorded flight");
  try {
    r = ByteReader(bytes, kMagic.size());
    const std::uint16_t version = r.U16();
    if (version == 0 || version > kFormatVersion)
      throw FormatError("recorded in format " + std::to_string(version) +
                        "; this version reads format " + std::to_string(kFormatVersion));
    const std::uint32_t length = r.U32();
    if (length > kMaxRecordBytes) r.Fail("a header of " + std::to_string(length) + " bytes");
    const std::size_t at = r.Offset();
    ByteReader h(std::string_view(bytes).substr(0, at + length), at);
    FlightHeader header = ReadHeader(h);
    r = ByteReader(bytes, at + length);
    return header;
  } catch (const ByteReader::Truncated&) {
    throw FormatError("the file ends inside its header");
  }
}

std::string ReadBlock(ByteReader& r) {
  const std::uint32_t length = r.U32();
  if (length > kMaxRecordBytes) r.Fail("a record of " + std::to_string(length) + " bytes");
  std::string block;
  block.reserve(length);
  for (std::uint32_t i = 0; i < length; ++i) block.push_back(static_cast<char>(r.U8()));
  return block;
}

// Checks a snapshot and returns it whole, in the form EncodeSnapshot gives:
// a snapshot that left its thermal table out gets the previous one's.
std::string CompleteSnapshot(const std::string& body, ThermalTable& thermals, std::size_t at) {
  SimState probe;
  probe.Thermals = thermals;
  ByteReader r(body);
  int contacts = 0;
  try {
    ReadSnapshot(r, probe, &contacts);
  } catch (const ByteReader::Truncated&) {
    throw FormatError("a snapshot is too short at byte " + std::to_string(at));
  } catch (const FormatError& e) {
    throw FormatError(std::string(e.what()) + " of the snapshot at byte " + std::to_string(at));
  }
  if (!r.AtEnd()) throw FormatError("a snapshot is too long at byte " + std::to_string(at));
  probe.Heli.ContactCount = contacts;
  thermals = probe.Thermals;
  return EncodeSnapshot(probe);
}

}  // namespace

FlightHeader ReadRecordingHeader(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FormatError(path + ": cannot be opened");
  std::string head(kMaxRecordBytes + 16, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  ByteReader r(head);
  try {
    return ReadPrologue(head, r);
  } catch (const FormatError& e) {
    throw FormatError(path + ": " + e.what());
  }
}

Recording ParseRecording(const std::string& bytes) {
  if (bytes.size() > kMaxFileBytes)
    throw FormatError("larger than " + std::to_string(kMaxFileBytes >> 20) + " MB");
  Recording rec;
  ByteReader r(bytes);
  rec.header = ReadPrologue(bytes, r);
  ThermalTable thermals;
  SimState startState;
  try {
    const std::size_t at = r.Offset();
    rec.start = CompleteSnapshot(ReadBlock(r), thermals, at);
    ByteReader sr(rec.start);
    ReadSnapshot(sr, startState);
  } catch (const ByteReader::Truncated&) {
    throw FormatError("the file ends before the flight's starting state");
  }
  rec.startClock = startState.LastTickTime;
  Recording::Frame last;
  last.clock = startState.LastTickTime;
  last.values = startState.FunctionValue;
  while (!r.AtEnd() && !rec.complete) {
    const std::size_t at = r.Offset();
    try {
      const std::uint8_t tag = r.U8();
      switch (static_cast<Tag>(tag)) {
        case Tag::Frame:
        case Tag::FrameWide: {
          Recording::Frame f = last;
          const std::int64_t step = r.VarInt();
          if (step < -kMaxClockStep || step > kMaxClockStep)
            r.Fail("a frame of " + std::to_string(step) + " ms");
          f.clock += step;
          const std::uint8_t changed = r.U8();
          const std::uint8_t wide = static_cast<Tag>(tag) == Tag::FrameWide ? r.U8() : 0;
          if (wide & ~changed) r.Fail("a frame with doubles for unchanged controls");
          for (int i = 0; i < fn::kCount; ++i) {
            if (!(changed & (1u << i))) continue;
            f.values[static_cast<std::size_t>(i)] = (wide & (1u << i)) ? r.F64() : double(r.F32());
          }
          if (rec.frames.size() >= kMaxFrames)
            r.Fail("more than " + std::to_string(kMaxFrames) + " frames");
          rec.frames.push_back(f);
          last = f;
          break;
        }
        case Tag::Command: {
          Recording::Event e;
          e.beforeFrame = static_cast<std::uint32_t>(rec.frames.size());
          e.kind = Tag::Command;
          const std::uint8_t code = r.U8();
          if (code < std::uint8_t(CommandCode::Init) || code > std::uint8_t(CommandCode::Pilot))
            r.Fail("an unknown command " + std::to_string(code));
          e.code = static_cast<CommandCode>(code);
          e.arg = r.U8();
          rec.events.push_back(std::move(e));
          break;
        }
        case Tag::State:
        case Tag::Snapshot: {
          const std::string body = ReadBlock(r);
          std::string full = CompleteSnapshot(body, thermals, at);
          if (static_cast<Tag>(tag) == Tag::State) {
            Recording::Event e;
            e.beforeFrame = static_cast<std::uint32_t>(rec.frames.size());
            e.kind = Tag::State;
            e.state = std::move(full);
            rec.events.push_back(std::move(e));
          } else {
            rec.checks.push_back(
                {static_cast<std::uint32_t>(rec.frames.size()), last.clock, std::move(full)});
          }
          break;
        }
        case Tag::End:
          if (!r.AtEnd()) r.Fail("data after the end of the flight");
          rec.complete = true;
          break;
        default:
          r.Fail("an unknown record " + std::to_string(tag));
      }
    } catch (const ByteReader::Truncated&) {
      break;  // cut off inside a record: keep what came before it
    }
  }
  return rec;
}

Recording ReadRecording(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw FormatError(path + ": cannot be opened");
  const auto size = static_cast<std::size_t>(in.tellg());
  if (size > kMaxFileBytes)
    throw FormatError(path + ": larger than " + std::to_string(kMaxFileBytes >> 20) + " MB");
  in.seekg(0);
  std::string bytes(size, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  try {
    return ParseRecording(bytes);
  } catch (const FormatError& e) {
    throw FormatError(path + ": " + e.what());
  }
}

}  // namespace veltrane::record
