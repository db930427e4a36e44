// Grey and CMYK JPEGs, which our own writer never produces, written here with libjpeg itself.

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/pictures/jpeg_codec.h"

namespace veltrane::pictures {
namespace {

std::vector<std::uint8_t> Compress(int w, int h, int components, J_COLOR_SPACE space,
                                   const std::vector<std::uint8_t>& samples) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(w);
  cinfo.image_height = static_cast<JDIMENSION>(h);
  cinfo.input_components = components;
  cinfo.in_color_space = space;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  if (space == JCS_CMYK) cinfo.write_Adobe_marker = TRUE;
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data() + cinfo.next_scanline * w * components);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

TEST(JpegColourSpaces, GreyBecomesEqualChannels) {
  std::vector<std::uint8_t> grey(16 * 8);
  for (std::size_t i = 0; i < grey.size(); ++i) grey[i] = static_cast<std::uint8_t>(i % 16 * 16);
  const Picture p = DecodeJpeg(Compress(16, 8, 1, JCS_GRAYSCALE, grey));
  ASSERT_EQ(p.width, 16);
  ASSERT_EQ(p.height, 8);
  for (int x = 0; x < 16; ++x) {
    const std::uint8_t* px = p.At(x, 3);
    EXPECT_EQ(px[0], px[1]);
    EXPECT_EQ(px[1], px[2]);
    EXPECT_NEAR(px[0], x * 16, 6);
    EXPECT_EQ(px[3], 255);
  }
}

TEST(JpegColourSpaces, InvertedCmykBecomesRgb) {
  // Stored as Adobe does: 255 means no ink. Pure cyan ink gives (0, 255, 255).
  std::vector<std::uint8_t> cmyk;
  for (int i = 0; i < 8 * 8; ++i) cmyk.insert(cmyk.end(), {0, 255, 255, 255});
  const Picture p = DecodeJpeg(Compress(8, 8, 4, JCS_CMYK, cmyk));
  const std::uint8_t* px = p.At(4, 4);
  EXPECT_LT(px[0], 8);
  EXPECT_GT(px[1], 247);
  EXPECT_GT(px[2], 247);
  EXPECT_EQ(px[3], 255);
}

}  // namespace
}  // namespace veltrane::pictures
