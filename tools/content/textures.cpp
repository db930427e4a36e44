#include "textures.h"

#include <algorithm>
#include <cmath>

#include "field_furniture.h"
#include "noise.h"

namespace veltrane::content {

namespace {

constexpr int kPeriod = 8;  // noise cells across one ground texture

// Keeps tree pixels away from pure black, which the renderer drops.
Rgb NotBlack(Rgb c) {
  c.r = std::max(c.r, 0.04);
  c.g = std::max(c.g, 0.04);
  c.b = std::max(c.b, 0.04);
  return c;
}

}  // namespace

Image GrassTexture(int size, const Rgb& base, const Rgb& light, double roughness, unsigned seed) {
  Image img(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const double u = static_cast<double>(x) / size * kPeriod;
      const double v = static_cast<double>(y) / size * kPeriod;
      const double patches = FractalNoise(u, v, 4, seed, kPeriod);
      const double blades = Hash01(x, y, seed + 7);
      const double t = std::clamp(0.5 * patches + roughness * (blades - 0.5) + 0.25, 0.0, 1.0);
      img.At(x, y) = Mix(base, light, t);
    }
  return img;
}

Image RunwayTexture(int size, int strip) {
  Image img = GrassTexture(size, {0.20, 0.36, 0.12}, {0.38, 0.55, 0.2}, 0.5, 11);
  const int left = size / 2 - strip / 2, right = left + strip;  // strip: [left, right)
  const int lane = std::max(2, strip / 4);  // one pass of the mower on the strip
  const int apron = lane * 3 / 2;           // wider passes beside it
  const double reach = size * 0.36;         // mown apron ends this far from the middle
  const Rgb light{0.47, 0.67, 0.28}, dark{0.38, 0.59, 0.21};
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      Rgb& px = img.At(x, y);
      const double fine = Hash01(x, y, 19) - 0.5;
      if (x >= left && x < right) {
        // Lanes mown up and down in turn: the blades lie towards or away from the eye.
        const Rgb mown = ((x - left) / lane) % 2 ? dark : light;
        px = Mix(Scale(mown, 1.0 + 0.12 * fine), px, 0.2);
        continue;
      }
      // Beside the strip the grass is cut longer and darker, so the strip's edge shows
      // as a step in brightness even where the picture is seen blurred, far off and
      // flat. Then an apron mown in wide lanes that fade into the rough grass, so the
      // picture still meets the plain grass beside it without a seam.
      const int out = x < left ? left - 1 - x : x - right;
      const double fade =
          1.0 - std::clamp((out + strip / 2.0 - reach * 0.6) / (reach * 0.4), 0.0, 1.0);
      const double shade = out < apron ? 0.86 : (out / apron) % 2 ? 1.06 : 0.95;
      px = Scale(px, 1.0 + (shade - 1.0) * fade);
      // Close up, a ragged line of uncut blades marks the edge itself.
      if (out < 0.6 + 1.2 * Hash01(x / 2, y / 3, 29)) px = Scale(px, 0.82 + 0.1 * fine);
    }
  return img;
}

Image FieldTexture(int size, const Rgb& soil, const Rgb& crop, unsigned seed) {
  Image img(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const double row = 0.5 + 0.5 * std::sin(2.0 * 3.14159265358979 * y * 32.0 / size);
      const double n = FractalNoise(static_cast<double>(x) / size * kPeriod,
                                    static_cast<double>(y) / size * kPeriod, 3, seed, kPeriod);
      const double speck = Hash01(x, y, seed + 3) - 0.5;
      img.At(x, y) = Scale(Mix(soil, crop, std::clamp(0.7 * row + 0.5 * n - 0.2, 0.0, 1.0)),
                           1.0 + 0.15 * speck);
    }
  return img;
}

Image WaterTexture(int size, unsigned seed) {
  Image img(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const double n = FractalNoise(static_cast<double>(x) / size * kPeriod,
                                    static_cast<double>(y) / size * kPeriod * 2, 4, seed, kPeriod);
      img.At(x, y) = Mix({0.08, 0.22, 0.38}, {0.25, 0.45, 0.6}, n);
    }
  return img;
}

Image SkyTexture(int size) { return SkyTexture(size, {0.36, 0.56, 0.88}, 0.52, 77); }

Image SkyTexture(int size, const Rgb& sky, double clear, unsigned seed) {
  Image img(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const double u = static_cast<double>(x) / size * 4;
      const double v = static_cast<double>(y) / size * 4;
      const double n = FractalNoise(u, v, 5, seed, 4);
      const double cloud = std::clamp((n - clear) * 3.5, 0.0, 1.0);
      const Rgb white{0.97, 0.97, 0.98};
      const Rgb shade{0.78, 0.8, 0.86};
      img.At(x, y) = Mix(sky, Mix(white, shade, std::clamp((n - 0.65) * 4.0, 0.0, 1.0)), cloud);
    }
  return img;
}

