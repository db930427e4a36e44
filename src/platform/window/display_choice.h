#pragma once

#include <string>

namespace veltrane::window {

// The SDL display an "iDXDrawDriver" index names; an index beyond the
// displays there are now falls back to the first.
int DisplayIndex(int driverIndex);

// The display's area without panels and docks; 0 × 0 when SDL cannot tell.
void UsableSize(int display, int& width, int& height);

// Whether width × height is a full-screen size to start with: one of the
// display's own modes, or one of the sizes the resolution menu offers.
bool FullScreenSizeOffered(int display, int width, int height);

}  // namespace veltrane::window
