// Inputs the fuzz harnesses found (also in tests/fuzz/corpus/): each once made
// a reader run out of time or memory.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

#include "base/pictures/bmp_reader.h"
#include "base/pictures/png_codec.h"

namespace veltrane::pictures {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(PictureFuzzFindings, TinyFilesThatAnnounceHugeAmountsAreQuickAndBounded) {
  // 127 bytes of RLE4 announcing 16387 x 2254 pixels: filled in one pass, then refused.
  const std::string rle(
      "\x42\x4D\x76\x00\x00\x00\x00\x00\x00\x00\x76\x00\x00\x00\x28\x00\x00\x00\x03\x40"
      "\x00\x00\x32\xF7\xFF\xFF\x01\x00\x04\x00\x02\x00\x00\x00\x00\x00\x00\x10\x00\x00"
      "\x00\x20\x00\x42\x4D\x46\x01\x00\x0C\x00\x00\x01\x00\x18\x00\xC2\x5F\xF7\x00\x00"
      "\x5E\x5E\x5E\x5E\x5E\x5E\x5E\x5E\x55\x7A\x5E\x5E\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"
      "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x5C\x5E\x5E\x5E\x5E\x5E\x4E\x31\x30\x5F\x5F\x63"
      "\x78\x78\x5E\x5E\x5E\x5E\x5E\x5E\x5E\x5E\x5E\x5E\x00\x00\xD0\x01\x00\x01\x00\x00"
      "\x00\x00\xE0\xF0\x00\x00\x00",
      127);
  // A text chunk announcing 286 MB in a 60-byte file: refused before any allocation.
  const std::string png(
      "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x02"
      "\x00\x00\x00\x01\x08\x06\x00\x00\x00\xF4\x22\x7F\x8A\x11\x11\x11\x11\x7A\x54\x58"
      "\x74\x11\x11\x11\x11\x11\x11\x11\x11\x11\x11\x00\x00\x00\x11\x49\x44\x41\x54\x00",
      60);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(DecodeBmp(Bytes(rle)), PictureError);  // its runs end before the picture does
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  try {
    DecodePng(Bytes(png));
    ADD_FAILURE() << "a chunk longer than the file was read";
  } catch (const PictureError& e) {
    EXPECT_STREQ(e.what(), "PNG: a chunk runs past the end of the file");
  }
}

}  // namespace
}  // namespace veltrane::pictures