Image PineTexture(int width, int height, unsigned seed) {
  Image img(width, height);
  const double cx = width / 2.0;
  // Trunk.
  for (int y = static_cast<int>(height * 0.82); y < height; ++y)
    for (int x = static_cast<int>(cx - width * 0.04); x < cx + width * 0.04; ++x)
      img.At(x, y) = NotBlack({0.3, 0.2, 0.12});
  // Layers of branches, wider towards the bottom.
  for (int y = 0; y < static_cast<int>(height * 0.88); ++y) {
    const double t = static_cast<double>(y) / (height * 0.88);
    const double layer = std::fmod(t * 6.0, 1.0);
    const double half = width * 0.48 * t * (0.75 + 0.25 * layer);
    for (int x = 0; x < width; ++x) {
      const double dx = std::fabs(x + 0.5 - cx);
      const double ragged = half * (0.9 + 0.2 * Hash01(x / 3, y / 3, seed));
      if (dx > ragged) continue;
      const double lightness = 0.55 + 0.45 * Hash01(x / 2, y / 2, seed + 1);
      const double side = 0.85 + 0.3 * (x < cx ? 1.0 : 0.0) * (1.0 - dx / (half + 1));
      img.At(x, y) = NotBlack(Scale({0.09, 0.27, 0.1}, lightness * side));
    }
  }
  return img;
}

Image LeafTreeTexture(int width, int height, unsigned seed) {
  Image img(width, height);
  const double cx = width / 2.0;
  for (int y = static_cast<int>(height * 0.55); y < height; ++y) {
    const double w = width * (0.035 + 0.02 * (y - height * 0.55) / (height * 0.45));
    for (int x = static_cast<int>(cx - w); x < cx + w; ++x)
      img.At(x, y) = NotBlack({0.32, 0.24, 0.16});
  }
  // A crown of overlapping leaf clumps.
  Sequence seq(seed);
  for (int k = 0; k < 70; ++k) {
    const double a = seq.Next() * 6.283185307179586;
    const double r = std::sqrt(seq.Next());
    const double px = cx + std::cos(a) * r * width * 0.36;
    const double py = height * 0.38 + std::sin(a) * r * height * 0.3;
    const double size = width * (0.07 + 0.07 * seq.Next());
    const double light =
        0.6 + 0.4 * (1.0 - (py - height * 0.1) / (height * 0.6)) + 0.2 * (px < cx ? 1 : -1) * r;
    const Rgb c = NotBlack(Scale({0.16, 0.36, 0.1}, std::clamp(light, 0.45, 1.3)));
    const int x0 = static_cast<int>(px - size), x1 = static_cast<int>(px + size);
    const int y0 = static_cast<int>(py - size), y1 = static_cast<int>(py + size);
    for (int y = std::max(0, y0); y <= std::min(height - 1, y1); ++y)
      for (int x = std::max(0, x0); x <= std::min(width - 1, x1); ++x) {
        const double d = std::hypot(x + 0.5 - px, y + 0.5 - py);
        if (d > size * (0.8 + 0.3 * Hash01(x, y, seed + 5))) continue;
        img.At(x, y) = Scale(c, 0.85 + 0.3 * Hash01(x / 2, y / 2, seed + 9));
      }
  }
  return img;
}

Image FlagTexture(int width, int height) {
  Image img(width, height);
  const Rgb red{0.8, 0.12, 0.1}, white{0.95, 0.95, 0.92}, blue{0.1, 0.25, 0.65};
  const Rgb yellow{0.95, 0.8, 0.15}, green{0.12, 0.5, 0.22};
  const int band = height / kFlagDesigns;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      // u, v across one flag, 0..1.
      const double u = (x + 0.5) / width, v = (y % band + 0.5) / band;
      Rgb c;
      switch (y / band) {
        case 0:  // yellow with a blue stripe
          c = std::fabs(v - 0.5) < 0.17 ? blue : yellow;
          break;
        case 1:  // quartered
          c = (u < 0.5) == (v < 0.5) ? red : white;
          break;
        case 2:  // blue with a white border and disc
          c = u < 0.07 || u > 0.93 || v < 0.1 || v > 0.9 ||
                      std::hypot((u - 0.5) * 1.5, v - 0.5) < 0.22
                  ? white
                  : blue;
          break;
        default:  // green and white, cut diagonally
          c = u + v > 1.0 ? green : white;
          break;
      }
      // A little weave, so the cloth is not flat paint.
      img.At(x, y) = Scale(c, 0.94 + 0.08 * Hash01(x, y, 91));
    }
  return img;
}

}  // namespace veltrane::content
