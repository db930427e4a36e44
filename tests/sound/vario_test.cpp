#include "app/sound/vario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "base/clock/clock.h"
#include "base/trace/trace.h"
#include "loaders/par_file.h"
#include "sim/lifecycle.h"
#include "sim/tick.h"

namespace veltrane::sound {
namespace {

// Beep onsets and the part of the time the tone sounds, over `seconds` of 60 Hz frames.
struct Rhythm {
  int onsets = 0;
  double onShare = 0.0;
};
Rhythm RhythmAt(double climb, double seconds) {
  VarioBeeper beeper;
  const VarioTone tone = VarioToneAt(climb);
  const int frames = static_cast<int>(seconds * 60.0);
  Rhythm r;
  bool was = false;
  int on = 0;
  for (int i = 0; i < frames; ++i) {
    const bool now = beeper.Advance(tone, 1.0 / 60.0);
    if (now && !was) ++r.onsets;
    on += now;
    was = now;
  }
  r.onShare = static_cast<double>(on) / frames;
  return r;
}

TEST(VarioTone, LiftBeepsHigherAndFasterSinkIsQuietOrLow) {
  struct Row {
    double climb;
    bool audible, beeps;
    int minOnsets, maxOnsets;  // in ten seconds
  };
  const Row rows[] = {
      {-8.0, true, false, 1, 1},  // strong sink: one continuous low tone
      {-2.6, true, false, 1, 1},
      {-2.4, false, false, 0, 0},  // the glider's ordinary sink is silent
      {-0.5, false, false, 0, 0},
      {0.0, false, false, 0, 0},
      {0.15, false, false, 0, 0},  // too weak to beep
      {0.3, true, true, 15, 20},
      {1.0, true, true, 23, 27},
      {3.0, true, true, 40, 45},
      {10.0, true, true, 64, 68},  // beyond the strongest lift the rhythm stays
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.climb);
    const VarioTone t = VarioToneAt(r.climb);
    EXPECT_EQ(t.audible, r.audible);
    EXPECT_EQ(t.periodS > 0.0, r.beeps);
    const Rhythm rhythm = RhythmAt(r.climb, 10.0);
    EXPECT_GE(rhythm.onsets, r.minOnsets);
    EXPECT_LE(rhythm.onsets, r.maxOnsets);
    // Whole frames: a beep of nine frames sounds for five of them.
    const double expectedShare = r.beeps ? t.duty : (r.audible ? 1.0 : 0.0);
    EXPECT_NEAR(rhythm.onShare, expectedShare, 0.07);
    EXPECT_EQ(VarioVolumeOf(t, 0), -10000);
    EXPECT_EQ(VarioVolumeOf(t, 100) == -10000, !r.audible);
  }

