#include "platform/window/display_choice.h"

#include <algorithm>

#include "app/display_sizes.h"
#include "platform/window/window_size.h"

namespace veltrane::window {

int DisplayIndex(int driverIndex) {
  const int n = SDL_GetNumVideoDisplays();
  return driverIndex >= 0 && driverIndex < n ? driverIndex : 0;
}

void UsableSize(int display, int& width, int& height) {
  SDL_Rect r{};
  if (SDL_GetDisplayUsableBounds(display, &r) != 0 || r.w <= 0 || r.h <= 0) {
    width = height = 0;
    return;
  }
  width = r.w;
  height = r.h;
}

void KeepShownWindowOnDisplay(SDL_Window* window, int display) {
  if (!window ||
      (SDL_GetWindowFlags(window) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP)))
    return;
  int usableW = 0, usableH = 0;
  UsableSize(display, usableW, usableH);
  if (usableW <= 0 || usableH <= 0) return;
  int w = 0, h = 0;
  SDL_GetWindowSize(window, &w, &h);
  if (FitsWithAnyFrame(w, h, usableW, usableH)) return;
  // The window manager puts its frame around the window a moment after it is mapped.
  int top = 0, left = 0, bottom = 0, right = 0;
  for (int i = 0; i < 25; ++i) {
    SDL_PumpEvents();
    if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) == 0 &&
        top + left + bottom + right > 0)
      break;
    SDL_Delay(20);
  }
  const int fitW = std::min(w, usableW - left - right), fitH = std::min(h, usableH - top - bottom);
  if (fitW == w && fitH == h) return;
  if (fitW <= 0 || fitH <= 0) return;
  SDL_SetWindowSize(window, fitW, fitH);
  SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                        SDL_WINDOWPOS_CENTERED_DISPLAY(display));
}

bool FullScreenSizeOffered(int display, int width, int height) {
  for (const FullScreenSize& s : kFullScreenSizes)
    if (s.width == width && s.height == height) return true;
  const int modes = SDL_GetNumDisplayModes(display);
  for (int i = 0; i < modes; ++i) {
    SDL_DisplayMode m{};
    if (SDL_GetDisplayMode(display, i, &m) == 0 && m.w == width && m.h == height) return true;
  }
  return false;
}

}  // namespace veltrane::window
