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

TEST(OverlayFormat, WindShowsTheSetSpeedAndTheWholeDegreeItBlowsFrom) {
  struct Case {
    double speed, from;
    char decimal;
    const char* line;
  };
  const Case cases[] = {
      {6.0, 270.0, '.', "Wind: 6.0 m/s aus 270°"},
      {12.25, 89.6, ',', "Wind: 12,2 m/s aus 90°"},
      {0.5, 359.7, '.', "Wind: 0.5 m/s aus 0°"},
      {20.0, 0.0, '.', "Wind: 20.0 m/s aus 0°"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WindLine("Wind:", "aus", c.speed, c.from, c.decimal), c.line);
  EXPECT_EQ(WindLine("Ветер:", "с", 3.0, 45.0, ','), "Ветер: 3,0 m/s с 45°");
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
