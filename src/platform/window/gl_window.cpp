#include "platform/window/gl_window.h"

#include <epoxy/gl.h>

#include <string>

namespace veltrane::window {
namespace {

// A video driver that shows nothing, not asked for through SDL_VIDEODRIVER.
bool HeadlessDriverChosen() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver) return true;
  std::string d = driver;
  if (d != "offscreen" && d != "dummy" && d != "evdev") return false;
  const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
  return !(wanted && d == wanted);
}

}  // namespace

std::string NoContextMessage(const OpenError& e) {
  std::string offered = e.kind == OpenError::Kind::Version
                            ? "the display offers only OpenGL " + std::to_string(e.gl_major) + "." +
                                  std::to_string(e.gl_minor)
                            : "the display offers no OpenGL context at all";
  return "Veltrane needs OpenGL 3.3, but " + offered + " (" + e.text +
         ").\nSoftware rendering works on every machine: start Veltrane with the environment "
         "variable "
         "LIBGL_ALWAYS_SOFTWARE=1.";
}

GlWindow::~GlWindow() { Close(); }

bool GlWindow::Open(const WindowOptions& o, OpenError& error) {
  error = {};
  // A display that is still starting (an X server launched together with us)
  // gets a few chances before we give up.
  int attempts = o.open_attempts < 1 ? 1 : o.open_attempts;
  // SDL would switch the screen saver off by itself; the main window decides
  // that, and restores what it found at close.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  for (int i = 0; i < attempts; ++i) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
      // SDL falls back to drivers without a screen when the display does not
      // open; the program would then run where nobody sees it.
      if (!HeadlessDriverChosen()) {
        sdl_video_ = true;
        break;
      }
      error.text =
          std::string("no display (only the '") + SDL_GetCurrentVideoDriver() + "' video driver)";
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
    } else {
      error.text = SDL_GetError();
    }
    if (i + 1 < attempts) SDL_Delay(static_cast<Uint32>(o.retry_delay_ms));
  }
  if (!sdl_video_) {
    error.kind = OpenError::Kind::Display;
    error.text = "cannot open the display: " + error.text;
    return false;
  }

  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, SDL_GL_CONTEXT_FORWARD_COMPATIBLE_FLAG);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);

  fullscreen_ = o.fullscreen;
  display_width_ = o.display_width > 0 ? o.display_width : 800;
  display_height_ = o.display_height > 0 ? o.display_height : 600;
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
  if (o.hidden) flags |= SDL_WINDOW_HIDDEN;
  if (fullscreen_) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  window_ = SDL_CreateWindow(o.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             o.width > 0 ? o.width : 640, o.height > 0 ? o.height : 479, flags);
  if (!window_) {
    error.kind = OpenError::Kind::Window;
    error.text = std::string("cannot create the window: ") + SDL_GetError();
    Close();
    return false;
  }
  context_ = SDL_GL_CreateContext(window_);
  if (!context_) {
    // Learn which version the driver does offer, for the message.
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GLContext any = SDL_GL_CreateContext(window_);
    if (any) {
      int v = epoxy_gl_version();
      error.gl_major = v / 10;
      error.gl_minor = v % 10;
      SDL_GL_DeleteContext(any);
    }
    error.kind = error.gl_major ? OpenError::Kind::Version : OpenError::Kind::Context;
    error.text = std::string("no OpenGL 3.3 core context: ") + SDL_GetError();
    Close();
    return false;
  }
  SDL_GL_MakeCurrent(window_, context_);
  int depth = 0, stencil = 0;
  SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
  SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencil);
  depth_stencil_ = depth >= 24 && stencil >= 8;
  // A context that reports an older version than it was asked for stays: the
  // program's version check tells the user, who may go on at his own risk.
  int v = epoxy_gl_version();
  gl_major_ = v / 10;
  gl_minor_ = v % 10;
  SetVsync(o.vsync);
  return true;
}

void GlWindow::Close() {
  if (context_) SDL_GL_DeleteContext(context_);
  context_ = nullptr;
  if (window_) SDL_DestroyWindow(window_);
  window_ = nullptr;
  if (sdl_video_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  sdl_video_ = false;
}

int GlWindow::DrawableWidth() const {
  int w = 0, h = 0;
  if (window_) SDL_GL_GetDrawableSize(window_, &w, &h);
  return w;
}

int GlWindow::DrawableHeight() const {
  int w = 0, h = 0;
  if (window_) SDL_GL_GetDrawableSize(window_, &w, &h);
  return h;
}

int GlWindow::RenderWidth() const { return fullscreen_ ? display_width_ : DrawableWidth(); }
int GlWindow::RenderHeight() const { return fullscreen_ ? display_height_ : DrawableHeight(); }

void GlWindow::SetFullscreen(bool on, int display_width, int display_height) {
  if (display_width > 0) display_width_ = display_width;
  if (display_height > 0) display_height_ = display_height;
  fullscreen_ = on;
  if (window_) SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void GlWindow::SetVsync(bool on) {
  if (!context_) return;
  // Adaptive sync first, plain sync where that is refused.
  if (on) {
    if (SDL_GL_SetSwapInterval(-1) != 0) SDL_GL_SetSwapInterval(1);
  } else {
    SDL_GL_SetSwapInterval(0);
  }
}

void GlWindow::SetTitle(const std::string& title) {
  if (window_) SDL_SetWindowTitle(window_, title.c_str());
}

void GlWindow::WindowSize(int& w, int& h) const {
  w = h = 0;
  if (window_) SDL_GetWindowSize(window_, &w, &h);
}

void GlWindow::Swap() {
  if (window_ && context_) SDL_GL_SwapWindow(window_);
}

}  // namespace veltrane::window
