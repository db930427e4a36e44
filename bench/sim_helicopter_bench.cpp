// One helicopter sub-step on flat ground with four skid contacts touching.
#include <benchmark/benchmark.h>

#include "sim/helicopter.h"

namespace veltrane {
namespace {

SimState HoveringOnSkids() {
  SimState s;
  s.TimeStep = 0.005;
  s.Airplane.Mass = 4.0;
  s.Airplane.LiftSlope = 5.0;
  s.Airplane.MaxLift = 0.8;
  s.Airplane.MinLift = -0.8;
  s.Airplane.ProfileDrag = 0.01;
  s.Airplane.ParasiteDrag = 0.5;
  HelicopterParams& h = s.Heli;
  h.HeliInertia = {0.12, 0.30, 0.35};
  h.RotationalDamping = 1.5;
  h.RotorRadius = 0.75;
  h.BladeArea = 0.02;
  h.RotorRpm = 1500;
  h.CollectiveGain = 0.15;
  h.PitchCyclicGain = 0.03;
  h.RollCyclicGain = 0.03;
  h.RotorHeight = 0.3;
  h.InPlaneFlowFactor = 1.0;
  h.TailRotorRadius = 0.13;
  h.TailRotorArea = 0.005;
  h.TailRotorRpm = 7000;
  h.TailPitchGain = 0.15;
  h.TailPitchTrim = 0.035;
  h.TailRotorArm = 0.85;
  h.SideFlowFactor = 1.0;
  h.GyroGain = 0.4;
  h.GyroStickReduction = 50;
  h.BladeDragSlope = 0.3;
  h.ContactCount = 4;
  for (int i = 0; i < 4; ++i) {
    HeliContact& c = h.Contacts[static_cast<std::size_t>(i)];
    c.Position = {i < 2 ? 0.18 : -0.18, i % 2 == 0 ? 0.12 : -0.12, -0.28};
    c.ContactFriction = 1.0;
    c.ContactStiffness = 2000;
    c.ContactDamping = 60;
    c.ContactMaxForce = 400;
  }
  s.ModelPosition = {0, 0, 0.27};
  s.FunctionValue[7] = -1.0;
  return s;
}

void BM_MoveHelicopterFourContacts(benchmark::State& state) {
  FlatWorld world;
  const SimState start = HoveringOnSkids();
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
BENCHMARK(BM_MoveHelicopterFourContacts);

}  // namespace
}  // namespace veltrane
