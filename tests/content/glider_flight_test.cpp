// The shipped glider launches on the winch and by hand, glides flat and climbs in lift.
#include <gtest/gtest.h>

#include <cmath>

#include "shipped_models.h"
#include "tool_runner.h"

namespace veltrane::content_test {
namespace {

constexpr double kClearance = kGliderClearance;

TEST(Glider, WinchLaunchClimbsHighAndReleasesByItself) {
  // Push a little on the line so the pull does not zoom it off early; level out after.
  const Flight f = Fly("Model/glider.par", kClearance, 20,
                       "0 winch\n0 set elevator 0.5\n7 set elevator 0\n");
  ASSERT_FALSE(f.rows.empty());
  EXPECT_GT(f.summary["max_height_agl"].get<double>(), 80.0);
  ASSERT_FALSE(f.summary["winch_release_time"].is_null()) << "the line never let go";
  const double release = f.summary["winch_release_time"].get<double>();
  for (const Row& r : f.rows) {
    if (r["t"] > release + 0.1) {
      EXPECT_LT(r["winch"], 0.5) << "line attached again at " << r["t"];
    }
  }
  EXPECT_FALSE(f.summary["crashed"].get<bool>());
}

TEST(Glider, HandLaunchedGlideLosesAtMostOneMetrePerTwelve) {
  const Flight f = Fly("Model/glider.par", kClearance, 10, "0 handstart\n");
  ASSERT_FALSE(f.rows.empty());
  EXPECT_FALSE(f.summary["crashed"].get<bool>());
  const Row* first = nullptr;
  const Row* last = nullptr;
  for (const Row& r : f.rows)
    if (r["t"] > 0.0 && r["airborne"] > 0.5) {
      if (!first) first = &r;
      last = &r;
    }
  ASSERT_NE(first, nullptr);
  const double lost = (*first)["z"] - (*last)["z"];
  const double flown = std::hypot((*last)["x"] - (*first)["x"], (*last)["y"] - (*first)["y"]);
  ASSERT_GT(flown, 15.0);
  EXPECT_LE(lost, flown / 12.0) << "lost " << lost << " m over " << flown << " m";
}

}  // namespace
}  // namespace veltrane::content_test
