#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/tasks/ghost_course.h"
#include "base/clock/clock.h"
#include "base/rm/rm.h"
#include "record/flight_recorder.h"
#include "record/flight_replay.h"
#include "sim/tick.h"

namespace veltrane {

// The clock the tick reads: the program's own, or the recorded one while a
// recorded flight is replayed. In slow motion the live flight's time runs at
// a fraction of the program's, so everything timed by the tick (frame time,
// recordings, the ghost, the crash delay) runs slower alike, and a recording
// holds the slowed times: its replay retraces it exactly.
class FlightClock final : public Clock {
 public:
  explicit FlightClock(const Clock& live) : live_(live) {}
  std::int64_t NowMs() const override { return replaying ? recorded.NowMs() : LiveMs(); }
  // 1: real time; 2: half; 4: a quarter. The flight's time goes on from where it is.
  void SetSlowMotion(int divisor) {
    flightAt_ = LiveMs();
    liveAt_ = live_.NowMs();
    divisor_ = divisor < 1 ? 1 : divisor;
  }
  int SlowMotion() const { return divisor_; }
  bool replaying = false;
  ManualClock recorded;

 private:
  std::int64_t LiveMs() const { return flightAt_ + (live_.NowMs() - liveAt_) / divisor_; }
  const Clock& live_;
  int divisor_ = 1;
  std::int64_t liveAt_ = 0, flightAt_ = 0;
};

// The replay speeds F7 and F8 step through.
constexpr double kReplaySpeeds[] = {0.25, 0.5, 1.0, 2.0, 4.0};
constexpr int kNormalSpeed = 2;

// The main window's recorder, replay and ghost.
struct FlightLog {
  explicit FlightLog(const Clock& live) : clock(live) {}

  FlightClock clock;
  record::FlightRecorder recorder;
  bool enabled = true;
  std::string folder;
  std::int64_t flightStart = 0;  // clock of the live flight's start, for the ghost

  struct Replay {
    record::Recording rec;
    std::unique_ptr<record::ReplayCursor> cursor;
    int speed = kNormalSpeed;
    bool paused = false;
    double target = 0.0;  // replay time the display has reached, ms
    std::int64_t lastReal = 0;
  };
  std::unique_ptr<Replay> replay;

  // A recorded flight flown beside the live one on a state of its own.
  struct Ghost {
    record::Recording rec;
    SimState state;
    ManualClock clock;
    std::unique_ptr<SimTick> tick;
    std::unique_ptr<record::ReplayCursor> cursor;
    std::shared_ptr<rm::Frame> frame;
    std::shared_ptr<rm::MeshBuilder> visual;
    // A task's best run flies against a course of its own.
    std::unique_ptr<tasks::GhostCourse> course;
  };
  std::unique_ptr<Ghost> ghost;
};

}  // namespace veltrane
