#include "image.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace veltrane::content {

Rgb Mix(const Rgb& a, const Rgb& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(const Rgb& a, double s) { return {a.r * s, a.g * s, a.b * s}; }

Image::Image(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Image::Blend(int x, int y, const Rgb& c, double a) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || a <= 0.0) return;
  Rgb& p = At(x, y);
  p = Mix(p, c, std::min(a, 1.0));
}

void Image::FillRect(int x0, int y0, int x1, int y1, const Rgb& c, double a) {
  for (int y = std::max(y0, 0); y < std::min(y1, height_); ++y)
    for (int x = std::max(x0, 0); x < std::min(x1, width_); ++x) Blend(x, y, c, a);
}

void Image::FillCircle(double cx, double cy, double radius, const Rgb& c, double a) {
  const int x0 = static_cast<int>(std::floor(cx - radius - 1));
  const int x1 = static_cast<int>(std::ceil(cx + radius + 1));
  const int y0 = static_cast<int>(std::floor(cy - radius - 1));
  const int y1 = static_cast<int>(std::ceil(cy + radius + 1));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      const double cover = std::clamp(radius - d + 0.5, 0.0, 1.0);
      if (cover > 0.0) Blend(x, y, c, a * cover);
    }
}

void Image::FillTriangle(const double* x, const double* y, const double* z, const Rgb& c,
                         std::vector<double>& depth) {
  const int minx = std::max(0, static_cast<int>(std::floor(std::min({x[0], x[1], x[2]}))));
  const int maxx = std::min(width_ - 1, static_cast<int>(std::ceil(std::max({x[0], x[1], x[2]}))));
  const int miny = std::max(0, static_cast<int>(std::floor(std::min({y[0], y[1], y[2]}))));
  const int maxy = std::min(height_ - 1, static_cast<int>(std::ceil(std::max({y[0], y[1], y[2]}))));
  const double area = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
  if (std::fabs(area) < 1e-12) return;
  for (int py = miny; py <= maxy; ++py)
    for (int px = minx; px <= maxx; ++px) {
      const double sx = px + 0.5;
      const double sy = py + 0.5;
      const double w0 = ((x[1] - sx) * (y[2] - sy) - (x[2] - sx) * (y[1] - sy)) / area;
      const double w1 = ((x[2] - sx) * (y[0] - sy) - (x[0] - sx) * (y[2] - sy)) / area;
      const double w2 = 1.0 - w0 - w1;
      if (w0 < 0 || w1 < 0 || w2 < 0) continue;
      const double d = w0 * z[0] + w1 * z[1] + w2 * z[2];
      double& slot = depth[static_cast<size_t>(py) * width_ + px];
      if (d >= slot) continue;
      slot = d;
      At(px, py) = c;
    }
}

std::vector<std::uint8_t> Image::ToBytes() const {
  std::vector<std::uint8_t> out;
  out.reserve(pixels_.size() * 3);
  auto byte = [](double v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
  };
  for (const Rgb& p : pixels_) {
    out.push_back(byte(p.r));
    out.push_back(byte(p.g));
    out.push_back(byte(p.b));
  }
  return out;
}

namespace {

struct Glyph {
  char ch;
  const char* rows[7];
};

// 5x7 glyphs; '#' is a set pixel.
constexpr Glyph kFont[] = {
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
    {'C', {" ####", "#    ", "#    ", "#    ", "#    ", "#    ", " ####"}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    {'G', {" ####", "#    ", "#    ", "#  ##", "#   #", "#   #", " ####"}},
    {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'I', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "#####"}},
    {'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'M', {"#   #", "## ##", "# # #", "#   #", "#   #", "#   #", "#   #"}},
    {'N', {"#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
    {'W', {"#   #", "#   #", "#   #", "#   #", "# # #", "## ##", "#   #"}},
    {'X', {"#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"}},
    {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#### ", "    #", "    #", " ### ", "    #", "    #", "#### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {" ### ", "#    ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "    #", " ### "}},
    {'.', {"     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "}},
    {'-', {"     ", "     ", "     ", " ### ", "     ", "     ", "     "}},
};

const Glyph* FindGlyph(char ch) {
  for (const Glyph& g : kFont)
    if (g.ch == ch) return &g;
  return nullptr;
}

}  // namespace

void DrawText(Image& img, int x, int y, const char* text, int pixel, const Rgb& c) {
  for (const char* p = text; *p; ++p) {
    char ch = *p;
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    if (const Glyph* g = FindGlyph(ch)) {
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
          if (g->rows[row][col] == '#')
            img.FillRect(x + col * pixel, y + row * pixel, x + (col + 1) * pixel,
                         y + (row + 1) * pixel, c);
    }
    x += 6 * pixel;
  }
}

}  // namespace veltrane::content
