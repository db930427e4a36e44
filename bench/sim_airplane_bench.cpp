#include <benchmark/benchmark.h>

#include "platform/clock/clock.h"
#include "platform/trace/trace.h"
#include "sim/aerobatic_params.h"
#include "sim/airplane.h"
#include "sim/thermals.h"
#include "sim/tick.h"

namespace veltrane {
namespace {

// A 5 kg aerobatic model cruising at 50 m with 40 thermals around it.
SimState Cruising() {
  SimState s;
  s.Airplane = testing::AerobaticParams();
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
