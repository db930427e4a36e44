#pragma once

#include <cstdint>
#include <vector>

namespace veltrane::gl {

// The next smaller level of an RGBA8 picture: half its size (a side of one stays one),
// each texel the rounded mean of the 2 x 2 it covers; an odd side's last row or column
// falls out, as in any 2 x 2 box filter.
// Made here because the software rasteriser builds mip levels with a shader of its
// own, whose first compile costs more than a hundred milliseconds of the start.
std::vector<std::uint8_t> HalfLevel(const std::uint8_t* rgba, int width, int height);

// Uploads an RGBA8 picture with all its mip levels to the bound 2D texture.
void UploadWithMipLevels(const std::uint8_t* rgba, int width, int height);

}  // namespace veltrane::gl
