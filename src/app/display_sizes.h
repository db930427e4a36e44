#pragma once

#include <array>

namespace veltrane {

struct FullScreenSize {
  int width;
  int height;
};

// The full-screen sizes the resolution menu offers.
inline constexpr std::array<FullScreenSize, 7> kFullScreenSizes{
    {{320, 240}, {512, 384}, {640, 480}, {800, 600}, {1024, 768}, {1280, 1024}, {1600, 1200}}};

}  // namespace veltrane
