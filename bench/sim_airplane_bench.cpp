#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "base/clock/clock.h"
#include "base/trace/trace.h"
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

// The largest landscape the loader takes, 299 x 299 cells of 5 m, with rolling hills.
std::shared_ptr<const TerrainGrid> Hills() {
  constexpr int kCells = 299;
  std::vector<double> h(static_cast<std::size_t>((kCells + 1) * (kCells + 1)));
  for (int i = 0; i <= kCells; ++i)
    for (int j = 0; j <= kCells; ++j)
      h[static_cast<std::size_t>(i * (kCells + 1) + j)] =
          20.0 + 15.0 * std::sin(i * 0.05) * std::cos(j * 0.037) + 10.0 * std::sin(j * 0.11);
  return std::make_shared<TerrainGrid>(kCells, 5.0, std::move(h));
}

// The same cruise in an 8 m/s wind over the hills with full gusts and turbulence.
SimState CruisingInMovingAir() {
  SimState s = Cruising();
  s.ModelPosition = {700.0, 700.0, 90.0};
  s.Air.SetTerrain(Hills());
  WindSettings wind;
  wind.speed = 8.0;
  wind.fromDegrees = 250.0;
  wind.gusts = 100;
  wind.turbulence = 100;
  s.Air.SetWind(wind);
  return s;
}

// One MoveAirplane sub-step; the state is reset now and then so the model stays aloft.
void BM_MoveAirplaneSubStep(benchmark::State& state) {
  const FlatWorld world;
  const SimState start = state.range(0) ? CruisingInMovingAir() : Cruising();
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
// Argument 0: still air; 1: wind, slope flow, gusts and turbulence.
BENCHMARK(BM_MoveAirplaneSubStep)->Arg(0)->Arg(1);

// A whole 0.1 s frame through the tick: 21 guarded sub-steps.
void BM_TickLongestFrame(benchmark::State& state) {
  const FlatWorld world;
  ManualClock clock;
  SimState s = state.range(0) ? CruisingInMovingAir() : Cruising();
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
BENCHMARK(BM_TickLongestFrame)->Arg(0)->Arg(1);

// One question to the air at a point, as the flight models and the windsock ask it.
void BM_AirSteadyAt(benchmark::State& state) {
  const SimState s = CruisingInMovingAir();
  Vec3 p{400.0, 400.0, 60.0};
  for (auto _ : state) {
    p.x = p.x > 1000.0 ? 400.0 : p.x + 0.37;
    benchmark::DoNotOptimize(s.Air.SteadyAt(p));
  }
}
BENCHMARK(BM_AirSteadyAt);

}  // namespace
}  // namespace veltrane
