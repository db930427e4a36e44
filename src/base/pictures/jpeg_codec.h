#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/pictures/picture.h"

namespace veltrane::pictures {

// Baseline and progressive JPEG in grey, colour or CMYK; the result is opaque RGBA.
// A damaged or truncated stream is an error, not a grey-filled picture.
Picture DecodeJpeg(std::span<const std::uint8_t> data);
Picture ReadJpeg(const std::string& path);

// Colour JPEG of the picture; alpha is dropped. quality 1..100.
std::vector<std::uint8_t> EncodeJpeg(const Picture& picture, int quality = 90);
void WriteJpeg(const std::string& path, const Picture& picture, int quality = 90);

}  // namespace veltrane::pictures
