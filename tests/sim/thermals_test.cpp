#include "sim/thermals.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/trace/trace.h"

namespace veltrane {
namespace {

ThermalTable OneThermal(double x, double y, double strength) {
  ThermalTable t;
  t.iBubbles = 1;
  t.Thermals[0] = {x, y, strength, 60.0};
  return t;
}

TEST(ThermalLift, NoThermalsLeaveOnlyTheConstantSink) {
  ThermalTable t;
  t.iBubbles = 0;
  t.Thermals[0] = {0.0, 0.0, 5.0, 60.0};  // beyond iBubbles: ignored
  for (double h : {0.0, 30.0, 1000.0}) EXPECT_DOUBLE_EQ(ThermalLiftAt(t, 0.0, 0.0, h), -0.03);
}

TEST(ThermalLift, FadesInWithHeightAndFallsOffWithDistance) {
  const ThermalTable t = OneThermal(100.0, 200.0, 2.0);
  EXPECT_DOUBLE_EQ(ThermalLiftAt(t, 100.0, 200.0, 30.0), 0.97);
  EXPECT_DOUBLE_EQ(ThermalLiftAt(t, 100.0, 200.0, 0.0), -0.03);
  // Half strength at one radius from the centre.
  EXPECT_NEAR(ThermalLiftAt(t, 160.0, 200.0, 30.0), 0.5 * 1.0 - 0.03, 1e-12);
  EXPECT_LT(ThermalLiftAt(t, 100.0, 500.0, 30.0), 0.0);
}

TEST(ThermalLift, IsCappedAtSixButHasNoLowerLimit) {
  ThermalTable t;
  t.iBubbles = 20;
  for (int i = 0; i < 20; ++i) t.Thermals[static_cast<std::size_t>(i)] = {0.0, 0.0, 6.0, 60.0};
  EXPECT_DOUBLE_EQ(ThermalLiftAt(t, 0.0, 0.0, 1000.0), 6.0);
  // Below the terrain the fade-in term goes negative: a strong thermal sinks.
  EXPECT_LT(ThermalLiftAt(OneThermal(0, 0, 2.0), 0.0, 0.0, -10.0), -0.03);
}

TEST(ThermalLift, StaysFiniteWhereTheFormulaWouldDivideByZero) {
  // An unscattered table (radius 0) at its centre, and 30 m below the terrain.
  ThermalTable zero;
  EXPECT_DOUBLE_EQ(ThermalLiftAt(zero, 0.0, 0.0, 10.0), -0.03);
  EXPECT_TRUE(std::isfinite(ThermalLiftAt(OneThermal(0, 0, 2.0), 0.0, 0.0, -30.0)));
  EXPECT_TRUE(std::isfinite(ThermalLiftAt(OneThermal(0, 0, 2.0), 0.0, 0.0, -90.0)));
}

TEST(RandomizeThermal, ScattersActiveEntriesAroundTheCentreAndTraces) {
  SimState s;
  s.Thermals.iBubbles = 40;
  s.Thermals.BubbleZ = 4.0;
  s.Thermals.Thermals[40] = {7.0, 7.0, 7.0, 7.0};
  TraceCapture cap;
  RandomizeThermal(s, 1000.0, -500.0, cap.Sink());
  EXPECT_EQ(cap.Lines(), std::vector<std::string>{"ThermalFrm.RandomizeThermal\r\n"});
  for (int i = 0; i < 40; ++i) {
    const Thermal& e = s.Thermals.Thermals[static_cast<std::size_t>(i)];
    EXPECT_LE(std::fabs(e.x - 1000.0), 2500.0);
    EXPECT_LE(std::fabs(e.y + 500.0), 2500.0);
    EXPECT_GE(e.strength, 0.25 * 4.0);
    EXPECT_LT(e.strength, 4.0);
    EXPECT_EQ(e.radius, 60.0);
  }
  EXPECT_EQ(s.Thermals.Thermals[40].x, 7.0);  // inactive entries keep old values
}

TEST(RandomizeThermal, DrawsThreeValuesPerEntryInOrder) {
  SimState s;
  s.Thermals.iBubbles = 1;
  RandomizeThermal(s, 0.0, 0.0, Trace());
  ProgramRandom r;
  const double r1 = r.Next(), r2 = r.Next(), r3 = r.Next();
  const Thermal& e = s.Thermals.Thermals[0];
  EXPECT_DOUBLE_EQ(e.x, (2 * r1 - 1) * 2500.0);
  EXPECT_DOUBLE_EQ(e.y, (2 * r2 - 1) * 2500.0);
  EXPECT_DOUBLE_EQ(e.strength, (0.75 * r3 + 0.25) * 2.0);
  EXPECT_EQ(s.Random.State(), r.State());
}

TEST(RandomizeThermal, TwoRunsGiveTheSameThermals) {
  SimState a, b;
  for (SimState* s : {&a, &b}) {
    RandomizeThermal(*s, 10.0, 20.0, Trace());
    RecycleThermals(*s, 3000.0, 0.0);
  }
  for (int i = 0; i < kMaxThermals; ++i) {
    const auto k = static_cast<std::size_t>(i);
    EXPECT_EQ(a.Thermals.Thermals[k].x, b.Thermals.Thermals[k].x);
    EXPECT_EQ(a.Thermals.Thermals[k].y, b.Thermals.Thermals[k].y);
    EXPECT_EQ(a.Thermals.Thermals[k].strength, b.Thermals.Thermals[k].strength);
  }
}

TEST(RandomizeThermal, CountOutsideTheTableStaysWithinIt) {
  // A count from a damaged settings file must not run past the 160 entries.
  SimState s;
  s.Thermals.iBubbles = 5000;
  RandomizeThermal(s, 0.0, 0.0, Trace());
  RecycleThermals(s, 4000.0, 0.0);
  EXPECT_EQ(s.Thermals.Thermals[kMaxThermals - 1].radius, 60.0);
  EXPECT_TRUE(std::isfinite(ThermalLiftAt(s.Thermals, 4000.0, 0.0, 100.0)));
  s.Thermals.iBubbles = -3;
  EXPECT_DOUBLE_EQ(ThermalLiftAt(s.Thermals, 4000.0, 0.0, 100.0), -0.03);
}

TEST(RecycleThermals, ReplacesOnlyFarEntriesIntoTheWindow) {
  SimState s;
  s.Thermals.iBubbles = 3;
  s.Thermals.Thermals[0] = {1300.0, 0.0, 1.0, 60.0};      // too far east
  s.Thermals.Thermals[1] = {1250.0, -1250.0, 1.0, 60.0};  // exactly on the edge: stays
  s.Thermals.Thermals[2] = {0.0, -1300.0, 1.0, 60.0};     // too far south
  RecycleThermals(s, 0.0, 0.0);
  EXPECT_NE(s.Thermals.Thermals[0].x, 1300.0);
  EXPECT_LE(std::fabs(s.Thermals.Thermals[0].x), 1250.0);
  EXPECT_LE(std::fabs(s.Thermals.Thermals[0].y), 1250.0);
  EXPECT_EQ(s.Thermals.Thermals[1].x, 1250.0);
  EXPECT_EQ(s.Thermals.Thermals[1].strength, 1.0);
  EXPECT_LE(std::fabs(s.Thermals.Thermals[2].y), 1250.0);
  // Two entries re-placed, three draws each.
  ProgramRandom r;
  for (int i = 0; i < 6; ++i) r.Next();
  EXPECT_EQ(s.Random.State(), r.State());
}

}  // namespace
}  // namespace veltrane
