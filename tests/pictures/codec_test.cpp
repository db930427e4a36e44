#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "base/pictures/bmp_writer.h"
#include "base/pictures/file_bytes.h"
#include "base/pictures/jpeg_codec.h"
#include "base/pictures/picture_file.h"
#include "base/pictures/png_codec.h"
#include "support/temp_dir.h"

namespace veltrane::pictures {
namespace {

namespace fs = std::filesystem;

// Smooth gradients survive lossy compression within a few grey levels.
Picture Gradient(int w, int h) {
  Picture p = MakePicture(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t* px = p.At(x, y);
      px[0] = static_cast<std::uint8_t>(x * 255 / (w - 1));
      px[1] = static_cast<std::uint8_t>(y * 255 / (h - 1));
      px[2] = static_cast<std::uint8_t>(128);
      px[3] = static_cast<std::uint8_t>((x + y) % 256);
    }
  return p;
}

int MaxColourDifference(const Picture& a, const Picture& b) {
  int worst = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) {
    if (i % 4 == 3) continue;
    worst = std::max(worst, std::abs(int{a.pixels[i]} - int{b.pixels[i]}));
  }
  return worst;
}

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const PictureError& e) {
    return e.what();
  }
  return "";
}

TEST(JpegCodec, RoundTripThroughFile) {
  test_support::TempDir dir;
  const Picture p = Gradient(64, 48);
  WriteJpeg(dir.File("preview_prv.jpg"), p, 95);
  const Picture q = ReadJpeg(dir.File("preview_prv.jpg"));
  ASSERT_EQ(q.width, 64);
  ASSERT_EQ(q.height, 48);
  EXPECT_LE(MaxColourDifference(p, q), 12);
  for (std::size_t i = 3; i < q.pixels.size(); i += 4) ASSERT_EQ(q.pixels[i], 255);
  // The picture's content, not a grey stand-in: corners keep their gradient ends.
  EXPECT_LT(q.At(0, 0)[0], 20);
  EXPECT_GT(q.At(63, 0)[0], 235);
  EXPECT_GT(q.At(0, 47)[1], 235);
}

TEST(JpegCodec, RejectsDamagedStreams) {
  const auto good = EncodeJpeg(Gradient(64, 64), 90);
  ASSERT_NO_THROW(DecodeJpeg(good));

  EXPECT_NE(ErrorOf([&] { DecodeJpeg(std::span<const std::uint8_t>()); }), "");
  const std::vector<std::uint8_t> garbage(200, 0x5A);
  EXPECT_NE(ErrorOf([&] { DecodeJpeg(garbage); }), "");
  // Cut in the middle of the entropy-coded data: an error, not a half-grey picture.
  const std::vector<std::uint8_t> half(good.begin(), good.begin() + good.size() / 2);
  EXPECT_NE(ErrorOf([&] { DecodeJpeg(half); }).find("JPEG"), std::string::npos);
  const std::vector<std::uint8_t> headerOnly(good.begin(), good.begin() + 20);
  EXPECT_NE(ErrorOf([&] { DecodeJpeg(headerOnly); }), "");

  // A frame header claiming 60000 x 60000 is refused before anything is allocated.
  auto huge = good;
  for (std::size_t i = 0; i + 8 < huge.size(); ++i) {
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      huge[i + 5] = 0xEA;  // height 0xEA60 = 60000
      huge[i + 6] = 0x60;
      huge[i + 7] = 0xEA;  // width
      huge[i + 8] = 0x60;
      break;
    }
  }
  EXPECT_NE(ErrorOf([&] { DecodeJpeg(huge); }).find("too large"), std::string::npos);
}

TEST(JpegCodec, EncoderChecksItsInput) {
  Picture bad;
  bad.width = 4;
  bad.height = 4;
  bad.pixels.resize(10);
  EXPECT_NE(ErrorOf([&] { EncodeJpeg(bad); }), "");
  EXPECT_NE(ErrorOf([&] { EncodeJpeg(Picture{}); }).find("empty"), std::string::npos);
}

TEST(PngCodec, RoundTripKeepsEveryByteAndAlpha) {
  test_support::TempDir dir;
  const Picture p = Gradient(33, 17);
  WritePng(dir.File("shot.png"), p);
  const Picture q = ReadPng(dir.File("shot.png"));
  EXPECT_EQ(q.width, 33);
  EXPECT_EQ(q.height, 17);
  EXPECT_EQ(q.pixels, p.pixels);
  EXPECT_FALSE(fs::exists(dir.File("shot.png.tmp")));
}

TEST(PngCodec, RejectsDamagedStreams) {
  const auto good = EncodePng(Gradient(40, 40));
  EXPECT_NE(ErrorOf([&] { DecodePng(std::vector<std::uint8_t>(good.begin(), good.begin() + 30)); }),
            "");
  EXPECT_NE(ErrorOf([&] { DecodePng(std::vector<std::uint8_t>(good.begin(), good.end() - 30)); }),
            "");
  EXPECT_NE(ErrorOf([&] { DecodePng(std::vector<std::uint8_t>(10, 0)); }).find("not a PNG"),
            std::string::npos);
}

TEST(PngCodec, WriteToMissingFolderFails) {
  EXPECT_NE(ErrorOf([] {
              WritePng("/nonexistent/folder/shot.png", MakePicture(2, 2));
            }).find("/nonexistent/folder/shot.png"),
            std::string::npos);
}

TEST(PictureFile, ChoosesTheDecoderByContentNotName) {
  test_support::TempDir dir;
  const Picture p = Gradient(8, 8);
  // Landscape files name ".bmp" pictures that may really hold another format.
  WriteFileBytes(dir.File("a.bmp"), EncodePng(p));
  WriteFileBytes(dir.File("b.bmp"), EncodeJpeg(p, 90));
  WriteFileBytes(dir.File("c.jpg"), EncodeBmp(p));
  WriteFileBytes(dir.File("d.bmp"), {'G', 'I', 'F', '8', '9', 'a'});
  EXPECT_EQ(LoadPicture(dir.File("a.bmp")).pixels, p.pixels);
  EXPECT_EQ(LoadPicture(dir.File("b.bmp")).width, 8);
  const Picture c = LoadPicture(dir.File("c.jpg"));
  EXPECT_EQ(MaxColourDifference(c, p), 0);
  const std::string err = ErrorOf([&] { LoadPicture(dir.File("d.bmp")); });
  EXPECT_NE(err.find("unknown picture format"), std::string::npos);
  EXPECT_NE(err.find("d.bmp"), std::string::npos);
  EXPECT_NE(ErrorOf([&] { LoadPicture(dir.File("missing.bmp")); }).find("cannot open"),
            std::string::npos);
}

}  // namespace
}  // namespace veltrane::pictures

namespace veltrane::pictures {
namespace {

TEST(Codecs, EveryTruncationIsRejectedCleanly) {
  const Picture p = Gradient(24, 16);
  const auto jpeg = EncodeJpeg(p, 80);
  const auto png = EncodePng(p);
  for (std::size_t n = 0; n < jpeg.size(); ++n)
    EXPECT_THROW(DecodeJpeg(std::span(jpeg.data(), n)), PictureError) << n;
  for (std::size_t n = 0; n < png.size(); ++n) {
    // The final chunk carries no pixels; losing only it may still decode.
    try {
      const Picture q = DecodePng(std::span(png.data(), n));
      EXPECT_EQ(q.pixels, p.pixels) << n;
    } catch (const PictureError&) {
    }
  }
}

}  // namespace
}  // namespace veltrane::pictures
