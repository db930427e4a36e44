#include "platform/window/window_size.h"

#include <gtest/gtest.h>

namespace veltrane::window {
namespace {

// The start waits for the window manager's frame only where the frame could
// push the window off the display; without a window manager it waited in vain.
TEST(FitWindowSize, OnlyAWindowNearTheDisplaysSizeWaitsForItsFrame) {
  EXPECT_TRUE(FitsWithAnyFrame(640, 480, 1280, 1024));
  EXPECT_TRUE(FitsWithAnyFrame(1024, 768, 1280, 1024));
  EXPECT_FALSE(FitsWithAnyFrame(1280, 960, 1280, 1024));  // a title bar would push it off
  EXPECT_FALSE(FitsWithAnyFrame(1024, 768, 1024, 768));
  EXPECT_FALSE(FitsWithAnyFrame(640, 480, 0, 0));  // display unknown
}

TEST(FitWindowSize, StoredSizesTheDisplayCannotHoldOrThatAreNoSizes) {
  const struct {
    int w, h, usableW, usableH;
    int fitW, fitH;
    bool noted;
  } cases[] = {
      {800, 600, 1280, 1000, 800, 600, false},
      {1280, 1000, 1280, 1000, 1280, 1000, false},
      {640, 57599, 1280, 1000, 640, 1000, true},
      {99999, 99999, 1280, 1000, 1280, 1000, true},
      {0, 480, 1280, 1000, 640, 479, true},
      {800, -5, 1280, 1000, 640, 479, true},
      {-1, -1, 0, 0, 640, 479, true},
      {3000, 2000, 0, 0, 3000, 2000, false},  // display unknown: only nonsense is replaced
  };
  for (const auto& c : cases) {
    const FittedSize f = FitWindowSize(c.w, c.h, c.usableW, c.usableH);
    EXPECT_EQ(f.width, c.fitW) << c.w << "x" << c.h;
    EXPECT_EQ(f.height, c.fitH) << c.w << "x" << c.h;
    EXPECT_EQ(!f.note.empty(), c.noted) << c.w << "x" << c.h;
  }
  EXPECT_EQ(FitWindowSize(640, 57599, 1280, 1000).note,
            "window size 640x57599 does not fit the display, using 640x1000");
}

}  // namespace
}  // namespace veltrane::window
