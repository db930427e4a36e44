#include "platform/window/display_choice.h"

#include <SDL.h>

#include "app/display_sizes.h"

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
