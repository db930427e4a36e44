#include "base/pictures/bmp_reader.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/pictures/bmp_writer.h"
#include "pictures/bmp_builder.h"

namespace veltrane::pictures {
namespace {

using testing::BmpBuilder;

// Packs per-pixel values into padded rows in file order (bottom row first unless top-down).
std::vector<std::uint8_t> PackRows(int width, int height, int bpp, bool topDown,
                                   const std::function<std::uint32_t(int, int)>& value) {
  const std::size_t stride = (static_cast<std::size_t>(width) * bpp + 31) / 32 * 4;
  std::vector<std::uint8_t> data(stride * height, 0);
  for (int row = 0; row < height; ++row) {
    const int y = topDown ? row : height - 1 - row;
    std::uint8_t* dst = data.data() + stride * row;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t v = value(x, y);
      if (bpp < 8) {
        const int bit = x * bpp;
        dst[bit / 8] |= static_cast<std::uint8_t>(v << (8 - bpp - bit % 8));
      } else {
        for (int b = 0; b < bpp / 8; ++b)
          dst[x * bpp / 8 + b] = static_cast<std::uint8_t>(v >> (8 * b));
      }
    }
  }
  return data;
}

void ExpectPixel(const Picture& p, int x, int y, std::uint32_t rgb, std::uint8_t alpha = 255) {
  const std::uint8_t* px = p.At(x, y);
  EXPECT_EQ(px[0], (rgb >> 16) & 0xFF) << "red at " << x << "," << y;
  EXPECT_EQ(px[1], (rgb >> 8) & 0xFF) << "green at " << x << "," << y;
  EXPECT_EQ(px[2], rgb & 0xFF) << "blue at " << x << "," << y;
  EXPECT_EQ(px[3], alpha) << "alpha at " << x << "," << y;
}

const std::vector<std::uint32_t> kColours = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080, 0x123456, 0xFEDCBA,
    0x7F0000, 0x007F00, 0x00007F, 0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0};

// Odd widths exercise the row padding and the partial last byte of packed depths.
TEST(BmpReader, PalettedDepthsBothOrientations) {
  for (int bpp : {1, 4, 8}) {
    for (bool topDown : {false, true}) {
      const int colours = bpp == 1 ? 2 : 16;
      const int w = 7, h = 3;
      auto index = [&](int x, int y) { return static_cast<std::uint32_t>((x + 3 * y) % colours); };
      BmpBuilder b;
      b.width = w;
      b.height = topDown ? -h : h;
      b.bpp = bpp;
      b.palette.assign(kColours.begin(), kColours.begin() + colours);
      b.pixelData = PackRows(w, h, bpp, topDown, index);
      const Picture p = DecodeBmp(b.Build());
      ASSERT_EQ(p.width, w);
      ASSERT_EQ(p.height, h);
      SCOPED_TRACE("bpp " + std::to_string(bpp) + (topDown ? " top-down" : " bottom-up"));
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ExpectPixel(p, x, y, kColours[index(x, y)]);
    }
  }
}

TEST(BmpReader, TrueColourDepthsBothOrientations) {
  auto colour = [](int x, int y) { return kColours[(x * 5 + y * 3) % kColours.size()]; };
  for (bool topDown : {false, true}) {
    const int w = 5, h = 4;
    BmpBuilder b24;
    b24.width = w;
    b24.height = topDown ? -h : h;
    b24.bpp = 24;
    b24.pixelData = PackRows(w, h, 24, topDown, colour);
    const Picture p24 = DecodeBmp(b24.Build());

    // The unused fourth byte of 32-bit pixels must not become alpha.
    BmpBuilder b32 = b24;
    b32.bpp = 32;
    b32.pixelData = PackRows(w, h, 32, topDown, [&](int x, int y) { return colour(x, y); });

    BmpBuilder b16 = b24;  // 5-5-5: values chosen so the 5-bit channels scale back exactly
    b16.bpp = 16;
    b16.pixelData = PackRows(w, h, 16, topDown, [&](int x, int y) {
      const std::uint32_t c = static_cast<std::uint32_t>(x * 7 + y * 3) % 32;
      return (c << 10) | ((31 - c) << 5) | c;
    });
    const Picture p32 = DecodeBmp(b32.Build());
    const Picture p16 = DecodeBmp(b16.Build());
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        ExpectPixel(p24, x, y, colour(x, y));
        ExpectPixel(p32, x, y, colour(x, y));
        const std::uint32_t c = static_cast<std::uint32_t>(x * 7 + y * 3) % 32;
        const std::uint32_t s = c * 255 / 31, t = (31 - c) * 255 / 31;
        ExpectPixel(p16, x, y, (s << 16) | (t << 8) | s);
      }
    }
  }
}

