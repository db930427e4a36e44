// Properties of the generated content that the program relies on: loopable engine
// sounds, seamless ground tiles, see-through tree backgrounds, picture sizes, and the
// geometry helpers that keep every model part facing outwards.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "model_writers.h"
#include "shape.h"

namespace veltrane::content {
namespace {

std::string Data(const std::string& f) { return std::string(VELTRANE_DATA_DIR) + "/" + f; }

std::vector<std::uint8_t> ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::uint32_t Le(const std::vector<std::uint8_t>& b, size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

std::vector<int> Samples(const std::string& file) {
  const std::vector<std::uint8_t> b = ReadAll(Data(file));
  EXPECT_GE(b.size(), 44u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
  EXPECT_EQ(Le(b, 20, 2), 1u) << "PCM";
  EXPECT_EQ(Le(b, 34, 2), 16u) << "16 bit";
  std::vector<int> s;
  for (size_t i = 44; i + 1 < b.size(); i += 2)
    s.push_back(static_cast<std::int16_t>(Le(b, i, 2)));
  return s;
}

TEST(EngineSounds, LoopWithoutAClick) {
  for (const char* f : {"motor.wav", "Model/su-26.wav", "Model/heli.wav", "Model/parkflyer.wav"}) {
    const std::vector<int> s = Samples(f);
    ASSERT_GT(s.size(), 10000u) << f;
    double step = 0.0;
    for (size_t i = 1; i < s.size(); ++i) step = std::max(step, std::fabs(double(s[i] - s[i - 1])));
    // The jump from the last sample back to the first is no bigger than any step inside.
    EXPECT_LE(std::fabs(double(s.front() - s.back())), step) << f;
    int peak = 0;
    for (int v : s) peak = std::max(peak, std::abs(v));
    EXPECT_GT(peak, 16000) << f << " is too quiet";
    EXPECT_LT(peak, 32767) << f << " clips";
  }
}

TEST(EngineSounds, CrashSoundFadesOut) {
  const std::vector<int> s = Samples("crash.wav");
  ASSERT_GT(s.size(), 20000u);
  EXPECT_LT(std::abs(s.back()), 50);
}

struct Bmp {
  int w = 0, h = 0;
  std::vector<std::uint8_t> rgb;  // top row first
  const std::uint8_t* At(int x, int y) const { return &rgb[(size_t(y) * w + x) * 3]; }
};

Bmp ReadBmp(const std::string& file) {
  const std::vector<std::uint8_t> b = ReadAll(Data(file));
  Bmp img;
  if (b.size() < 54) return img;
  img.w = static_cast<int>(Le(b, 18, 4));
  img.h = static_cast<int>(Le(b, 22, 4));
  EXPECT_EQ(Le(b, 28, 2), 24u) << file;
  const size_t stride = (size_t(img.w) * 3 + 3) & ~size_t(3);
  img.rgb.resize(size_t(img.w) * img.h * 3);
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x)
      for (int c = 0; c < 3; ++c)
        img.rgb[(size_t(y) * img.w + x) * 3 + c] =
            b[54 + size_t(img.h - 1 - y) * stride + size_t(x) * 3 + (2 - c)];
  return img;
}

double ColumnDifference(const Bmp& img, int a, int b) {
  double d = 0.0;
  for (int y = 0; y < img.h; ++y)
    for (int c = 0; c < 3; ++c) d += std::fabs(double(img.At(a, y)[c]) - img.At(b, y)[c]);
  return d / img.h;
}

TEST(GroundTextures, TileWithoutSeams) {
  for (const char* f : {"Landscape/grass_a.bmp", "Landscape/grass_b.bmp", "Landscape/grass_c.bmp",
                        "Landscape/runway.bmp", "Landscape/field_crop.bmp", "Landscape/water.bmp",
                        "Landscape/sky.bmp"}) {
    const Bmp img = ReadBmp(f);
    ASSERT_EQ(img.w, 256) << f;
    ASSERT_EQ(img.h, 256) << f;
    double inner = 0.0;
    for (int x = 0; x + 1 < img.w; ++x) inner += ColumnDifference(img, x, x + 1);
    inner /= img.w - 1;
    // Wrapping from the right edge to the left looks like any step inside the picture.
    EXPECT_LT(ColumnDifference(img, img.w - 1, 0), 1.5 * inner + 1.0) << f;
  }
}

TEST(TreeTextures, BlackAroundTheTreeOnly) {
  for (const char* f : {"Landscape/tree_pine.bmp", "Landscape/tree_leaf.bmp"}) {
    const Bmp img = ReadBmp(f);
    ASSERT_GT(img.w, 0) << f;
    auto black = [&](int x, int y) {
      const std::uint8_t* p = img.At(x, y);
      return p[0] == 0 && p[1] == 0 && p[2] == 0;
    };
    EXPECT_TRUE(black(0, 0) && black(img.w - 1, 0)) << f << ": top corners must be see-through";
    // The trunk at the bottom middle is solid.
    EXPECT_FALSE(black(img.w / 2, img.h - 2)) << f;
    int solid = 0;
    for (int y = 0; y < img.h; ++y)
      for (int x = 0; x < img.w; ++x) solid += !black(x, y);
    EXPECT_GT(solid, img.w * img.h / 5) << f;
  }
}

TEST(Heightmaps, OnePixelPerTerrainCell) {
  EXPECT_EQ(ReadBmp("Landscape/world.bmp").w, 200);
  EXPECT_EQ(ReadBmp("Landscape/lake.bmp").h, 200);
}

void JpegSize(const std::string& file, int* w, int* h) {
  FILE* f = std::fopen(Data(file).c_str(), "rb");
  ASSERT_NE(f, nullptr) << file;
  jpeg_decompress_struct c{};
  jpeg_error_mgr e{};
  c.err = jpeg_std_error(&e);
  jpeg_create_decompress(&c);
  jpeg_stdio_src(&c, f);
  jpeg_read_header(&c, TRUE);
  *w = static_cast<int>(c.image_width);
  *h = static_cast<int>(c.image_height);
  jpeg_destroy_decompress(&c);
  std::fclose(f);
}

TEST(Pictures, InfoBoxAndPreviewsHaveTheirSizes) {
  int w = 0, h = 0;
  JpegSize("InfoBox.jpg", &w, &h);
  EXPECT_EQ(w, 348);
  EXPECT_EQ(h, 204);
  for (const char* f : {"Model/su-26_prv.jpg", "Model/glider_prv.jpg", "Model/heli_prv.jpg",
                        "Model/trainer_prv.jpg", "Model/parkflyer_prv.jpg",
                        "Landscape/world_prv.jpg", "Landscape/lake_prv.jpg"}) {
    JpegSize(f, &w, &h);
    EXPECT_GT(w, 100) << f;
    EXPECT_GT(h, 100) << f;
  }
}

TEST(Shapes, PartsGivenClockwiseAreTurnedToFaceOutwards) {
  Model m;
  const int c = m.Color({1, 0, 0, 1, "red"});
  m.AddBox({0, 0, 0}, {1, 2, 3}, c);
  EXPECT_NEAR(SignedVolume(m.faces), 6.0, 1e-12);
  // The same box with every face turned round, and a loft running the other way.
  Model r;
  std::vector<Face> flipped = m.faces;
  for (Face& f : flipped) std::reverse(f.corners.begin(), f.corners.end());
  ASSERT_LT(SignedVolume(flipped), 0.0);
  r.AddClosed(flipped);
  EXPECT_NEAR(SignedVolume(r.faces), 6.0, 1e-12);
  Model l;
  l.AddLoft({EllipseRing(1.0, 0.0, 0.5, 0.5, 32), EllipseRing(0.0, 0.0, 0.5, 0.5, 32)}, c);
  EXPECT_NEAR(SignedVolume(l.faces), 3.14159 * 0.25, 0.01) << "a cylinder of radius 0.5";
}

TEST(Shapes, MirroredWingHalvesBothFaceOutwards) {
  Model m;
  const int c = m.Color({1, 1, 1, 1, "white"});
  for (int side : {1, -1})
    m.AddLoft({AirfoilRing(0, 0, 0, 0.3, 0.12, 0.0, 9), AirfoilRing(0, side * 1.0, 0, 0.2, 0.12, 0.0, 9)},
              c);
  const size_t half = m.faces.size() / 2;
  std::vector<Face> right(m.faces.begin(), m.faces.begin() + half);
  std::vector<Face> left(m.faces.begin() + half, m.faces.end());
  EXPECT_GT(SignedVolume(right), 0.0);
  EXPECT_GT(SignedVolume(left), 0.0);
  EXPECT_NEAR(SignedVolume(right), SignedVolume(left), 1e-9);
}

TEST(Numbers, UseAPointAndNoTrailingZeros) {
  EXPECT_EQ(Num(1.5), "1.5");
  EXPECT_EQ(Num(2.0), "2");
  EXPECT_EQ(Num(-0.00001), "0");
  EXPECT_EQ(Num(0.12345, 3), "0.123");
  EXPECT_EQ(Num(-12.25, 1), "-12.2");
}

}  // namespace
}  // namespace veltrane::content
