// Writes the information dialog's background picture InfoBox.jpg (348 x 204).
// Usage: veltrane-gen-pictures OUTPUT_DIR
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <string>

#include "design.h"
#include "file_writers.h"
#include "model_writers.h"
#include "noise.h"

namespace veltrane::content {
namespace {

// Evening sky over a line of hills with the default model climbing away: calm and dark
// enough at the bottom for the credits that scroll over it.
Image InfoBox() {
  const int w = 348, h = 204;
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double t = static_cast<double>(y) / (h - 1);
      Rgb sky = Mix({0.16, 0.3, 0.58}, {0.93, 0.72, 0.5}, std::pow(t, 1.6));
      const double cloud = FractalNoise(x / 60.0, y / 25.0, 4, 31);
      sky = Mix(sky, {0.98, 0.86, 0.74}, std::clamp((cloud - 0.58) * 2.5, 0.0, 0.6) * (1.0 - t));
      img.At(x, y) = sky;
    }
  // Two ridges of hills, the nearer one darker.
  for (int x = 0; x < w; ++x) {
    const double far_ridge = h * 0.72 - 18.0 * FractalNoise(x / 70.0, 3.0, 3, 41);
    const double near_ridge = h * 0.84 - 14.0 * FractalNoise(x / 45.0, 7.0, 3, 43);
    for (int y = 0; y < h; ++y) {
      if (y > far_ridge) img.At(x, y) = Mix(img.At(x, y), {0.25, 0.3, 0.34}, 0.8);
      if (y > near_ridge)
        img.At(x, y) =
            Mix({0.1, 0.16, 0.09}, {0.05, 0.08, 0.05}, (y - near_ridge) / (h - near_ridge));
    }
  }
  RenderOnto(Su26(), img, 200, 18, 130, 90);
  DrawText(img, 14, 14, "VELTRANE", 3, {0.98, 0.97, 0.92});
  DrawText(img, 15, 40, "MODEL FLIGHT SIMULATOR", 1, {0.95, 0.92, 0.85});
  return img;
}

}  // namespace
}  // namespace veltrane::content

int main(int argc, char** argv) {
  using namespace veltrane::content;
  return GeneratorMain(argc, argv, [](const std::string& out) {
    MakeDirs(out);
    WriteJpeg(out + "/InfoBox.jpg", InfoBox(), 92);
  });
}
