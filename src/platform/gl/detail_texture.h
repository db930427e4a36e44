#pragma once

#include <cstdint>
#include <vector>

namespace veltrane::gl {

// Side of the ground grain picture, in texels.
inline constexpr int kDetailSize = 128;

// RGBA texels of a seamless grain picture, the same on every run: red holds
// blade-sized speckle over tufts, green softer patches; both centre on 128.
std::vector<std::uint8_t> DetailPixels();

// Uploads it with mip levels, repeating; needs a current context. 0 on failure.
unsigned MakeDetailTexture();

}  // namespace veltrane::gl
