#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/clock/clock.h"
#include "base/trace/trace.h"
#include "loaders/par_file.h"
#include "sim/lifecycle.h"
#include "sim/tick.h"

namespace veltrane {
namespace {

// Folds every number of the flight state into one FNV-1a hash, bit for bit.
class StateHash {
 public:
  void Add(const SimState& s) {
    for (const Vec3* v : {&s.ModelPosition, &s.ModelVelocity, &s.AxisForward, &s.AxisUp,
                          &s.AxisRight, &s.AngularVelocity}) {
      Bytes(v->x), Bytes(v->y), Bytes(v->z);
    }
    for (double d : {s.PitchRate, s.YawRate, s.RollRate, s.Airspeed, s.ThermalLift, s.GroundHeight})
      Bytes(d);
    Bytes(static_cast<std::uint32_t>(s.Crashed) | static_cast<std::uint32_t>(s.Airborne) << 1 |
          static_cast<std::uint32_t>(s.WinchAttached) << 2);
    Bytes(s.Random.State());
  }
  std::uint64_t Value() const { return h_; }

 private:
  template <class T>
  void Bytes(T value) {
    unsigned char b[sizeof(T)];
    std::memcpy(b, &value, sizeof(T));
    for (unsigned char c : b) h_ = (h_ ^ c) * 1099511628211ull;
  }
  std::uint64_t h_ = 14695981039346656037ull;
};

// A long flight through the real tick with uneven frame times, thermals on and
// the sticks moving all the time; the state after every frame goes into the hash.
std::uint64_t FlyReference(const std::string& parFile, bool helicopter) {
  SimState s;
  loaders::LoadPAR(s, std::string(VELTRANE_TEST_DIR) + "/data/" + parFile, Trace());
  s.GroundClearance = helicopter ? 0.28 : 0.15;
  s.Flags.Autorestart = !helicopter;  // keeps the airplane flying through its hard landings
  FlatWorld world;
  ManualClock clock;
  SimTick tick{s, clock, Trace(), &world};
  ApplyScenePlaces(s, world, 0.0, -20.0, 0.0, 0.0);
  SimInit(s, world, tick, Trace());
  double t = 0.0;
  tick.hooks.readRadio = [&] {
    s.FunctionValue[fn::kRudder] = 0.1 * std::sin(0.7 * t);
    s.FunctionValue[fn::kElevator] = 0.08 * std::sin(0.31 * t);
    s.FunctionValue[fn::kAileron] = 0.15 * std::sin(0.53 * t);
    s.FunctionValue[fn::kThrottle] = t < 40.0 ? 1.0 : -1.0;
    s.FunctionValue[fn::kTailRotor] = 0.05 * std::sin(0.9 * t);
    s.FunctionValue[fn::kPitchCyclic] = 0.03 * std::sin(0.37 * t);
    s.FunctionValue[fn::kRollCyclic] = 0.03 * std::sin(0.41 * t);
    s.FunctionValue[fn::kCollective] = t < 3.0 ? 0.6 : 0.347 + 0.05 * std::sin(0.2 * t);
  };
  StateHash hash;
  const int frameMs[] = {16, 17, 33, 5, 16, 100};
  for (int frame = 0; t < 90.0; ++frame) {
    if (frame == 2000) Handstart(s, Trace());
    if (frame == 2400) {
      InitFlight(s, world, Trace());
      AttachWinch(s);
    }
    const int ms = frameMs[frame % 6];
    clock.Advance(ms);
    tick.Tick();
    t += ms / 1000.0;
    hash.Add(s);
  }
  return hash.Value();
}

// Stored from the flight code as it was before the air could move: with the wind
// at zero every operation must stay the same, so these hashes must not change.
TEST(StillAir, LongFlightsMatchTheStoredReferenceBitForBit) {
  struct Case {
    const char* par;
    bool helicopter;
    std::uint64_t expected;
  };
  const Case cases[] = {
      {"aerobatic.par", false, 0xdd6a5b7cbc5c369cull},
      {"heli.par", true, 0x9d4f96a0572c3c44ull},
  };
  for (const Case& c : cases) {
    const std::uint64_t h = FlyReference(c.par, c.helicopter);
    std::printf("%s: 0x%016llxull\n", c.par, static_cast<unsigned long long>(h));
    EXPECT_EQ(h, c.expected) << c.par;
  }
}

}  // namespace
}  // namespace veltrane
