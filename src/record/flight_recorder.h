#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "record/flight_format.h"
#include "sim/sim_state.h"

namespace veltrane::record {

// Writes one flight as it goes: the header and the starting state, then a
// frame record per tick, the commands between ticks, and a check snapshot
// every 5 s of flight. Bytes gather in memory and go to the file once a second
// of program time, so a crash loses at most the last second.
class FlightRecorder {
 public:
  FlightRecorder() = default;
  ~FlightRecorder() { Stop(); }
  FlightRecorder(const FlightRecorder&) = delete;
  FlightRecorder& operator=(const FlightRecorder&) = delete;

  // Starts a new file (ending the one open). False, with Error(), when the
  // file cannot be created; nothing is recorded then.
  bool Start(const std::string& path, const FlightHeader& header, const SimState& s);
  // Writes the rest and the end mark, and closes the file. A flight without
  // a single frame is not worth keeping: its file is removed.
  void Stop();
  bool Recording() const { return file_ != nullptr; }
  const std::string& Path() const { return path_; }
  const std::string& Error() const { return error_; }

  // Right after the tick read the controls: the frame's clock step and controls.
  void Frame(const SimState& s);
  // After the tick's physics: the check snapshot when due, and the flush.
  void AfterTick(const SimState& s);
  // A command between two ticks.
  void Command(CommandCode code, std::uint8_t arg = 0);
  // A change between ticks that no command stands for (the thermal settings):
  // the whole flight state, applied in the replay as it stands.
  void StateChanged(const SimState& s);

  // Bytes written so far, the buffer included.
  std::uint64_t Size() const { return written_ + buffer_.size(); }
  // Writes the buffer out now.
  void Flush();

 private:
  void Snapshot(const SimState& s);

  std::FILE* file_ = nullptr;
  std::string path_;
  std::string error_;
  std::string buffer_;
  std::uint64_t written_ = 0;
  std::uint64_t frames_ = 0;
  std::int64_t lastTick_ = 0;
  std::int64_t lastSnapshot_ = 0;
  std::int64_t lastFlush_ = 0;
  std::array<double, fn::kCount> lastValues_{};
  std::string lastThermals_;
};

}  // namespace veltrane::record
