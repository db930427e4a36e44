#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/pictures/picture.h"

namespace veltrane::pictures {

// Uncompressed 24-bit bottom-up Windows bitmap (alpha dropped): what the landscape tools
// write for heightmaps and textures.
std::vector<std::uint8_t> EncodeBmp(const Picture& picture);
void WriteBmp(const std::string& path, const Picture& picture);

}  // namespace veltrane::pictures
