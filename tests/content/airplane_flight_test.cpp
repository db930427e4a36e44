// The shipped airplanes fly as a model pilot expects on the default airfield.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "shipped_models.h"
#include "tool_runner.h"

namespace veltrane::content_test {
namespace {

// Climb out, then level off near 90 m while the phugoid settles.
const char* kClimbOut =
    "0 set throttle 1\n0 set elevator -0.1\n6 set elevator 0.15\n7.5 set elevator 0.03\n";

const Row* FirstAirborne(const Flight& f) {
  for (const Row& r : f.rows)
    if (r["airborne"] > 0.5 && r["t"] > 0.0) return &r;
  return nullptr;
}

// The tool reads each model's geometry, whose lowest point puts it on its wheels.
TEST(ShippedAirplanes, StandAtTheClearanceTheirGeometryGives) {
  const std::pair<const char*, double> models[] = {{"Model/su-26.par", kSu26Clearance},
                                                   {"Model/glider.par", kGliderClearance},
                                                   {"Model/parkflyer.par", kParkflyerClearance},
                                                   {"Model/trainer.mdl", kTrainerFileClearance}};
  for (const auto& [model, clearance] : models) {
    SCOPED_TRACE(model);
    const Flight f = Fly(model, 1, "0 set throttle -1\n");
    ASSERT_GT(f.rows.size(), 2u);
    for (std::size_t i = 1; i < f.rows.size(); ++i) {
      ASSERT_NEAR(f.rows[i].Agl(), clearance, 1e-3) << "at " << f.rows[i]["t"];
      ASSERT_LT(f.rows[i]["airborne"], 0.5);
    }
  }
}

TEST(Su26, TakesOffFromTheRunwayAndClimbs) {
  const Flight f = Fly("Model/su-26.par", 15, "0 set throttle 1\n0 set elevator -0.1\n");
  ASSERT_FALSE(f.rows.empty());
  EXPECT_FALSE(f.summary["crashed"].get<bool>());
  const Row* lift_off = FirstAirborne(f);
  ASSERT_NE(lift_off, nullptr);
  const Row& start = f.rows.front();
  EXPECT_LT((*lift_off)["y"] - start["y"], 150.0);
  EXPECT_LT((*lift_off)["airspeed"], 30.0) << "must leave the ground below the crash speed";
  double reached = 1e9;
  for (const Row& r : f.rows)
    if (r.Agl() >= 30.0) {
      reached = r["t"];
      break;
    }
  EXPECT_LE(reached, 15.0);
}

TEST(Su26, LoopsAtSpeedBackToItsEntryHeight) {
  // Dive for speed, then hold the elevator through a whole loop.
  const double pull = 15.5;
  const Flight f = Fly("Model/su-26.par", 24,
                       std::string(kClimbOut) +
                           "13 set elevator 0.4\n15.5 set elevator -0.3\n22 set elevator 0.05\n");
  ASSERT_FALSE(f.rows.empty());
  EXPECT_FALSE(f.summary["crashed"].get<bool>());
  const Row* entry = nullptr;
  const Row* inverted = nullptr;
  const Row* out = nullptr;
  for (const Row& r : f.rows) {
    if (!entry && r["t"] >= pull) entry = &r;
    if (entry && !inverted && r["uz"] < -0.9) inverted = &r;
    if (inverted && !out && r["fz"] >= (*entry)["fz"] && r["fy"] > 0 && r["uz"] > 0.5) out = &r;
  }
  ASSERT_NE(entry, nullptr);
  EXPECT_GT((*entry)["airspeed"], 25.0) << "the loop starts at speed";
  ASSERT_NE(inverted, nullptr) << "never went over the top";
  EXPECT_GT((*inverted)["z"], (*entry)["z"] + 20.0);
  ASSERT_NE(out, nullptr) << "did not come round to its entry attitude";
  EXPECT_NEAR((*out)["z"], (*entry)["z"], 15.0);
}

TEST(Su26, GlidesInOnIdleSlowlyEnoughToLand) {
  const Flight f = Fly("Model/su-26.par", 70,
                       std::string(kClimbOut) + "16.3 set throttle -1\n16.3 set elevator -0.1\n");
  ASSERT_FALSE(f.rows.empty());
  EXPECT_FALSE(f.summary["crashed"].get<bool>());
  // Steady glide well above the ground: sink below 3 m/s.
  double sink = 0.0;
  int n = 0;
  for (const Row& r : f.rows)
    if (r["t"] > 30.0 && r.Agl() > 5.0 && r["airborne"] > 0.5) {
      sink += r["vz"];
      ++n;
    }
  ASSERT_GT(n, 100);
  EXPECT_GT(sink / n, -3.0);
  // It touched down again, gently.
  bool landed = false;
  for (size_t i = 1; i < f.rows.size(); ++i)
    if (f.rows[i - 1]["airborne"] > 0.5 && f.rows[i]["airborne"] < 0.5 && f.rows[i]["t"] > 20) {
      landed = true;
      EXPECT_GT(f.rows[i - 1]["vz"], -3.0);
    }
  EXPECT_TRUE(landed);
}

TEST(Su26, RollsWithFullAileron) {
  const Flight f = Fly("Model/su-26.par", 18.5, std::string(kClimbOut) + "16.3 set aileron 1\n");
  ASSERT_FALSE(f.rows.empty());
  EXPECT_FALSE(f.summary["crashed"].get<bool>());
  // Within about a second and a half the wings have been upside down and level again.
  bool upside_down = false, round = false;
  for (const Row& r : f.rows) {
    if (r["t"] < 16.3) continue;
    if (r["uz"] < -0.9) upside_down = true;
    if (upside_down && r["uz"] > 0.9) round = true;
  }
  EXPECT_TRUE(upside_down);
  EXPECT_TRUE(round);
}

// Half roll out of the climb, a short opposite stab of aileron to stop the roll, then
// push: positive elevator pushes the nose down, which upside down keeps it up.
std::string HalfRollThen(double elevator) {
  return std::string(kClimbOut) + "16.3 set aileron 1\n16.72 set aileron -1\n16.72 set elevator " +
         std::to_string(elevator) + "\n16.82 set aileron 0\n";
}

// The longest time the model flew upside down after t, with the rows where it began and
// the lowest row in that stretch.
struct Inverted {
  double seconds = 0.0;
  const Row* entry = nullptr;
  const Row* lowest = nullptr;
};

Inverted LongestInverted(const Flight& f, double after) {
  Inverted best, cur;
  for (std::size_t i = 1; i < f.rows.size(); ++i) {
    const Row& r = f.rows[i];
    if (r["t"] < after || r["uz"] > -0.8) {
      cur = Inverted{};
      continue;
    }
    if (!cur.entry) cur.entry = cur.lowest = &r;
    cur.seconds += r["t"] - f.rows[i - 1]["t"];
    if (r["z"] < (*cur.lowest)["z"]) cur.lowest = &r;
    if (cur.seconds > best.seconds) best = cur;
  }
  return best;
}

TEST(Su26, FliesInvertedOnAPushWithoutLosingHeight) {
  const Flight pushed = Fly("Model/su-26.par", 22.4, HalfRollThen(0.56));
  ASSERT_FALSE(pushed.rows.empty());
  EXPECT_FALSE(pushed.summary["crashed"].get<bool>());
  const Inverted inv = LongestInverted(pushed, 16.3);
  EXPECT_GT(inv.seconds, 3.0);
  ASSERT_NE(inv.entry, nullptr);
  EXPECT_GT((*inv.lowest)["z"], (*inv.entry)["z"] - 8.0) << "sank while inverted";
  EXPECT_GT(inv.lowest->Agl(), 60.0);

  // Without the push the nose falls through: a split-S that costs most of the height.
  const Flight hands_off = Fly("Model/su-26.par", 22.4, HalfRollThen(0.03));
  ASSERT_FALSE(hands_off.rows.empty());
  double low = 1e9;
  for (const Row& r : hands_off.rows)
    if (r["t"] > 16.3) low = std::min(low, r.Agl());
  EXPECT_LT(low, inv.lowest->Agl() - 40.0);
}

// The small models take off hands-off at full throttle and then hold their height at
// half throttle.
void TakesOffAndFliesLevel(const std::string& model, double from, double to) {
  const Flight f = Fly(model, to, "0 set throttle 1\n10 set throttle 0\n");
  ASSERT_FALSE(f.rows.empty());
  EXPECT_FALSE(f.summary["crashed"].get<bool>());
  ASSERT_NE(FirstAirborne(f), nullptr);
  double lo = 1e9, hi = -1e9;
  for (const Row& r : f.rows)
    if (r["t"] >= from) {
      lo = std::min(lo, r.Agl());
      hi = std::max(hi, r.Agl());
    }
  EXPECT_GT(lo, 5.0) << model;
  EXPECT_LT(hi - lo, 20.0) << model;
}

TEST(Trainer, TakesOffAndFliesLevel) { TakesOffAndFliesLevel("Model/trainer.mdl", 15, 35); }

TEST(Parkflyer, TakesOffAndFliesLevel) { TakesOffAndFliesLevel("Model/parkflyer.par", 15, 35); }

}  // namespace
}  // namespace veltrane::content_test
