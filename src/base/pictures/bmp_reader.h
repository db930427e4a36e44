#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/pictures/picture.h"

namespace veltrane::pictures {

// Windows bitmaps: 1, 4, 8 bit with palette, 16, 24 and 32 bit, uncompressed, bit fields,
// RLE4 and RLE8, bottom-up or top-down. Throws PictureError on anything malformed.
Picture DecodeBmp(std::span<const std::uint8_t> data);
Picture ReadBmp(const std::string& path);

}  // namespace veltrane::pictures
