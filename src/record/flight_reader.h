#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "record/flight_format.h"

namespace veltrane::record {

// A recorded flight as read from its file.
struct Recording {
  struct Frame {
    std::int64_t clock = 0;  // the program clock of this tick, ms
    std::array<double, fn::kCount> values{};
  };
  // A command or a state change, carried out before frame `beforeFrame`.
  struct Event {
    std::uint32_t beforeFrame = 0;
    Tag kind = Tag::Command;  // Command or State
    CommandCode code = CommandCode::Init;
    std::uint8_t arg = 0;
    std::string state;  // State: a snapshot
  };
  // The state after `afterFrames` frames, for seeking and checking.
  struct Check {
    std::uint32_t afterFrames = 0;
    std::int64_t clock = 0;
    std::string state;  // a snapshot with its thermal table
  };

  FlightHeader header;
  std::string start;  // the snapshot the flight starts from
  std::vector<Frame> frames;
  std::vector<Event> events;
  std::vector<Check> checks;
  bool complete = false;  // closed cleanly; otherwise cut off after the last whole frame

  std::int64_t startClock = 0;  // the program clock when the flight started, ms

  std::int64_t StartClock() const { return startClock; }
  // Milliseconds of program time from the start to the last frame.
  std::int64_t DurationMs() const {
    return frames.empty() ? 0 : frames.back().clock - StartClock();
  }
};

// Limits that keep a hostile file from taking the memory.
constexpr std::size_t kMaxFileBytes = 64u << 20;
constexpr std::size_t kMaxFrames = 2u << 20;  // 9 hours at 60 frames a second

// Reads a recording from its bytes. A file cut off in the middle (the program
// was killed) keeps everything up to its last whole record. Throws FormatError
// with a message for a file that is not a recording, is of a newer format, or
// is corrupt.
Recording ParseRecording(const std::string& bytes);
// The same from a file; the message names the file.
Recording ReadRecording(const std::string& path);
// Only the header, cheap enough for a list of many files.
FlightHeader ReadRecordingHeader(const std::string& path);

}  // namespace veltrane::record
