#include "sim/tick.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/clock/clock.h"
#include "base/trace/trace.h"
#include "sim/lifecycle.h"

namespace veltrane {
namespace {

constexpr const char* kCrashTrace = "MainFrorm.DXTimerTimer Model crashed\r\n";

// A tick on a manual clock whose flight model only records its sub-steps.
struct TickRig {
  SimState s;
  ManualClock clock;
  TraceCapture cap;
  SimTick tick{s, clock, cap.Sink()};
  std::vector<double> steps;  // TimeStep of every sub-step
  std::vector<std::string> calls;
  std::vector<bool> sounds;
  bool crashNext = false;

  TickRig() {
    s.Thermals.iBubbles = 0;
    clock.Set(1'000'000);
    tick.ResetLastTick();
    tick.airplaneStep = [this](SimState& st, const World&) {
      steps.push_back(st.TimeStep);
      calls.push_back("step");
      if (crashNext) st.Crashed = true;
    };
    tick.hooks.readRadio = [this] { calls.push_back("radio"); };
    tick.hooks.cameraUpdate = [this] { calls.push_back("camera"); };
    tick.hooks.soundUpdate = [this](bool started) {
      calls.push_back("sound");
      sounds.push_back(started);
    };
    tick.hooks.sceneUpdate = [this] { calls.push_back("scene"); };
  }
  void TickAfter(std::int64_t ms) {
    clock.Advance(ms);
    tick.Tick();
  }
  void Reset() {
    steps.clear();
    calls.clear();
    sounds.clear();
    cap.Clear();
  }
};

TEST(TickTiming, OnlySecondsAndMillisecondsCountAndAreCapped) {
  EXPECT_EQ(SecondsAndMillisOf(61'500), 1'500);
  EXPECT_EQ(SecondsAndMillisOf(3'600'000 + 2'250), 2'250);
  EXPECT_EQ(SecondsAndMillisOf(-20), 0);
  EXPECT_DOUBLE_EQ(FrameTimeOf(16), 0.016);
  EXPECT_DOUBLE_EQ(FrameTimeOf(61'500), 0.1);
  EXPECT_DOUBLE_EQ(FrameTimeOf(60'050), 0.05);  // a whole minute is dropped
  EXPECT_DOUBLE_EQ(FrameTimeOf(-5), 0.0);
  EXPECT_EQ(SubStepCount(0.0), 1);
  EXPECT_EQ(SubStepCount(0.005), 2);
  EXPECT_EQ(SubStepCount(0.016), 4);
  EXPECT_EQ(SubStepCount(0.1), 21);
}

TEST(TickTiming, SubStepsCoverTheFrame) {
  struct Case {
    std::int64_t gapMs;
    std::size_t n;
    double subStep;
  };
  for (const Case& c : {Case{5, 2, 0.0025}, Case{16, 4, 0.004}, Case{0, 1, 0.0},
                        Case{61'500, 21, 0.1 / 21}, Case{100, 21, 0.1 / 21}, Case{-40, 1, 0.0}}) {
    TickRig r;
    r.TickAfter(c.gapMs);
    ASSERT_EQ(r.steps.size(), c.n) << c.gapMs;
    for (double dt : r.steps) EXPECT_DOUBLE_EQ(dt, c.subStep) << c.gapMs;
    // After the loop TimeStep is the frame time again, for the scene update.
    EXPECT_NEAR(r.s.TimeStep, c.subStep * static_cast<double>(c.n), 1e-15) << c.gapMs;
    EXPECT_EQ(r.s.LastTickTime, r.clock.NowMs());
    EXPECT_EQ(r.s.PrevTickTime, r.clock.NowMs() - c.gapMs);
  }
}

TEST(Tick, RunsItsPartsInOrderAndClampsTheControls) {
  TickRig r;
  r.tick.hooks.readRadio = [&] {
    r.calls.push_back("radio");
    r.s.FunctionValue = {3.0, -7.0, 0.5, 1.0, -1.0, 1.5, -1.0001, 0.0};
  };
  r.TickAfter(5);
  EXPECT_EQ(r.calls, (std::vector<std::string>{"radio", "step", "step", "sound", "scene"}));
  EXPECT_EQ(r.s.FunctionValue, (std::array<double, 8>{1.0, -1.0, 0.5, 1.0, -1.0, 1.0, -1.0, 0.0}));
}

TEST(Tick, DisplayNotReadySkipsEverything) {
  TickRig r;
  r.tick.hooks.displayReady = [] { return false; };
  const std::int64_t last = r.s.LastTickTime;
  r.TickAfter(20);
  EXPECT_TRUE(r.calls.empty());
  EXPECT_EQ(r.s.LastTickTime, last);
}

TEST(Tick, PauseReadsControlsAndDrawsButRunsNoPhysics) {
  TickRig r;
  r.s.Flags.Pause = true;
  r.s.FunctionValue[fn::kElevator] = 4.0;
  r.TickAfter(20);
  EXPECT_EQ(r.calls, (std::vector<std::string>{"radio", "scene"}));
  EXPECT_EQ(r.s.FunctionValue[fn::kElevator], 1.0);
  EXPECT_DOUBLE_EQ(r.s.TimeStep, 0.02);
}

TEST(Tick, OtherModelStylesRunTheirOwnOrNoModel) {
  TickRig r;
  int heli = 0;
  EXPECT_TRUE(static_cast<bool>(r.tick.heliStep));  // MoveHelicopter by default
  r.tick.heliStep = {};
  r.s.iModelStyle = 1;
  r.TickAfter(10);  // no helicopter model wired: no physics, no failure
  EXPECT_TRUE(r.steps.empty());
  EXPECT_TRUE(r.cap.Lines().empty());
  r.tick.heliStep = [&](SimState&, const World&) { ++heli; };
  r.TickAfter(10);
  EXPECT_EQ(heli, 3);
  r.s.iModelStyle = 2;
  r.TickAfter(10);
  EXPECT_EQ(heli, 3);
  EXPECT_TRUE(r.steps.empty());
}

TEST(Tick, ReplacedWorldReachesTheFlightModel) {
  TickRig r;
  const World* seen = nullptr;
  r.tick.airplaneStep = [&](SimState&, const World& w) { seen = &w; };
  r.TickAfter(1);
  EXPECT_EQ(seen, &r.tick.CurrentWorld());
  FlatWorld other;
  r.tick.SetWorld(&other);
  r.TickAfter(1);
  EXPECT_EQ(seen, &other);
}

TEST(TickCrash, TraceAndSoundFlagOncePerCrash) {
  TickRig r;
  r.TickAfter(10);
  r.crashNext = true;
  r.TickAfter(10);
  r.TickAfter(10);
  r.TickAfter(10);
  EXPECT_EQ(r.cap.Count(kCrashTrace), 1u);
  EXPECT_EQ(r.sounds, (std::vector<bool>{false, true, false, false}));
  // A new flight and a new crash give a new trace.
  InitFlight(r.s, r.tick.CurrentWorld(), Trace());
  r.TickAfter(10);
  EXPECT_EQ(r.cap.Count(kCrashTrace), 2u);
}

TEST(TickCrash, AutoInitFiresOnlyAfterMoreThanOneAndAHalfSeconds) {
  TickRig r;
  r.s.Flags.AutoInit = true;
  r.crashNext = true;
  r.TickAfter(10);
  r.crashNext = false;
  EXPECT_TRUE(r.s.AutoInitPending);
  EXPECT_EQ(r.s.CrashTime, r.clock.NowMs());
  r.s.FunctionValue[fn::kThrottle] = 0.5;
  r.Reset();
  r.TickAfter(1000);
  r.TickAfter(500);  // exactly 1500 ms: not yet
  EXPECT_TRUE(r.s.Crashed);
  EXPECT_FALSE(r.cap.Contains("Simulate.InitFlight\r\n"));
  r.TickAfter(1);
  EXPECT_TRUE(r.cap.Contains("Simulate.InitFlight\r\n"));
  EXPECT_FALSE(r.s.Crashed);
  EXPECT_FALSE(r.s.AutoInitPending);
  EXPECT_EQ(r.s.FunctionValue[fn::kThrottle], -1.0);
  // The camera follows the re-initialised model before the sound and scene.
  const std::vector<std::string> tail(r.calls.end() - 3, r.calls.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"camera", "sound", "scene"}));
}

TEST(TickCrash, UncheckingAutoInitDoesNotCancelButARestartDoes) {
  {
    TickRig r;
    r.s.Flags.AutoInit = true;
    r.crashNext = true;
    r.TickAfter(10);
    r.crashNext = false;
    r.s.Flags.AutoInit = false;
    r.TickAfter(1600);
    EXPECT_TRUE(r.cap.Contains("Simulate.InitFlight\r\n"));
    EXPECT_FALSE(r.s.Crashed);
  }
  {
    TickRig r;
    r.s.Flags.AutoInit = true;
    r.crashNext = true;
    r.TickAfter(10);
    r.crashNext = false;
    RestartFlight(r.s, r.tick.CurrentWorld(), Trace());
    r.TickAfter(10);
    EXPECT_FALSE(r.s.AutoInitPending);
    r.TickAfter(1600);
    EXPECT_FALSE(r.cap.Contains("Simulate.InitFlight\r\n"));
  }
}

TEST(TickCrash, PendingAutoInitWaitsForTheEndOfAPause) {
  TickRig r;
  r.s.Flags.AutoInit = true;
  r.crashNext = true;
  r.TickAfter(10);
  r.crashNext = false;
  r.s.Flags.Pause = true;
  r.TickAfter(1600);
  r.TickAfter(100);
  EXPECT_TRUE(r.s.Crashed);
  r.s.Flags.Pause = false;
  r.TickAfter(100);
  EXPECT_FALSE(r.s.Crashed);
  EXPECT_EQ(r.cap.Count("Simulate.InitFlight\r\n"), 1u);
}

TEST(TickCrash, IndestructibleRestartsAtOnceWhereTheModelIs) {
  TickRig r;
  r.s.Flags.Autorestart = true;
  r.s.GroundClearance = 0.25;
  r.s.ModelPosition = {40.0, 50.0, 12.0};
  r.s.FunctionValue[fn::kThrottle] = 0.7;
  r.crashNext = true;
  r.TickAfter(10);
  r.TickAfter(10);
  EXPECT_EQ(r.cap.Count("Simulate.RestartFlight\r\n"), 2u);
  EXPECT_EQ(r.cap.Count(kCrashTrace), 0u);
  EXPECT_FALSE(r.s.Crashed);
  EXPECT_EQ(r.s.ModelPosition, (Vec3{40.0, 50.0, 0.25}));
  EXPECT_EQ(r.s.FunctionValue[fn::kThrottle], 0.7);
  // The crash leaves its mark for the tick it happened in, and for that one only.
  EXPECT_TRUE(r.s.CrashAbsorbed);
  r.crashNext = false;
  r.TickAfter(10);
  EXPECT_FALSE(r.s.CrashAbsorbed);
}

TEST(TickFault, FailedSubStepIsUndoneTracedAndEndsTheFrame) {
  TickRig r;
  r.tick.airplaneStep = [&](SimState& s, const World&) {
    r.calls.push_back("step");
    s.ModelPosition.x += 1.0;
    if (s.ModelPosition.x > 2.5) {
      s.ModelPosition.y = std::sqrt(-s.ModelPosition.x);  // FE_INVALID, NaN
      s.Crashed = true;
    }
  };
  r.TickAfter(20);  // five sub-steps planned, the third fails
  EXPECT_EQ(r.s.ModelPosition, (Vec3{2.0, 0.0, 0.0}));
  EXPECT_FALSE(r.s.Crashed);
  EXPECT_EQ(r.cap.Lines(), std::vector<std::string>{"Exception in MoveAirplane\r\n"});
  EXPECT_DOUBLE_EQ(r.s.TimeStep, 0.004);  // the sub-step length, not the frame
  // The crash bookkeeping, sound and scene still run.
  EXPECT_EQ(r.calls, (std::vector<std::string>{"radio", "step", "step", "step", "sound", "scene"}));
}

TEST(TickFault, ExceptionsFromTheModelCountAsItsFailure) {
  TickRig r;
  r.s.iModelStyle = 1;
  r.tick.heliStep = [](SimState&, const World&) { throw std::runtime_error("boom"); };
  r.TickAfter(20);
  EXPECT_EQ(r.cap.Lines(), std::vector<std::string>{"Exception in MoveHelicopter\r\n"});
}

TEST(TickFault, HelicopterWithoutParametersFaultsThroughTheDefaultWiring) {
  SimState s;  // zero helicopter inertias and a still rotor
  s.iModelStyle = 1;
  s.ModelPosition = {0.0, 0.0, 5.0};
  ManualClock clock;
  TraceCapture cap;
  SimTick tick(s, clock, cap.Sink());
  clock.Advance(16);
  tick.Tick();
  EXPECT_EQ(cap.Lines(), std::vector<std::string>{"Exception in MoveHelicopter\r\n"});
  EXPECT_EQ(s.ModelPosition, (Vec3{0.0, 0.0, 5.0}));
}

TEST(TickFault, HookFailureEndsOnlyThatTick) {
  TickRig r;
  r.tick.hooks.readRadio = [] { throw std::runtime_error("radio"); };
  r.TickAfter(20);
  EXPECT_EQ(r.cap.Lines(), std::vector<std::string>{"Exception in DXTimerTimer\r\n"});
  EXPECT_TRUE(r.steps.empty());
  r.tick.hooks.readRadio = {};
  r.TickAfter(20);
  EXPECT_EQ(r.steps.size(), 5u);
}

// The real airplane model with parameter sets or places that divide by zero.
class TickAirplaneFault : public ::testing::TestWithParam<int> {};

TEST_P(TickAirplaneFault, StateIsRestoredAndTheTraceWritten) {
  SimState s;
  ManualClock clock;
  TraceCapture cap;
  SimTick tick(s, clock, cap.Sink());
  s.Thermals.iBubbles = 0;
  s.GroundClearance = 0.2;
  s.ModelPosition = {1.0, 2.0, 30.0};
  s.ModelVelocity = {0.0, 12.0, 0.0};
  s.Airborne = true;
  switch (GetParam()) {
    case 0:
      s.Airplane.Mass = 0.0;
      break;
    case 1:
      s.Airplane.PitchInertia = 0.0;
      break;
    case 2:
      s.ModelVelocity = {};
      s.WinchPosition = s.ModelPosition;
      s.WinchAttached = true;
      break;
  }
  const SimState before = s;
  clock.Advance(16);
  tick.Tick();
  EXPECT_EQ(cap.Lines(), std::vector<std::string>{"Exception in MoveAirplane\r\n"});
  EXPECT_EQ(s.ModelPosition, before.ModelPosition);
  EXPECT_EQ(s.ModelVelocity, before.ModelVelocity);
  EXPECT_EQ(s.AxisForward, before.AxisForward);
  EXPECT_EQ(s.WinchAttached, before.WinchAttached);
  EXPECT_DOUBLE_EQ(s.TimeStep, 0.004);
}

std::string FaultName(const ::testing::TestParamInfo<int>& info) {
  static const char* const kNames[] = {"ZeroMass", "ZeroPitchInertia", "OnWinchPoint"};
  return kNames[info.param];
}

INSTANTIATE_TEST_SUITE_P(ZeroDivisors, TickAirplaneFault, ::testing::Values(0, 1, 2), FaultName);

}  // namespace
}  // namespace veltrane
