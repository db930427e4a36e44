#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "base/clock/clock.h"
#include "base/trace/trace.h"
#include "record/flight_reader.h"
#include "sim/sim_state.h"
#include "sim/tick.h"
#include "sim/world.h"

namespace veltrane::record {

// Flies a recording again on a flight state whose model and landscape are the
// recorded ones: frame by frame through the real tick, with the recorded clock
// and controls, carrying out the recorded commands between the frames.
class ReplayCursor {
 public:
  // The tick must read its time from clock and its controls from Controls().
  ReplayCursor(const Recording& rec, SimState& s, SimTick& tick, ManualClock& clock, Trace trace);

  // Back to the start of the flight.
  void Rewind();
  // One recorded frame; false at the end.
  bool Step();
  // To the state after `frames` frames: from the last snapshot before it, then
  // frame by frame.
  void Seek(std::size_t frames);
  // To the last frame at or before the given program time since the start.
  void SeekTime(std::int64_t ms);

  std::size_t Position() const { return position_; }
  bool AtEnd() const { return position_ >= rec_.frames.size(); }
  // Program time since the start of the flight at the current position, ms.
  std::int64_t TimeMs() const;
  // The controls of the frame being ticked.
  const std::array<double, fn::kCount>& Controls() const { return controls_; }
  // Set once a snapshot did not match: the flight time of the first one, ms.
  std::optional<std::int64_t> FirstDifference() const { return firstDifference_; }
  const Recording& Rec() const { return rec_; }

  // Called after each recorded command (the camera follows the pilot).
  std::function<void(CommandCode)> afterCommand;

 private:
  void ApplyEvents();
  void Restore(const std::string& snapshot);

  const Recording& rec_;
  SimState& s_;
  SimTick& tick_;
  ManualClock& clock_;
  Trace trace_;
  std::size_t position_ = 0;
  std::size_t nextEvent_ = 0;
  std::size_t nextCheck_ = 0;
  std::array<double, fn::kCount> controls_{};
  std::optional<std::int64_t> firstDifference_;
};

// Carries out one recorded command on the flight state.
void ApplyCommand(SimState& s, const World& w, const Trace& trace, CommandCode code,
                  std::uint8_t arg);

}  // namespace veltrane::record
