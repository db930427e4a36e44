#include "platform/window/sdl_platform_services.h"

#include <cstdio>

#include "platform/window/display_choice.h"
#include "platform/window/key_map.h"
#include "platform/window/message_box.h"

namespace veltrane::window {

SdlPlatformServices::SdlPlatformServices(SDL_Window* window, bool interactive)
    : window_(window), interactive_(interactive) {}

SdlPlatformServices::~SdlPlatformServices() {
  if (arrow_) SDL_FreeCursor(arrow_);
  if (wait_) SDL_FreeCursor(wait_);
}

bool SdlPlatformServices::IsKeyDown(int vk) const { return held_.IsDown(vk); }

void SdlPlatformServices::TrackKeys(const SDL_Event& e) {
  switch (e.type) {
    case SDL_KEYDOWN:
      if (!e.key.repeat)
        held_.Press(e.key.keysym.scancode,
                    VirtualKeyFromKey(e.key.keysym.sym, e.key.keysym.scancode));
      break;
    case SDL_KEYUP:
      held_.Release(e.key.keysym.scancode);
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) held_.ReleaseAll();
      break;
    default:
      break;
  }
}

bool SdlPlatformServices::GetScreenSaverActive(bool& active, std::string&) {
  active = SDL_IsScreenSaverEnabled() == SDL_TRUE;
  return true;
}

bool SdlPlatformServices::SetScreenSaverActive(bool active, bool, std::string& error) {
  if (active)
    SDL_EnableScreenSaver();
  else
    SDL_DisableScreenSaver();
  if ((SDL_IsScreenSaverEnabled() == SDL_TRUE) != active) {
    const char* e = SDL_GetError();
    error = (e && *e) ? e : "the screen saver setting did not change";
    return false;
  }
  return true;
}

MessageBoxChoice SdlPlatformServices::ShowErrorOkIgnore(const std::string& title,
                                                        const std::string& text) {
  if (!interactive_) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    return MessageBoxChoice::Ignore;
  }
  // In a process of its own, so that SIGTERM still ends the program while it is open.
  const std::optional<int> pressed = ShowMessageBox(title, text, {"OK", "Ignore"});
  if (!pressed) {
    // No box could be shown (or a signal closed it); the text still reaches the user and OK is the
    // safe answer.
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    return MessageBoxChoice::Ok;
  }
  return *pressed == 1 ? MessageBoxChoice::Ignore : MessageBoxChoice::Ok;
}

std::vector<DisplayDriver> SdlPlatformServices::Drivers() const {
  std::vector<DisplayDriver> list;
  int n = SDL_GetNumVideoDisplays();
  for (int i = 0; i < n; ++i) {
    const char* name = SDL_GetDisplayName(i);
    std::string desc = name ? name : "Display";
    list.push_back({desc, "display" + std::to_string(i)});
  }
  if (list.empty()) list.push_back({"Primary display", "display0"});
  return list;
}

void SdlPlatformServices::UseDisplay(int driverIndex) {
  if (!window_) return;
  const int display = DisplayIndex(driverIndex);
  if (SDL_GetWindowDisplayIndex(window_) == display) return;  // stays where the user put it
  const Uint32 full = SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP;
  if (full) SDL_SetWindowFullscreen(window_, 0);
  SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                        SDL_WINDOWPOS_CENTERED_DISPLAY(display));
  if (full) SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

bool SdlPlatformServices::GetWindowPlacement(WindowPlacement& p) const {
  if (!window_) return false;
  SDL_GetWindowPosition(window_, &p.x, &p.y);
  SDL_GetWindowSize(window_, &p.width, &p.height);
  return true;
}

void SdlPlatformServices::SetWindowPlacement(const WindowPlacement& p) {
  if (!window_) return;
  if (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP)
    SDL_SetWindowFullscreen(window_, 0);
  SDL_SetWindowSize(window_, p.width, p.height);
  SDL_SetWindowPosition(window_, p.x, p.y);
}

void SdlPlatformServices::SetCursor(CursorKind cursor) {
  switch (cursor) {
    case CursorKind::Hidden:
      SDL_ShowCursor(SDL_DISABLE);
      return;
    case CursorKind::Hourglass:
      if (!wait_) wait_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
      if (wait_) SDL_SetCursor(wait_);
      break;
    case CursorKind::Arrow:
      if (!arrow_) arrow_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
      if (arrow_) SDL_SetCursor(arrow_);
      break;
  }
  SDL_ShowCursor(SDL_ENABLE);
}

void SdlPlatformServices::SetWindowCaption(const std::string& caption) {
  if (window_) SDL_SetWindowTitle(window_, caption.c_str());
}

}  // namespace veltrane::window
