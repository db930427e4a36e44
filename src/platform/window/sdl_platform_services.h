#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "app/platform_services.h"

namespace veltrane::window {

// The main window's platform services on SDL. Key state is SDL's keyboard
// state read through the virtual-key table.
class SdlPlatformServices final : public PlatformServices {
 public:
  // interactive false: message boxes are written to stderr and answered with
  // Ignore, so unattended runs (screenshots, tests) never block.
  SdlPlatformServices(SDL_Window* window, bool interactive);
  ~SdlPlatformServices() override;
  SdlPlatformServices(const SdlPlatformServices&) = delete;
  SdlPlatformServices& operator=(const SdlPlatformServices&) = delete;

  void SetWindow(SDL_Window* window) { window_ = window; }

  bool IsKeyDown(int vk) const override;
  bool GetScreenSaverActive(bool& active, std::string& error) override;
  bool SetScreenSaverActive(bool active, bool notify, std::string& error) override;
  MessageBoxChoice ShowErrorOkIgnore(const std::string& title, const std::string& text) override;
  std::vector<DisplayDriver> Drivers() const override;
  bool GetWindowPlacement(WindowPlacement& placement) const override;
  void SetWindowPlacement(const WindowPlacement& placement) override;
  void SetCursor(CursorKind cursor) override;
  void SetWindowCaption(const std::string& caption) override;

 private:
  SDL_Window* window_;
  bool interactive_;
  SDL_Cursor* arrow_ = nullptr;
  SDL_Cursor* wait_ = nullptr;
};

}  // namespace veltrane::window