TEST(BmpReader, BitFieldsWithAndWithoutAlphaMask) {
  BmpBuilder b565;
  b565.width = 2;
  b565.height = 1;
  b565.bpp = 16;
  b565.compression = 3;
  b565.masks = {0xF800, 0x07E0, 0x001F};
  b565.pixelData = {0x00, 0xF8, 0xE0, 0x07};  // pure red, pure green
  const Picture p = DecodeBmp(b565.Build());
  ExpectPixel(p, 0, 0, 0xFF0000);
  ExpectPixel(p, 1, 0, 0x00FF00);

  BmpBuilder v5;
  v5.width = 1;
  v5.height = -2;
  v5.bpp = 32;
  v5.compression = 3;
  v5.headerSize = 124;
  v5.masks = {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF};  // unusual order, real alpha
  v5.pixelData = {0x80, 0x11, 0x22, 0x33, 0x00, 0xFF, 0x00, 0x00};
  const Picture q = DecodeBmp(v5.Build());
  ExpectPixel(q, 0, 0, 0x112233, 0x80);
  ExpectPixel(q, 0, 1, 0xFF0000, 0x00);
}

TEST(BmpReader, CoreHeaderWithThreeBytePalette) {
  BmpBuilder b;
  b.headerSize = 12;
  b.width = 3;
  b.height = 1;
  b.bpp = 8;
  b.palette = {0x102030, 0x405060, 0x708090};
  b.pixelData = {2, 1, 0, 0};
  const Picture p = DecodeBmp(b.Build());
  ExpectPixel(p, 0, 0, 0x708090);
  ExpectPixel(p, 1, 0, 0x405060);
  ExpectPixel(p, 2, 0, 0x102030);
}

TEST(BmpReader, RunLengthEncoded) {
  BmpBuilder r8;
  r8.width = 4;
  r8.height = 2;
  r8.bpp = 8;
  r8.compression = 1;
  r8.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  // Bottom row: run of three 1s, absolute 3 (padded); end of line.
  // Top row: delta right 2, run of two 2s; end of bitmap.
  r8.pixelData = {3, 1, 0, 3, 0, 0, 0, 0, 0, 0, 0, 2, 2, 0, 2, 2, 0, 1};
  const Picture p = DecodeBmp(r8.Build());
  ExpectPixel(p, 0, 1, 0xFF0000);
  ExpectPixel(p, 2, 1, 0xFF0000);
  ExpectPixel(p, 3, 1, 0x000000);
  ExpectPixel(p, 0, 0, 0x000000);  // skipped by the delta
  ExpectPixel(p, 2, 0, 0x00FF00);
  ExpectPixel(p, 3, 0, 0x00FF00);

  BmpBuilder r4 = r8;
  r4.bpp = 4;
  r4.compression = 2;
  // One row: run of 3 alternating 1,2; absolute 3 pixels 3,0,3 (2 bytes, padded to 2).
  r4.width = 6;
  r4.height = 1;
  r4.pixelData = {3, 0x12, 0, 3, 0x30, 0x30, 0, 1};
  const Picture q = DecodeBmp(r4.Build());
  const std::uint32_t want[] = {0xFF0000, 0x00FF00, 0xFF0000, 0x0000FF, 0x000000, 0x0000FF};
  for (int x = 0; x < 6; ++x) ExpectPixel(q, x, 0, want[x]);

  // Runs that overflow the row are clipped rather than written past the picture.
  BmpBuilder wide = r8;
  wide.pixelData = {255, 1, 255, 1, 0, 1};
  EXPECT_NO_THROW(DecodeBmp(wide.Build()));
}

TEST(BmpReader, WriterRoundTrip) {
  Picture p = MakePicture(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      std::uint8_t* px = p.At(x, y);
      px[0] = static_cast<std::uint8_t>(40 * x);
      px[1] = static_cast<std::uint8_t>(100 * y);
      px[2] = static_cast<std::uint8_t>(x + y);
    }
  const Picture q = DecodeBmp(EncodeBmp(p));
  EXPECT_EQ(q.width, 3);
  EXPECT_EQ(q.height, 2);
  EXPECT_EQ(q.pixels, p.pixels);
}

void ExpectRejected(const std::vector<std::uint8_t>& bytes, const std::string& fragment) {
  try {
    DecodeBmp(bytes);
    ADD_FAILURE() << "accepted a bad bitmap, expected: " << fragment;
  } catch (const PictureError& e) {
    EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
  }
}

