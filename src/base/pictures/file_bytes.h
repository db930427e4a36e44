#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace veltrane::pictures {

// The whole file, refusing files above maxBytes. Throws PictureError naming the file.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path,
                                        std::uint64_t maxBytes = std::uint64_t{1} << 30);

// Writes through a temporary file and a rename, so a failed write leaves no half file.
void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace veltrane::pictures
