#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrane::pictures {

// A decoded picture: RGBA, 8 bits per channel, rows from top to bottom.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 4 bytes

  const std::uint8_t* At(int x, int y) const {
    return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
  }
  std::uint8_t* At(int x, int y) {
    return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
  }
};

// Any failure to read or write a picture; the message names the file where there is one.
class PictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Hard limits that keep a hostile header from asking for an unbounded allocation.
inline constexpr int kMaxPictureSide = 32768;
// 64 MiB of RGBA (a 4096 x 4096 texture); a few bytes of RLE or a forged header
// must not make the reader take more.
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 24;

// Throws PictureError unless 0 < width, height <= kMaxPictureSide and the area is in bounds.
void CheckPictureSize(std::int64_t width, std::int64_t height);

// A width x height picture filled with one colour.
Picture MakePicture(int width, int height, std::uint8_t r = 0, std::uint8_t g = 0,
                    std::uint8_t b = 0, std::uint8_t a = 255);

}  // namespace veltrane::pictures
