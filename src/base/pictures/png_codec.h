#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/pictures/picture.h"

namespace veltrane::pictures {

// RGBA PNG of the picture (screenshots keep their alpha).
std::vector<std::uint8_t> EncodePng(const Picture& picture);
void WritePng(const std::string& path, const Picture& picture);

// Any PNG, expanded to RGBA8 (16-bit channels are cut to 8, grey and palettes expanded).
Picture DecodePng(std::span<const std::uint8_t> data);
Picture ReadPng(const std::string& path);

}  // namespace veltrane::pictures
