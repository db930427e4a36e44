// The shipped helicopter stands on its skids, lifts off on the collective and hovers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "shipped_models.h"
#include "tool_runner.h"

namespace veltrane::content_test {
namespace {

// Skids below the centre of gravity, as heli.geo has them.
constexpr double kClearance = kHeliClearance;

double HeadingDegrees(const Row& r) { return std::atan2(r["fx"], r["fy"]) * 180.0 / M_PI; }

TEST(Helicopter, RestsOnItsSkidsWithoutDrifting) {
  const Flight f = Fly("Model/heli.par", 5, "0 set pitch -1\n");
  ASSERT_FALSE(f.rows.empty());
  EXPECT_FALSE(f.summary["crashed"].get<bool>());
  const Row& a = f.rows[1];
  const Row& b = f.rows.back();
  EXPECT_LT(std::hypot(b["x"] - a["x"], b["y"] - a["y"]), 0.05);
  EXPECT_NEAR(b.Agl(), kClearance, 0.05);
  EXPECT_GT(b["uz"], 0.99);
  EXPECT_NEAR(HeadingDegrees(b), HeadingDegrees(a), 1.0)
      << "the rotor torque turns it on the ground";
}

TEST(Helicopter, LiftsOffOnFullCollective) {
  const Flight f = Fly("Model/heli.par", 5, "0 set pitch -1\n1 set pitch 1\n");
  ASSERT_FALSE(f.rows.empty());
  EXPECT_FALSE(f.summary["crashed"].get<bool>());
  EXPECT_GT(f.rows.back().Agl(), 5.0);
  EXPECT_GT(f.rows.back()["uz"], 0.95);
}

TEST(Helicopter, HoldsAHoverOnAFixedCollective) {
  const Flight f = Fly("Model/heli.par", 12, "0 set pitch -1\n1 set pitch 0.3\n");
  ASSERT_FALSE(f.rows.empty());
  EXPECT_FALSE(f.summary["crashed"].get<bool>());
  double lo = 1e9, hi = -1e9, up = 1.0, drift = 0.0;
  const Row* at7 = nullptr;
  for (const Row& r : f.rows)
    if (r["t"] >= 7.0) {
      if (!at7) at7 = &r;
      lo = std::min(lo, r.Agl());
      hi = std::max(hi, r.Agl());
      up = std::min(up, r["uz"]);
      drift = std::max(drift, std::hypot(r["x"] - (*at7)["x"], r["y"] - (*at7)["y"]));
    }
  EXPECT_GT(lo, 1.0) << "not off the ground";
  EXPECT_LT(hi - lo, 3.0);
  EXPECT_GT(up, 0.95) << "tilted or flipped";
  EXPECT_LT(drift, 3.0);
  EXPECT_NEAR(HeadingDegrees(f.rows.back()), HeadingDegrees(f.rows[1]), 5.0)
      << "tail trim does not balance the rotor torque";
}

}  // namespace
}  // namespace veltrane::content_test
