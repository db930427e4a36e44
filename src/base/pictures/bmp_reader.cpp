#include "base/pictures/bmp_reader.h"

#include <array>
#include <bit>
#include <cstring>

#include "base/pictures/file_bytes.h"

namespace veltrane::pictures {
namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

std::uint16_t U16(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}
std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8) |
         (static_cast<std::uint32_t>(d[at + 2]) << 16) |
         (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

[[noreturn]] void Fail(const std::string& why) { throw PictureError("bitmap: " + why); }

// One colour channel described by a bit mask, scaled to 0..255.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint64_t max = 0;

  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (mask == 0) return;
    shift = std::countr_zero(mask);
    max = (std::uint64_t{1} << std::popcount(mask)) - 1;
  }
  std::uint8_t Get(std::uint32_t px, std::uint8_t absent) const {
    if (mask == 0) return absent;
    const std::uint64_t v = (px & mask) >> shift;
    return static_cast<std::uint8_t>(std::min<std::uint64_t>(v, max) * 255 / max);
  }
};

struct Header {
  std::int64_t width = 0, height = 0;  // height as stored: negative means top-down
  int bpp = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t offBits = 0;
  std::size_t paletteAt = 0, paletteEntry = 4, paletteCount = 0;
  std::uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
};

Header ParseHeader(std::span<const std::uint8_t> d) {
  if (d.size() < 26) Fail("truncated header");
  if (d[0] != 'B' || d[1] != 'M') Fail("not a bitmap file (no \"BM\" signature)");
  Header h;
  h.offBits = U32(d, 10);
  const std::uint32_t hdrSize = U32(d, 14);
  std::uint32_t clrUsed = 0;
  if (hdrSize == 12) {
    h.width = U16(d, 18);
    h.height = U16(d, 20);
    h.bpp = U16(d, 24);
    h.paletteEntry = 3;
  } else if (hdrSize >= 40 && hdrSize <= 124) {
    if (d.size() < 14 + std::size_t{hdrSize}) Fail("truncated header");
    h.width = static_cast<std::int32_t>(U32(d, 18));
    h.height = static_cast<std::int32_t>(U32(d, 22));
    h.bpp = U16(d, 28);
    h.compression = U32(d, 30);
    clrUsed = U32(d, 46);
  } else {
    Fail("unsupported header size " + std::to_string(hdrSize));
  }
  h.paletteAt = 14 + std::size_t{hdrSize};

  if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
    if (h.bpp != 16 && h.bpp != 32) Fail("bit fields need 16 or 32 bits per pixel");
    const int count = h.compression == kAlphaBitFields ? 4 : 3;
    std::size_t at = 54;
    if (hdrSize == 40) {
      h.paletteAt += 4 * count;  // the masks follow the short header
    } else if (hdrSize < 52) {
      Fail("truncated header");
    }
    if (d.size() < at + 4 * count) Fail("truncated header");
    for (int i = 0; i < count; ++i) h.masks[i] = U32(d, at + 4 * i);
    if (hdrSize >= 56) h.masks[3] = U32(d, 66);
  } else if (h.compression == kRgb) {
    if (h.bpp == 16) {
      h.masks[0] = 0x7C00;
      h.masks[1] = 0x03E0;
      h.masks[2] = 0x001F;
    } else if (h.bpp == 32) {
      // The fourth byte of an uncompressed 32-bit bitmap is unused: the picture is opaque.
      h.masks[0] = 0x00FF0000;
      h.masks[1] = 0x0000FF00;
      h.masks[2] = 0x000000FF;
    } else if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 24) {
      Fail("unsupported depth of " + std::to_string(h.bpp) + " bits per pixel");
    }
  } else if (h.compression == kRle8) {
    if (h.bpp != 8) Fail("RLE8 needs 8 bits per pixel");
  } else if (h.compression == kRle4) {
    if (h.bpp != 4) Fail("RLE4 needs 4 bits per pixel");
  } else {
    Fail("unsupported compression " + std::to_string(h.compression));
  }

  if (h.height == INT32_MIN) Fail("invalid height");
  const std::int64_t rows = h.height < 0 ? -h.height : h.height;
  try {
    CheckPictureSize(h.width, rows);
  } catch (const PictureError& e) {
    Fail(e.what());
  }

  if (h.bpp <= 8) {
    const std::size_t full = std::size_t{1} << h.bpp;
    h.paletteCount = (clrUsed == 0 || clrUsed > full) ? full : clrUsed;
    // Short headers carry no colour count; the pixel data offset tells how many fit.
    if (h.offBits > h.paletteAt)
      h.paletteCount = std::min(h.paletteCount, (h.offBits - h.paletteAt) / h.paletteEntry);
    if (h.paletteAt + h.paletteCount * h.paletteEntry > d.size()) Fail("truncated palette");
  }
  if (h.offBits >= d.size()) Fail("truncated pixel data");
  if (h.compression != kRle8 && h.compression != kRle4) {
    // Checked before anything is allocated, so a short file cannot ask for a large picture.
    const std::uint64_t rowBits = static_cast<std::uint64_t>(h.width) * h.bpp;
    const std::uint64_t stride = (rowBits + 31) / 32 * 4;
    const std::uint64_t lastRow = (rowBits + 7) / 8;  // writers may drop the last padding
    if (h.offBits + stride * static_cast<std::uint64_t>(rows - 1) + lastRow > d.size())
      Fail("truncated pixel data");
  }
  return h;
}

