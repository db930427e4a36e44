#include "base/pictures/bmp_writer.h"

#include "base/pictures/file_bytes.h"

namespace veltrane::pictures {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  out[at] = static_cast<std::uint8_t>(v);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  Put16(out, at, v & 0xFFFF);
  Put16(out, at + 2, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const Picture& picture) {
  CheckPictureSize(picture.width, picture.height);
  if (picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height * 4)
    throw PictureError("bitmap: pixel buffer does not match the picture size");
  const std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) / 4 * 4;
  const std::size_t dataSize = stride * picture.height;
  std::vector<std::uint8_t> out(54 + dataSize, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<std::uint32_t>(out.size()));
  Put32(out, 10, 54);
  Put32(out, 14, 40);
  Put32(out, 18, static_cast<std::uint32_t>(picture.width));
  Put32(out, 22, static_cast<std::uint32_t>(picture.height));
  Put16(out, 26, 1);
  Put16(out, 28, 24);
  Put32(out, 34, static_cast<std::uint32_t>(dataSize));
  Put32(out, 38, 2835);  // 72 dpi
  Put32(out, 42, 2835);
  for (int y = 0; y < picture.height; ++y) {
    std::uint8_t* dst = out.data() + 54 + stride * (picture.height - 1 - y);
    for (int x = 0; x < picture.width; ++x) {
      const std::uint8_t* px = picture.At(x, y);
      dst[3 * x] = px[2];
      dst[3 * x + 1] = px[1];
      dst[3 * x + 2] = px[0];
    }
  }
  return out;
}

void WriteBmp(const std::string& path, const Picture& picture) {
  WriteFileBytes(path, EncodeBmp(picture));
}

}  // namespace veltrane::pictures