  // Across the whole range: pitch and beep rate never fall as the lift grows,
  // every sink tone lies below every lift tone, and louder stays louder.
  double lastHz = 0.0, lastPeriod = 1e9, highestSink = 0.0, lowestLift = 1e9;
  for (double c = -10.0; c <= 10.0; c += 0.05) {
    const VarioTone t = VarioToneAt(c);
    if (!t.audible) continue;
    if (t.periodS == 0.0) {
      highestSink = std::max(highestSink, t.frequencyHz);
      continue;
    }
    lowestLift = std::min(lowestLift, t.frequencyHz);
    EXPECT_GE(t.frequencyHz, lastHz) << c;
    EXPECT_LE(t.periodS, lastPeriod) << c;
    lastHz = t.frequencyHz;
    lastPeriod = t.periodS;
    EXPECT_LT(VarioVolumeOf(t, 30), VarioVolumeOf(t, 80));
  }
  EXPECT_LT(highestSink, lowestLift);
  EXPECT_LT(VarioVolumeOf(VarioToneAt(-5.0), 70), VarioVolumeOf(VarioToneAt(2.0), 70));
}

// Two seconds of 60 Hz frames at constant rates, after an optional step in the
// first frame: the reading settles on the energy rate, a reset flight reads
// nothing and a sharp gust only a bounded kick.
TEST(TotalEnergyVario, ReadsTheEnergyRateAndIgnoresResetsAndGustSteps) {
  struct Row {
    const char* what;
    double climb, accel;  // m/s and m/s² through the air
    bool constantEnergy;  // airspeed follows the height at constant energy
    double stepH, stepV;  // in the first frame
    double expected, tolerance, maxAfterStep;
  };
  constexpr double kAny = 1e9;
  const Row rows[] = {
      {"steady climb", 1.5, 0.0, false, 0.0, 0.0, 1.5, 0.02, kAny},
      {"dive at constant energy", -2.0, 0.0, true, 0.0, 0.0, 0.0, 0.02, kAny},
      {"sink while slowing", -0.5, -0.5, false, 0.0, 0.0, -0.5 - 19.0 * 0.5 / 9.81, 0.05, kAny},
      {"a reset flight 80 m lower", 0.0, 0.0, false, -80.0, -20.0, 0.0, 0.02, 0.0},
      {"a 5 m/s gust in one frame", 0.0, 0.0, false, 0.0, 5.0, 0.0, 0.05, 1.3},
  };
  const double dt = 1.0 / 60.0;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    TotalEnergyVario te;
    double h = 100.0, v = 20.0;
    te.Update(h, v, dt);
    EXPECT_LE(std::fabs(te.Update(h + r.stepH, v + r.stepV, dt)), r.maxAfterStep);
    h += r.stepH;
    v += r.stepV;
    const double energy = TotalEnergyVario::EnergyHeight(h, v);
    for (int i = 0; i < 120; ++i) {
      h += r.climb * dt;
      v = r.constantEnergy ? std::sqrt(2.0 * 9.81 * (energy - h)) : v + r.accel * dt;
      te.Update(h, v, dt);
    }
    EXPECT_NEAR(te.Climb(), r.expected, r.tolerance);
  }
}

// A glider trimmed for its glide in still air, flown through the real tick at
// 60 frames a second; a hard pull-up trades speed for height.
TEST(TotalEnergyVario, PullUpInStillAirGivesNoLiftTone) {
  SimState s;
  FlatWorld world;
  ManualClock clock;
  SimTick tick{s, clock, Trace(), &world};
  loaders::LoadPAR(s, VELTRANE_DATA_DIR "/Model/glider.par", Trace());
  ASSERT_EQ(s.Airplane.MaxThrust, 0.0);
  s.GroundClearance = 0.15;
  s.Thermals.iBubbles = 0;
  ApplyScenePlaces(s, world, 0.0, -20.0, 0.0, 0.0);
  SimInit(s, world, tick, Trace());
  std::array<double, fn::kCount> controls{};
  tick.hooks.readRadio = [&] { s.FunctionValue = controls; };
  s.ModelPosition = {0.0, 0.0, 150.0};
  s.ModelVelocity = {0.0, 12.0, -1.0};
  s.Airborne = true;

  TotalEnergyVario te, plain;
  double maxTe = -1e9, maxPlain = -1e9;
  auto fly = [&](double seconds, bool record) {
    for (int i = 0; i < static_cast<int>(seconds * 60.0); ++i) {
      clock.Advance(16);
      tick.Tick();
      te.Update(s.ModelPosition.z, s.Airspeed, s.TimeStep);
      plain.Update(s.ModelPosition.z, 0.0, s.TimeStep);
      if (record) maxTe = std::max(maxTe, te.Climb()), maxPlain = std::max(maxPlain, plain.Climb());
    }
  };
  fly(3.0, false);
  controls[fn::kElevator] = -1.0;  // full up
  fly(0.8, true);
  controls[fn::kElevator] = 0.0;
  fly(4.0, true);
  ASSERT_FALSE(s.Crashed);
  RecordProperty("max_te_climb", std::to_string(maxTe));
  RecordProperty("max_plain_climb", std::to_string(maxPlain));
  EXPECT_GT(maxPlain, 1.0);
  EXPECT_LT(maxTe, kVarioLiftThreshold);
  EXPECT_FALSE(VarioToneAt(maxTe).audible && VarioToneAt(maxTe).periodS > 0.0);
}

}  // namespace
}  // namespace veltrane::sound