using Palette = std::array<std::array<std::uint8_t, 4>, 256>;

Palette ReadPalette(std::span<const std::uint8_t> d, const Header& h) {
  Palette pal{};
  for (auto& e : pal) e = {0, 0, 0, 255};  // indices past the palette read as black
  for (std::size_t i = 0; i < h.paletteCount; ++i) {
    const std::size_t at = h.paletteAt + i * h.paletteEntry;
    pal[i] = {d[at + 2], d[at + 1], d[at], 255};
  }
  return pal;
}

void PutIndex(Picture& p, int x, int y, const Palette& pal, unsigned index) {
  std::uint8_t* px = p.At(x, y);
  const auto& c = pal[index & 0xFF];
  px[0] = c[0];
  px[1] = c[1];
  px[2] = c[2];
  px[3] = c[3];
}

void DecodeUncompressed(std::span<const std::uint8_t> d, const Header& h, Picture& p) {
  const std::uint64_t rowBits = static_cast<std::uint64_t>(h.width) * h.bpp;
  const std::uint64_t stride = (rowBits + 31) / 32 * 4;

  const Palette pal = ReadPalette(d, h);
  const Channel r(h.masks[0]), g(h.masks[1]), b(h.masks[2]), a(h.masks[3]);
  const bool topDown = h.height < 0;
  for (int row = 0; row < p.height; ++row) {
    const std::uint8_t* src = d.data() + h.offBits + stride * row;
    const int y = topDown ? row : p.height - 1 - row;
    for (int x = 0; x < p.width; ++x) {
      switch (h.bpp) {
        case 1:
          PutIndex(p, x, y, pal, (src[x >> 3] >> (7 - (x & 7))) & 1);
          break;
        case 4:
          PutIndex(p, x, y, pal, (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4));
          break;
        case 8:
          PutIndex(p, x, y, pal, src[x]);
          break;
        case 24: {
          std::uint8_t* px = p.At(x, y);
          px[0] = src[3 * x + 2];
          px[1] = src[3 * x + 1];
          px[2] = src[3 * x];
          px[3] = 255;
          break;
        }
        default: {
          const std::uint32_t v =
              h.bpp == 16 ? static_cast<std::uint32_t>(src[2 * x] | (src[2 * x + 1] << 8))
                          : static_cast<std::uint32_t>(src[4 * x]) |
                                (static_cast<std::uint32_t>(src[4 * x + 1]) << 8) |
                                (static_cast<std::uint32_t>(src[4 * x + 2]) << 16) |
                                (static_cast<std::uint32_t>(src[4 * x + 3]) << 24);
          std::uint8_t* px = p.At(x, y);
          px[0] = r.Get(v, 0);
          px[1] = g.Get(v, 0);
          px[2] = b.Get(v, 0);
          px[3] = a.Get(v, 255);
        }
      }
    }
  }
}

void DecodeRle(std::span<const std::uint8_t> d, const Header& h, Picture& p) {
  const Palette pal = ReadPalette(d, h);
  // Skipped pixels have colour 0. A few bytes of RLE may announce a picture of
  // millions of pixels: fill it in one pass, not pixel by pixel.
  for (std::size_t i = 0; i < p.pixels.size(); i += 4)
    std::memcpy(p.pixels.data() + i, pal[0].data(), 4);

  const bool four = h.compression == kRle4;
  const bool topDown = h.height < 0;
  auto put = [&](std::int64_t x, std::int64_t row, unsigned index) {
    if (x < p.width && row < p.height)
      PutIndex(p, static_cast<int>(x), static_cast<int>(topDown ? row : p.height - 1 - row), pal,
               index);
  };

  std::size_t pos = h.offBits;
  std::int64_t x = 0, row = 0;
  while (row < p.height) {
    if (pos + 2 > d.size()) Fail("truncated RLE data");
    const unsigned count = d[pos], value = d[pos + 1];
    pos += 2;
    if (count > 0) {
      for (unsigned i = 0; i < count; ++i, ++x)
        put(x, row, four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
    } else if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (pos + 2 > d.size()) Fail("truncated RLE data");
      x += d[pos];
      row += d[pos + 1];
      pos += 2;
    } else {
      const std::size_t bytes = four ? (value + 1) / 2 : value;
      if (pos + bytes > d.size()) Fail("truncated RLE data");
      for (unsigned i = 0; i < value; ++i, ++x) {
        const std::uint8_t byte = d[pos + (four ? i / 2 : i)];
        put(x, row, four ? ((i & 1) ? (byte & 0x0F) : (byte >> 4)) : byte);
      }
      pos += bytes + (bytes & 1);  // runs are padded to 16 bits
    }
  }
}

}  // namespace

Picture DecodeBmp(std::span<const std::uint8_t> data) {
  const Header h = ParseHeader(data);
  Picture p;
  p.width = static_cast<int>(h.width);
  p.height = static_cast<int>(h.height < 0 ? -h.height : h.height);
  p.pixels.resize(static_cast<std::size_t>(p.width) * p.height * 4);
  if (h.compression == kRle8 || h.compression == kRle4)
    DecodeRle(data, h, p);
  else
    DecodeUncompressed(data, h, p);
  return p;
}

Picture ReadBmp(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  try {
    return DecodeBmp(bytes);
  } catch (const PictureError& e) {
    throw PictureError(std::string(e.what()) + " in \"" + path + "\"");
  }
}

}  // namespace veltrane::pictures
