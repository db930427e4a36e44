#pragma once

#include <string>

#include "base/pictures/picture.h"

namespace veltrane::test {

// What the X server shows in a window (and the windows over it), read back
// from the server, as RGBA. Empty when the display or window is not there.
pictures::Picture GrabWindow(unsigned long window);

// Whether the mouse pointer shows any visible pixel where it stands now;
// false also when the server cannot tell.
bool CursorVisible();

}  // namespace veltrane::test
