#include "x_screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <cstdint>

namespace veltrane::test {

namespace {
// A window that moves or resizes between the query and the read makes the read
// fail; that is a retry for the caller, not the end of the test program.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }
}  // namespace

pictures::Picture GrabWindow(unsigned long window) {
  // 0: the whole screen.
  pictures::Picture p;
  Display* d = XOpenDisplay(nullptr);
  if (!d) return p;
  XErrorHandler previous = XSetErrorHandler(IgnoreXError);
  if (window == 0) window = DefaultRootWindow(d);
  XWindowAttributes a;
  int x = 0, y = 0;
  Window child;
  if (XGetWindowAttributes(d, window, &a) &&
      XTranslateCoordinates(d, window, DefaultRootWindow(d), 0, 0, &x, &y, &child) && x >= 0 &&
      y >= 0 && x + a.width <= DisplayWidth(d, DefaultScreen(d)) &&
      y + a.height <= DisplayHeight(d, DefaultScreen(d))) {
    // From the root, so menus and dialogs drawn over the window are included
    // the same way the user sees them.
    XImage* img = XGetImage(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(a.width),
                            static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
    if (img) {
      p.width = a.width;
      p.height = a.height;
      p.pixels.resize(static_cast<std::size_t>(p.width) * p.height * 4);
      for (int yy = 0; yy < p.height; ++yy)
        for (int xx = 0; xx < p.width; ++xx) {
          unsigned long px = XGetPixel(img, xx, yy);
          std::uint8_t* q = &p.pixels[(static_cast<std::size_t>(yy) * p.width + xx) * 4];
          q[0] = static_cast<std::uint8_t>((px & img->red_mask) >> __builtin_ctzl(img->red_mask));
          q[1] =
              static_cast<std::uint8_t>((px & img->green_mask) >> __builtin_ctzl(img->green_mask));
          q[2] = static_cast<std::uint8_t>((px & img->blue_mask) >> __builtin_ctzl(img->blue_mask));
          q[3] = 255;
        }
      XDestroyImage(img);
    }
  }
  XSync(d, False);
  XSetErrorHandler(previous);
  XCloseDisplay(d);
  return p;
}

}  // namespace veltrane::test

namespace veltrane::test {

bool CursorVisible() {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return false;
  bool visible = false;
  int event = 0, error = 0;
  if (XFixesQueryExtension(d, &event, &error)) {
    if (XFixesCursorImage* c = XFixesGetCursorImage(d)) {
      for (int i = 0; i < c->width * c->height && !visible; ++i)
        visible = (c->pixels[i] >> 24) != 0;
      XFree(c);
    }
  }
  XCloseDisplay(d);
  return visible;
}

}  // namespace veltrane::test
