#include "platform/window/window_size.h"

#include <algorithm>

namespace veltrane::window {

namespace {
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 479;
}  // namespace

FittedSize FitWindowSize(int width, int height, int usableWidth, int usableHeight) {
  const std::string stored = std::to_string(width) + "x" + std::to_string(height);
  FittedSize f;
  if (width <= 0 || height <= 0) {
    f.note = "window size " + stored + " is not a size, using " + std::to_string(kDefaultWidth) +
             "x" + std::to_string(kDefaultHeight);
    return f;
  }
  f.width = width;
  f.height = height;
  if (usableWidth > 0) f.width = std::min(width, usableWidth);
  if (usableHeight > 0) f.height = std::min(height, usableHeight);
  if (f.width != width || f.height != height)
    f.note = "window size " + stored + " does not fit the display, using " +
             std::to_string(f.width) + "x" + std::to_string(f.height);
  return f;
}

bool FitsWithAnyFrame(int width, int height, int usableWidth, int usableHeight) {
  // More than any common title bar and borders take.
  constexpr int kFrameWidth = 64, kFrameHeight = 128;
  return width + kFrameWidth <= usableWidth && height + kFrameHeight <= usableHeight;
}

}  // namespace veltrane::window
