#pragma once

// Builds Windows bitmap files byte by byte for the reader tests, including layouts that our
// own writer never produces (palettes, bit fields, RLE, top-down, short headers).

#include <cstdint>
#include <vector>

namespace veltrane::pictures::testing {

struct BmpBuilder {
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: top-down
  int bpp = 24;
  std::uint32_t compression = 0;
  std::uint32_t headerSize = 40;
  std::vector<std::uint32_t> palette;   // 0x00RRGGBB
  std::vector<std::uint32_t> masks;     // written after a 40-byte header or into a V4/V5 one
  std::vector<std::uint8_t> pixelData;  // exactly as stored in the file

  std::vector<std::uint8_t> Build() const {
    std::vector<std::uint8_t> out;
    auto u8 = [&](std::uint32_t v) { out.push_back(static_cast<std::uint8_t>(v)); };
    auto u16 = [&](std::uint32_t v) {
      u8(v);
      u8(v >> 8);
    };
    auto u32 = [&](std::uint32_t v) {
      u16(v & 0xFFFF);
      u16(v >> 16);
    };
    const bool core = headerSize == 12;
    const std::size_t maskBytes = headerSize == 40 ? masks.size() * 4 : 0;
    const std::size_t palBytes = palette.size() * (core ? 3 : 4);
    const std::uint32_t off = static_cast<std::uint32_t>(14 + headerSize + maskBytes + palBytes);
    u8('B');
    u8('M');
    u32(static_cast<std::uint32_t>(off + pixelData.size()));
    u32(0);
    u32(off);
    u32(headerSize);
    if (core) {
      u16(static_cast<std::uint32_t>(width));
      u16(static_cast<std::uint32_t>(height));
      u16(1);
      u16(static_cast<std::uint32_t>(bpp));
    } else {
      u32(static_cast<std::uint32_t>(width));
      u32(static_cast<std::uint32_t>(height));
      u16(1);
      u16(static_cast<std::uint32_t>(bpp));
      u32(compression);
      u32(static_cast<std::uint32_t>(pixelData.size()));
      u32(2835);
      u32(2835);
      u32(static_cast<std::uint32_t>(palette.size()));
      u32(0);
      std::size_t written = 40;
      for (std::size_t i = 0; headerSize > 40 && i < 4; ++i, written += 4)
        u32(i < masks.size() ? masks[i] : 0);
      for (; written < headerSize; ++written) u8(0);
      if (headerSize == 40)
        for (auto m : masks) u32(m);
    }
    for (auto c : palette) {
      u8(c);
      u8(c >> 8);
      u8(c >> 16);
      if (!core) u8(0);
    }
    out.insert(out.end(), pixelData.begin(), pixelData.end());
    return out;
  }
};

}  // namespace veltrane::pictures::testing
