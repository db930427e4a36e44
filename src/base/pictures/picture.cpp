#include "base/pictures/picture.h"

namespace veltrane::pictures {

void CheckPictureSize(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0)
    throw PictureError("picture size " + std::to_string(width) + " x " + std::to_string(height) +
                       " is empty");
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
    throw PictureError("picture size " + std::to_string(width) + " x " + std::to_string(height) +
                       " is too large");
}

Picture MakePicture(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                    std::uint8_t a) {
  CheckPictureSize(width, height);
  Picture p;
  p.width = width;
  p.height = height;
  p.pixels.resize(static_cast<std::size_t>(width) * height * 4);
  for (std::size_t i = 0; i < p.pixels.size(); i += 4) {
    p.pixels[i] = r;
    p.pixels[i + 1] = g;
    p.pixels[i + 2] = b;
    p.pixels[i + 3] = a;
  }
  return p;
}

}  // namespace veltrane::pictures
