#pragma once

#include <string>
#include <vector>

struct ImFont;

namespace veltrane::window {

struct OverlayText {
  std::string text;
  int x = 0;
  int y = 0;
};

// Black text on the scene, drawn between ImGuiLayer::BeginFrame and EndFrame.
void DrawOverlayTexts(const std::vector<OverlayText>& lines, ImFont* font, bool fontIsBold);

// The whole surface black with `text` in white, its left edge at
// (width - text width) / 2 and its top at height / 2.
void DrawStartScreen(const std::string& text, int width, int height, ImFont* font, bool fontIsBold);

// Pixel height of a blank in the overlay font, for the overlay's line pitch.
int OverlayTextHeight(ImFont* font);

}  // namespace veltrane::window
