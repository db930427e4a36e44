#include <benchmark/benchmark.h>

#include "platform/clock/clock.h"
#include "platform/trace/trace.h"
#include "sim/airplane.h"
#include "sim/thermals.h"
#include "sim/tick.h"

namespace veltrane {
namespace {

// A 5 kg aerobatic model cruising at 50 m with 40 thermals around it.
SimState Cruising() {
  SimState s;
  AirplaneParams& p = s.Airplane;
  p.MaxThrust = 20.0;
  p.RudderGain = p.ElevatorGain = 0.25;
  p.AileronGain = 0.03;
  p.MaxLift = 1.2;
  p.MinLift = -1.0;
  p.LiftSlope = 5.0;
  p.StallLiftSlope = 2.0;
  p.ProfileDrag = 0.015;
  p.ParasiteDrag = 0.008;
  p.WheelFriction = 0.05;
  p.StallDragSlope = 1.0;
  p.PitchMomentCoef = 0.15;
  p.WingIncidence = 0.05;
  p.WingSpan = 2.0;
  p.WingChord = 0.35;
  p.WingArea = 0.7;
  p.CgPosition = 0.09;
  p.Mass = 5.0;
  p.PitchInertia = 0.8;
  p.RollInertia = 0.25;
  p.StabilizerArea = 0.12;
  p.FinArea = 0.06;
  p.TailArm = 0.9;
  p.Dihedral = 0.03;
  s.GroundClearance = 0.15;
  s.ModelPosition = {0.0, 0.0, 50.0};
  s.ModelVelocity = {0.0, 14.0, 0.0};
  s.Airborne = true;
  s.TimeStep = 0.005;
  s.FunctionValue = {0.1, 0.0, -0.1, 0.2, 0, 0, 0, -1};
  RandomizeThermal(s, 0.0, 0.0, Trace());
  return s;
}

// One MoveAirplane sub-step; the state is reset now and then so the model stays aloft.
void BM_MoveAirplaneSubStep(benchmark::State& state) {
  const FlatWorld world;
  const SimState start = Cruising();
  SimState s = start;
  int n = 0;
  for (auto _ : state) {
    MoveAirplane(s, world);
    benchmark::DoNotOptimize(s.ModelPosition);
    if (++n == 2000) {
      state.PauseTiming();
      s = start;
      n = 0;
      state.ResumeTiming();
    }
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MoveAirplaneSubStep);

// A whole 0.1 s frame through the tick: 21 guarded sub-steps.
void BM_TickLongestFrame(benchmark::State& state) {
  const FlatWorld world;
  ManualClock clock;
  SimState s = Cruising();
  const SimState start = s;
  SimTick tick(s, clock, Trace(), &world);
  tick.ResetLastTick();
  int n = 0;
  for (auto _ : state) {
    clock.Advance(100);
    tick.Tick();
    benchmark::DoNotOptimize(s.ModelPosition);
    if (++n == 100) {
      state.PauseTiming();
      s = start;
      n = 0;
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_TickLongestFrame);

}  // namespace
}  // namespace veltrane
