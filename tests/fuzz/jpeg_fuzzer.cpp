// The JPEG picture reader. A decoded picture must hold exactly its pixels.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "base/pictures/jpeg_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrane::pictures;
  try {
    const Picture p = DecodeJpeg(std::span<const std::uint8_t>(data, size));
    if (p.width <= 0 || p.height <= 0 ||
        p.pixels.size() !=
            static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 4)
      std::abort();
  } catch (const PictureError&) {
  }
  return 0;
}
