#include "base/pictures/picture_file.h"

#include "base/pictures/bmp_reader.h"
#include "base/pictures/file_bytes.h"
#include "base/pictures/jpeg_codec.h"
#include "base/pictures/png_codec.h"

namespace veltrane::pictures {

Picture LoadPicture(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  try {
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return DecodeBmp(bytes);
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
      return DecodeJpeg(bytes);
    if (bytes.size() >= 8 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' &&
        bytes[3] == 'G')
      return DecodePng(bytes);
    throw PictureError("unknown picture format");
  } catch (const PictureError& e) {
    throw PictureError(std::string(e.what()) + " in \"" + path + "\"");
  }
}

std::optional<rm::Picture> LoadTexturePicture(const std::string& path) {
  try {
    Picture p = LoadPicture(path);
    return rm::Picture{p.width, p.height, std::move(p.pixels)};
  } catch (const PictureError&) {
    return std::nullopt;
  }
}

}  // namespace veltrane::pictures