TEST(BmpReader, RejectsBadFiles) {
  BmpBuilder good;
  good.width = 4;
  good.height = 4;
  good.bpp = 24;
  good.pixelData = PackRows(4, 4, 24, false, [](int, int) { return 0x123456u; });
  const auto bytes = good.Build();
  ASSERT_NO_THROW(DecodeBmp(bytes));

  ExpectRejected({}, "truncated header");
  ExpectRejected({'B', 'M', 0, 0}, "truncated header");
  auto notBmp = bytes;
  notBmp[0] = 'X';
  ExpectRejected(notBmp, "signature");
  ExpectRejected(std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 13),
                 "truncated pixel data");
  ExpectRejected(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 40), "truncated header");

  auto sized = [&](std::int32_t w, std::int32_t h) {
    BmpBuilder b = good;
    b.width = w;
    b.height = h;
    return b.Build();
  };
  ExpectRejected(sized(2000000000, 4), "too large");
  ExpectRejected(sized(4, 2000000000), "too large");
  ExpectRejected(sized(30000, 30000), "too large");
  ExpectRejected(sized(1000, 1000), "truncated pixel data");  // plausible size, no data
  ExpectRejected(sized(0, 4), "empty");
  ExpectRejected(sized(4, 0), "empty");
  ExpectRejected(sized(-4, 4), "empty");
  ExpectRejected(sized(4, INT32_MIN), "invalid height");

  BmpBuilder depth = good;
  depth.bpp = 2;
  ExpectRejected(depth.Build(), "unsupported depth");
  BmpBuilder comp = good;
  comp.compression = 4;  // embedded JPEG
  ExpectRejected(comp.Build(), "unsupported compression");
  BmpBuilder hdr = good;
  hdr.headerSize = 20;
  ExpectRejected(hdr.Build(), "unsupported header size");

  BmpBuilder pal;
  pal.width = 2;
  pal.height = 1;
  pal.bpp = 8;
  pal.palette = {0, 0, 0};
  pal.pixelData = {0, 1, 2, 0};
  auto shortPal = pal.Build();
  shortPal.resize(14 + 40 + 5);
  ExpectRejected(shortPal, "truncated palette");

  BmpBuilder rle;
  rle.width = 4;
  rle.height = 4;
  rle.bpp = 8;
  rle.compression = 1;
  rle.palette = {0, 0xFFFFFF};
  rle.pixelData = {4, 1, 0, 0, 4, 1};  // two rows, then the data stops
  ExpectRejected(rle.Build(), "truncated RLE data");
  rle.pixelData = {0, 5, 1, 1};  // absolute run longer than the data
  ExpectRejected(rle.Build(), "truncated RLE data");
  BmpBuilder rleDepth = rle;
  rleDepth.bpp = 4;
  ExpectRejected(rleDepth.Build(), "RLE8 needs 8 bits");
}

TEST(BmpReader, FileErrorsNameTheFile) {
  try {
    ReadBmp("/nonexistent/folder/height.bmp");
    ADD_FAILURE() << "read a missing file";
  } catch (const PictureError& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent/folder/height.bmp"), std::string::npos);
  }
}

}  // namespace
}  // namespace veltrane::pictures

namespace veltrane::pictures {
namespace {

// Every cut and a run of seeded random damage: the reader throws PictureError or returns a
// picture of the declared size, and never reads outside the data (checked under the sanitizers).
TEST(BmpReader, DamagedFilesNeverCrash) {
  std::vector<std::vector<std::uint8_t>> files;
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    BmpBuilder b;
    b.width = 5;
    b.height = bpp % 3 == 0 ? -3 : 3;
    b.bpp = bpp;
    if (bpp <= 8) b.palette.assign(std::size_t{1} << bpp, 0x336699);
    b.pixelData = PackRows(5, 3, bpp, b.height < 0, [](int x, int y) { return x * 3u + y; });
    files.push_back(b.Build());
  }
  BmpBuilder rle;
  rle.width = 8;
  rle.height = 4;
  rle.bpp = 8;
  rle.compression = 1;
  rle.palette = {0, 0xFF, 0xFF00};
  rle.pixelData = {8, 1, 0, 0, 0, 4, 1, 2, 1, 2, 0, 0, 0, 2, 3, 1, 2, 2, 0, 1};
  files.push_back(rle.Build());

  auto decode = [](const std::vector<std::uint8_t>& bytes) {
    try {
      const Picture p = DecodeBmp(bytes);
      ASSERT_EQ(p.pixels.size(), static_cast<std::size_t>(p.width) * p.height * 4);
    } catch (const PictureError&) {
    }
  };
  std::uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  for (const auto& file : files) {
    for (std::size_t n = 0; n < file.size(); ++n)
      decode(
          std::vector<std::uint8_t>(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n)));
    for (int round = 0; round < 300; ++round) {
      auto bad = file;
      for (int k = 0; k < 3; ++k)
        bad[next() % bad.size()] = static_cast<std::uint8_t>(next() >> 24);
      decode(bad);
    }
  }
}

}  // namespace
}  // namespace veltrane::pictures
