#include "platform/window/overlay_painter.h"

#include <imgui.h>

namespace veltrane::window {
namespace {

void Text(ImDrawList* dl, ImFont* font, bool bold, ImVec2 at, ImU32 colour, const std::string& s) {
  float size = font ? font->FontSize : ImGui::GetFontSize();
  dl->AddText(font, size, at, colour, s.c_str());
  // Without a bold face, a second pass one pixel over thickens the strokes.
  if (!bold) dl->AddText(font, size, ImVec2(at.x + 1, at.y), colour, s.c_str());
}

}  // namespace

void DrawOverlayTexts(const std::vector<OverlayText>& lines, ImFont* font, bool fontIsBold) {
  if (lines.empty()) return;
  ImDrawList* dl = ImGui::GetBackgroundDrawList();
  for (const OverlayText& l : lines)
    Text(dl, font, fontIsBold, ImVec2(static_cast<float>(l.x), static_cast<float>(l.y)),
         IM_COL32(0, 0, 0, 255), l.text);
}

void DrawStartScreen(const std::string& text, int width, int height, ImFont* font,
                     bool fontIsBold) {
  ImDrawList* dl = ImGui::GetBackgroundDrawList();
  dl->AddRectFilled(ImVec2(0, 0), ImVec2(static_cast<float>(width), static_cast<float>(height)),
                    IM_COL32(0, 0, 0, 255));
  float size = font ? font->FontSize : ImGui::GetFontSize();
  ImFont* f = font ? font : ImGui::GetFont();
  int tw = static_cast<int>(f->CalcTextSizeA(size, 1e9f, 0.0f, text.c_str()).x);
  int x = (width - tw) / 2;
  int y = height / 2;
  Text(dl, font, fontIsBold, ImVec2(static_cast<float>(x), static_cast<float>(y)),
       IM_COL32(255, 255, 255, 255), text);
}

int OverlayTextHeight(ImFont* font) {
  ImFont* f = font ? font : ImGui::GetFont();
  return static_cast<int>(f->CalcTextSizeA(f->FontSize, 1e9f, 0.0f, " ").y + 0.5f);
}

}  // namespace veltrane::window
