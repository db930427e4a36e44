#pragma once

#include <cstdint>
#include <vector>

namespace veltrane::gl {

// Side of the ground grain picture, in texels. Laid over 9 m of ground, one
// texel is about 2 cm: fine enough for the tufts at the pilot's feet, so one
// lookup gives tufts and patches alike (each lookup costs a software
// rasteriser dearly).
inline constexpr int kDetailSize = 512;

// RGBA texels of a seamless grain picture, the same on every run: red holds
// blade-sized speckle over tufts some 8 cm across, green patches of one to two
// metres, blue the grain of sand and rock (grains, stones and ripples); all
// centre on 128.
std::vector<std::uint8_t> DetailPixels();

// Uploads it with mip levels, repeating; needs a current context. 0 on failure.
unsigned MakeDetailTexture();

}  // namespace veltrane::gl
