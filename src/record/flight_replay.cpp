#include "record/flight_replay.h"

#include <algorithm>

#include "sim/lifecycle.h"

namespace veltrane::record {

void ApplyCommand(SimState& s, const World& w, const Trace& trace, CommandCode code,
                  std::uint8_t arg) {
  switch (code) {
    case CommandCode::Init:
      Reinitialise(s, w, trace, false);
      break;
    case CommandCode::InitFollow:
      Reinitialise(s, w, trace, true);
      break;
    case CommandCode::Restart:
      RestartFlight(s, w, trace);
      break;
    case CommandCode::Handstart:
      Handstart(s, trace);
      break;
    case CommandCode::Winch:
      AttachWinch(s);
      break;
    case CommandCode::Pause:
      s.Flags.Pause = arg != 0;
      break;
    case CommandCode::AutoInit:
      s.Flags.AutoInit = arg != 0;
      break;
    case CommandCode::Indestructible:
      s.Flags.Autorestart = arg != 0;
      break;
    case CommandCode::Pilot:
      Standort(s, w, static_cast<char>(arg), trace);
      break;
  }
}

ReplayCursor::ReplayCursor(const Recording& rec, SimState& s, SimTick& tick, ManualClock& clock,
                           Trace trace)
    : rec_(rec), s_(s), tick_(tick), clock_(clock), trace_(std::move(trace)) {
  Rewind();
}

void ReplayCursor::Restore(const std::string& snapshot) {
  ByteReader r(snapshot);
  ReadSnapshot(r, s_);
  clock_.Set(s_.LastTickTime);
}

void ReplayCursor::Rewind() {
  Restore(rec_.start);
  position_ = nextEvent_ = nextCheck_ = 0;
}

void ReplayCursor::ApplyEvents() {
  while (nextEvent_ < rec_.events.size() && rec_.events[nextEvent_].beforeFrame <= position_) {
    const Recording::Event& e = rec_.events[nextEvent_++];
    if (e.kind == Tag::State) {
      ByteReader r(e.state);
      ReadSnapshot(r, s_);
    } else {
      ApplyCommand(s_, tick_.CurrentWorld(), trace_, e.code, e.arg);
      if (afterCommand) afterCommand(e.code);
    }
  }
}

bool ReplayCursor::Step() {
  if (AtEnd()) return false;
  ApplyEvents();
  const Recording::Frame& f = rec_.frames[position_];
  controls_ = f.values;
  clock_.Set(f.clock);
  tick_.Tick();
  ++position_;
  while (nextCheck_ < rec_.checks.size() && rec_.checks[nextCheck_].afterFrames < position_)
    ++nextCheck_;
  if (nextCheck_ < rec_.checks.size() && rec_.checks[nextCheck_].afterFrames == position_) {
    const Recording::Check& c = rec_.checks[nextCheck_++];
    if (!firstDifference_ && !SameFlight(EncodeSnapshot(s_), c.state))
      firstDifference_ = c.clock - rec_.StartClock();
  }
  return true;
}

void ReplayCursor::Seek(std::size_t frames) {
  frames = std::min(frames, rec_.frames.size());
  const Recording::Check* from = nullptr;
  for (const Recording::Check& c : rec_.checks)
    if (c.afterFrames <= frames) from = &c;
  Rewind();
  if (from) {
    // The commands before the snapshot are in its state already.
    Restore(from->state);
    position_ = from->afterFrames;
    while (nextEvent_ < rec_.events.size() && rec_.events[nextEvent_].beforeFrame < position_)
      ++nextEvent_;
    nextCheck_ = static_cast<std::size_t>(from - rec_.checks.data()) + 1;
  }
  while (position_ < frames) Step();
}

void ReplayCursor::SeekTime(std::int64_t ms) {
  const std::int64_t target = rec_.StartClock() + ms;
  const auto it =
      std::upper_bound(rec_.frames.begin(), rec_.frames.end(), target,
                       [](std::int64_t t, const Recording::Frame& f) { return t < f.clock; });
  Seek(static_cast<std::size_t>(it - rec_.frames.begin()));
}

std::int64_t ReplayCursor::TimeMs() const {
  if (position_ == 0) return 0;
  return rec_.frames[position_ - 1].clock - rec_.StartClock();
}

}  // namespace veltrane::record
