#pragma once

#include <SDL.h>

namespace veltrane::window {

// The SDL display an "iDXDrawDriver" index names; an index beyond the
// displays there are now falls back to the first.
int DisplayIndex(int driverIndex);

// The display's area without panels and docks; 0 × 0 when SDL cannot tell.
void UsableSize(int display, int& width, int& height);

// Once shown, the window's frame (title bar, borders) is known: the window
// shrinks where frame and window together would leave the usable area, and is
// centred on the display again. Full-screen windows are left alone.
void KeepShownWindowOnDisplay(SDL_Window* window, int display);

// Whether width × height is a full-screen size to start with: one of the
// display's own modes, or one of the sizes the resolution menu offers.
bool FullScreenSizeOffered(int display, int width, int height);

}  // namespace veltrane::window
