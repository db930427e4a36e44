#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "app/platform_services.h"
#include "platform/window/key_map.h"

namespace veltrane::window {

// The main window's platform services on SDL. Key state is tracked from the
// window's key events, by the keys' labels (see VirtualKeyFromKey).
class SdlPlatformServices final : public PlatformServices {
 public:
  // interactive false: message boxes are written to stderr and answered with
  // Ignore, so unattended runs (screenshots, tests) never block.
  SdlPlatformServices(SDL_Window* window, bool interactive);
  ~SdlPlatformServices() override;
  SdlPlatformServices(const SdlPlatformServices&) = delete;
  SdlPlatformServices& operator=(const SdlPlatformServices&) = delete;

  void SetWindow(SDL_Window* window) { window_ = window; }
  // Every event of the window, before anybody filters them: key presses and
  // releases, and the loss of focus that ends them all.
  void TrackKeys(const SDL_Event& e);
  // After each frame (see HeldKeys::FrameDone).
  void KeysRead() { held_.FrameDone(); }

  bool IsKeyDown(int vk) const override;
  bool GetScreenSaverActive(bool& active, std::string& error) override;
  bool SetScreenSaverActive(bool active, bool notify, std::string& error) override;
  MessageBoxChoice ShowErrorOkIgnore(const std::string& title, const std::string& text) override;
  std::vector<DisplayDriver> Drivers() const override;
  void UseDisplay(int driverIndex) override;
  bool GetWindowPlacement(WindowPlacement& placement) const override;
  void SetWindowPlacement(const WindowPlacement& placement) override;
  void SetCursor(CursorKind cursor) override;
  void SetWindowCaption(const std::string& caption) override;

 private:
  SDL_Window* window_;
  bool interactive_;
  HeldKeys held_;
  SDL_Cursor* arrow_ = nullptr;
  SDL_Cursor* wait_ = nullptr;
};

}  // namespace veltrane::window
