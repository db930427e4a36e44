#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace veltrane::content {

struct Rgb {
  double r = 0.0;
  double g = 0.0;
  double b = 0.0;
};

Rgb Mix(const Rgb& a, const Rgb& b, double t);
Rgb Scale(const Rgb& a, double s);

// An RGB picture in doubles (0..1), top row first. Converted to bytes only when written,
// so that repeated blending does not lose precision.
class Image {
 public:
  Image(int width, int height, Rgb fill = {});

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb& At(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  const Rgb& At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

  // Blends colour c over pixel (x, y) with coverage a; outside pixels are ignored.
  void Blend(int x, int y, const Rgb& c, double a);
  void FillRect(int x0, int y0, int x1, int y1, const Rgb& c, double a = 1.0);
  // Anti-aliased disc.
  void FillCircle(double cx, double cy, double radius, const Rgb& c, double a = 1.0);
  // Filled triangle, no anti-aliasing (used by the preview renderer with a depth buffer).
  void FillTriangle(const double* x, const double* y, const double* z, const Rgb& c,
                    std::vector<double>& depth);

  // 8-bit RGB bytes, top row first; components rounded and clamped.
  std::vector<std::uint8_t> ToBytes() const;

 private:
  int width_;
  int height_;
  std::vector<Rgb> pixels_;
};

// Draws text with a small built-in 5x7 pixel font (capitals, digits and a few signs),
// each font pixel drawn as a square of the given size.
void DrawText(Image& img, int x, int y, const char* text, int pixel, const Rgb& c);

}  // namespace veltrane::content
