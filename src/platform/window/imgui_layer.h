#pragma once

#include <SDL.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/window/ui_fonts.h"

namespace veltrane::window {

class GlWindow;

// Dear ImGui bound to the window and its context. The menu, the dialogs and the
// 2D overlay all draw through it between BeginFrame and EndFrame.
class ImGuiLayer {
 public:
  ImGuiLayer() = default;
  ~ImGuiLayer();
  ImGuiLayer(const ImGuiLayer&) = delete;
  ImGuiLayer& operator=(const ImGuiLayer&) = delete;

  bool Init(GlWindow& window);
  void Shutdown();
  bool Ready() const { return ready_; }

  // True when ImGui wants the event for itself (typing in a dialog).
  bool ProcessEvent(const SDL_Event& e);
  bool WantsKeyboard() const;
  // display_w/h: the size of the picture being drawn (may differ from the window
  // in full screen, where the picture is scaled).
  void BeginFrame(int display_w, int display_h);
  void EndFrame();

  // Fonts for the language `index` showing `texts`; the atlas is rebuilt at the
  // start of the next BeginFrame, between frames, as ImGui requires.
  void RequestLanguageFonts(int index, const std::string& texts);

  // 8-point bold face for the overlay and the start screen (the default face
  // drawn twice when no bold font is installed).
  ImFont* OverlayFont() const { return fonts_.Overlay(); }
  bool OverlayFontIsBold() const { return fonts_.OverlayIsBold(); }
  // 8-point regular face for the start screen.
  ImFont* StartFont() const { return fonts_.Start(); }

 private:
  struct FontRequest {
    int index;
    std::string texts;
  };
  void RebuildFonts(const FontRequest& r);

  bool ready_ = false;
  // ImGui 1.86 sees only whether a key is down when a frame starts: a release
  // that follows its press within one frame waits for the frame's end, or the
  // press would never be seen (a quick Esc in a dialog).
  std::vector<SDL_Scancode> pressedInFrame_;
  std::vector<SDL_Event> releasesLater_;
  bool fontTextureMade_ = false;  // the backend has uploaded the atlas once
  UiFonts fonts_;
  std::optional<FontRequest> pendingFonts_;
};

}  // namespace veltrane::window
