#pragma once

#include <string>

namespace veltrane::window {

// The window size a start can use. A stored size the display cannot hold
// would make every start fail the same way.
struct FittedSize {
  int width = 640;
  int height = 479;
  std::string note;  // why the stored size was not taken; empty when it was
};

// width/height from the settings; usable: the display's area without panels
// (0 when unknown, then only nonsense is replaced).
FittedSize FitWindowSize(int width, int height, int usableWidth, int usableHeight);

// Whether a window of width × height stays within the usable area whatever
// frame a window manager puts round it: then nobody has to wait for the frame
// to be known (without a window manager it never is).
bool FitsWithAnyFrame(int width, int height, int usableWidth, int usableHeight);

}  // namespace veltrane::window
