#pragma once

#include <SDL.h>

#include <memory>
#include <string>

namespace veltrane::window {

struct WindowOptions {
  std::string title = "Veltrane";
  int width = 640;
  int height = 479;
  bool fullscreen = false;
  // Full-screen rendering size; the picture is scaled to the desktop.
  int display_width = 800;
  int display_height = 600;
  bool vsync = true;
  bool hidden = false;
  int open_attempts = 5;
  int retry_delay_ms = 200;
};

// Why opening failed, for the message on stderr.
struct OpenError {
  enum class Kind { None, Display, Window, Context, Version } kind = Kind::None;
  std::string text;
  int gl_major = 0;  // the version offered instead, when Kind is Version
  int gl_minor = 0;
};

// What the user is told when no OpenGL 3.3 context can be had: what the
// display offers and how to get software rendering.
std::string NoContextMessage(const OpenError& error);

// One SDL window with an OpenGL 3.3 core context. Everything that is not
// available is reported through OpenError; no call dereferences a null
// window or context.
class GlWindow {
 public:
  GlWindow() = default;
  ~GlWindow();
  GlWindow(const GlWindow&) = delete;
  GlWindow& operator=(const GlWindow&) = delete;

  // Initialises SDL video (retrying a display that does not open yet), then the
  // window and the context. Returns false with the reason in error.
  bool Open(const WindowOptions& options, OpenError& error);
  void Close();

  bool IsOpen() const { return window_ != nullptr && context_ != nullptr; }
  SDL_Window* Handle() const { return window_; }
  SDL_GLContext Context() const { return context_; }

  // Size of the picture the scene is rendered at: the window's drawable size,
  // or the chosen display size in full screen.
  int RenderWidth() const;
  int RenderHeight() const;
  int DrawableWidth() const;
  int DrawableHeight() const;

  bool Fullscreen() const { return fullscreen_; }
  void SetFullscreen(bool on, int display_width, int display_height);
  void SetVsync(bool on);
  void SetTitle(const std::string& title);
  void WindowSize(int& w, int& h) const;

  void Swap();

  // The window's own buffers carry the depth and stencil the scene needs, so
  // it can be drawn there without an off-screen copy.
  bool HasDepthStencil() const { return depth_stencil_; }

  int GlMajor() const { return gl_major_; }
  int GlMinor() const { return gl_minor_; }

 private:
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  bool sdl_video_ = false;
  bool fullscreen_ = false;
  int display_width_ = 800;
  int display_height_ = 600;
  bool depth_stencil_ = false;
  int gl_major_ = 0;
  int gl_minor_ = 0;
};

}  // namespace veltrane::window
