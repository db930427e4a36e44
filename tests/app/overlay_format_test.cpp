#include "app/overlay_format.h"

#include <gtest/gtest.h>

#include <cmath>

namespace veltrane {
namespace {

TEST(OverlayFormat, RoundingIsHalfToEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-0.4), 0);
  EXPECT_EQ(RoundHalfEven(2.5000001), 3);
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
  EXPECT_EQ(SpeedLine("Geschwindigkeit:", 12.5), "Geschwindigkeit: 12 m/s");
  EXPECT_EQ(HeightLine("Höhe:", 0.4), "Höhe: 0 m");
  EXPECT_EQ(HeightLine("Höhe:", -1.6), "Höhe: -2 m");
}

TEST(OverlayFormat, VarioHasOneDecimalInTheLocaleFormat) {
  EXPECT_EQ(VarioLine("Vario:", 1.25, ','), "Vario: 1,2 m/s");
  EXPECT_EQ(VarioLine("Vario:", -0.75, '.'), "Vario: -0.8 m/s");
  EXPECT_EQ(VarioLine("Vario:", -0.01, '.'), "Vario: 0.0 m/s");
}

TEST(FrameRateMeter, MeasuresOverAtLeastOneSecond) {
  FrameRateMeter m;
  m.Reset(0);
  for (int t = 16; t < 1000; t += 16) EXPECT_FALSE(m.Frame(t));
  EXPECT_TRUE(m.Frame(1008));  // 63 frames in 1008 ms: 62.5, to even
  EXPECT_EQ(m.Rate(), 62);
  EXPECT_FALSE(m.Frame(1500));
  EXPECT_TRUE(m.Frame(2008));
  EXPECT_EQ(m.Rate(), 2);
}

}  // namespace
}  // namespace veltrane
