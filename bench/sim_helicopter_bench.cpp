// One helicopter sub-step on flat ground with four skid contacts touching.
#include <benchmark/benchmark.h>

#include "loaders/par_file.h"
#include "sim/helicopter.h"

namespace veltrane {
namespace {

// The tuned helicopter of the flight tests, resting on its four skids.
SimState HoveringOnSkids() {
  SimState s;
  loaders::LoadPAR(s, VELTRANE_HELI_PAR, Trace());
  s.TimeStep = 0.005;
  s.ModelPosition = {0, 0, 0.27};
  s.FunctionValue[fn::kCollective] = -1.0;
  return s;
}

// Resting on its skids in an 8 m/s wind with full gusts and turbulence.
SimState OnSkidsInMovingAir() {
  SimState s = HoveringOnSkids();
  WindSettings wind;
  wind.speed = 8.0;
  wind.fromDegrees = 30.0;
  wind.gusts = 100;
  wind.turbulence = 100;
  s.Air.SetWind(wind);
  return s;
}

// Argument 0: still air; 1: wind, gusts and turbulence.
void BM_MoveHelicopterFourContacts(benchmark::State& state) {
  FlatWorld world;
  const SimState start = state.range(0) ? OnSkidsInMovingAir() : HoveringOnSkids();
  SimState s = start;
  int steps = 0;
  for (auto _ : state) {
    MoveHelicopter(s, world);
    benchmark::DoNotOptimize(s.ModelPosition);
    // Start over now and then so the state stays a resting model.
    if (++steps == 10000) {
      state.PauseTiming();
      s = start;
      steps = 0;
      state.ResumeTiming();
    }
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MoveHelicopterFourContacts)->Arg(0)->Arg(1);

}  // namespace
}  // namespace veltrane
