// Properties of the generated content that the program relies on: loopable engine
// sounds, seamless ground tiles, see-through tree backgrounds, picture sizes, and the
// geometry helpers that keep every model part facing outwards.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/rm/backdrop.h"
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
  for (size_t i = 44; i + 1 < b.size(); i += 2) s.push_back(static_cast<std::int16_t>(Le(b, i, 2)));
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

// Pure black texels are see-through where the program shows a picture.
bool SeeThrough(const Bmp& img, int x, int y) {
  const std::uint8_t* p = img.At(x, y);
  return p[0] == 0 && p[1] == 0 && p[2] == 0;
}

// Mean difference per row between columns a and b, over rows from `top` down.
double ColumnDifference(const Bmp& img, int a, int b, int top = 0) {
  double d = 0.0;
  for (int y = top; y < img.h; ++y)
    for (int c = 0; c < 3; ++c) d += std::fabs(double(img.At(a, y)[c]) - img.At(b, y)[c]);
  return d / std::max(1, img.h - top);
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
    auto black = [&](int x, int y) { return SeeThrough(img, x, y); };
    EXPECT_TRUE(black(0, 0) && black(img.w - 1, 0)) << f << ": top corners must be see-through";
    // The trunk at the bottom middle is solid.
    EXPECT_FALSE(black(img.w / 2, img.h - 2)) << f;
    int solid = 0;
    for (int y = 0; y < img.h; ++y)
      for (int x = 0; x < img.w; ++x) solid += !black(x, y);
    EXPECT_GT(solid, img.w * img.h / 5) << f;
  }
}

// Every shipped landscape names a panorama whose land reaches from its bottom
// row up past the horizon in every column: wherever the terrain's edge lies
// below the eye, the picture fills what lies between it and the horizon, and
// no sky (black, see-through) shows there. Where its ends meet, the smooth
// land under the horizon runs on without a step, and above it the step is no
// larger than the common ones between tree crowns and roofs inside the picture.
TEST(Panoramas, LandUnderTheHorizonAllRoundAndTheEndsMeet) {
  namespace fs = std::filesystem;
  const rm::Backdrop band;  // the elevations the program spreads the rows over
  int seen = 0;
  for (const auto& e : fs::directory_iterator(Data("Landscape"))) {
    if (e.path().extension() != ".scn") continue;
    std::ifstream scn(e.path());
    std::string word, name;
    while (scn >> word)
      if (word == "PANORAMA") scn >> name;
    SCOPED_TRACE(e.path().filename().string());
    ASSERT_FALSE(name.empty()) << "no PANORAMA";
    ++seen;
    const Bmp img = ReadBmp("Landscape/" + name + ".bmp");
    ASSERT_GT(img.w, 1) << name;
    // The first row whose upper edge lies at or under the horizon.
    const double rowAngle = double(band.above - band.below) / img.h;
    int horizon = 0;
    while (horizon < img.h && band.above - horizon * rowAngle > 0.0) ++horizon;
    ASSERT_LT(horizon, img.h) << name << ": no row under the horizon";
    int skyBelowHorizon = 0;
    for (int y = horizon; y < img.h; ++y)
      for (int x = 0; x < img.w; ++x) skyBelowHorizon += SeeThrough(img, x, y);
    EXPECT_EQ(skyBelowHorizon, 0) << name;

    std::vector<double> steps;
    double lowMean = 0.0;
    for (int x = 0; x + 1 < img.w; ++x) {
      steps.push_back(ColumnDifference(img, x, x + 1));
      lowMean += ColumnDifference(img, x, x + 1, horizon);
    }
    lowMean /= img.w - 1;
    std::sort(steps.begin(), steps.end());
    EXPECT_LT(ColumnDifference(img, img.w - 1, 0, horizon), 1.5 * lowMean + 1.0) << name;
    EXPECT_LE(ColumnDifference(img, img.w - 1, 0), steps[steps.size() * 99 / 100]) << name;
  }
  EXPECT_GE(seen, 8);
}

TEST(Heightmaps, OnePixelPerTerrainCell) {
  EXPECT_EQ(ReadBmp("Landscape/world.bmp").w, 200);
  EXPECT_EQ(ReadBmp("Landscape/lake.bmp").h, 200);
}

struct JpegInfo {
  bool ok = false;
  int w = 0, h = 0, components = 0;
  std::string error;
};

struct JpegFailure {
  jpeg_error_mgr mgr;
  std::jmp_buf back;
};

// Decodes the whole file, so a truncated or corrupt picture fails here rather
// than in the open dialog.
JpegInfo DecodeJpeg(const std::string& file) {
  JpegInfo info;
  FILE* f = std::fopen(Data(file).c_str(), "rb");
  if (!f) {
    info.error = "missing";
    return info;
  }
  jpeg_decompress_struct c{};
  JpegFailure fail{};
  c.err = jpeg_std_error(&fail.mgr);
  fail.mgr.error_exit = [](j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegFailure*>(cinfo->err)->back, 1);
  };
  jpeg_create_decompress(&c);
  if (setjmp(fail.back)) {
    char text[JMSG_LENGTH_MAX];
    (*c.err->format_message)(reinterpret_cast<j_common_ptr>(&c), text);
    info.error = text;
    jpeg_destroy_decompress(&c);
    std::fclose(f);
    return info;
  }
  jpeg_stdio_src(&c, f);
  jpeg_read_header(&c, TRUE);
  jpeg_start_decompress(&c);
  std::vector<JSAMPLE> row(static_cast<size_t>(c.output_width) * c.output_components);
  while (c.output_scanline < c.output_height) {
    JSAMPROW r = row.data();
    jpeg_read_scanlines(&c, &r, 1);
  }
  jpeg_finish_decompress(&c);
  info = {fail.mgr.num_warnings == 0, static_cast<int>(c.output_width),
          static_cast<int>(c.output_height), c.output_components,
          fail.mgr.num_warnings ? "damaged data" : ""};
  jpeg_destroy_decompress(&c);
  std::fclose(f);
  return info;
}

TEST(Pictures, InfoBoxHasItsSize) {
  const JpegInfo i = DecodeJpeg("InfoBox.jpg");
  ASSERT_TRUE(i.ok) << i.error;
  EXPECT_EQ(i.w, 348);
  EXPECT_EQ(i.h, 204);
}

// Every model and landscape the open dialogs list has a whole colour preview
// of the size the dialog shows.
TEST(Pictures, EveryShippedModelAndLandscapeHasItsPreview) {
  namespace fs = std::filesystem;
  struct Kind {
    const char* folder;
    std::vector<std::string> extensions;
    int w, h;
  };
  const Kind kinds[] = {{"Model", {".par", ".mdl"}, 256, 192}, {"Landscape", {".scn"}, 256, 256}};
  for (const Kind& k : kinds) {
    int seen = 0;
    for (const auto& e : fs::directory_iterator(Data(k.folder))) {
      const fs::path p = e.path();
      if (std::find(k.extensions.begin(), k.extensions.end(), p.extension().string()) ==
          k.extensions.end())
        continue;
      ++seen;
      const std::string preview = std::string(k.folder) + "/" + p.stem().string() + "_prv.jpg";
      const JpegInfo i = DecodeJpeg(preview);
      ASSERT_TRUE(i.ok) << preview << ": " << i.error;
      EXPECT_EQ(i.w, k.w) << preview;
      EXPECT_EQ(i.h, k.h) << preview;
      EXPECT_EQ(i.components, 3) << preview;
    }
    EXPECT_GE(seen, 2) << k.folder;
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
    m.AddLoft(
        {AirfoilRing(0, 0, 0, 0.3, 0.12, 0.0, 9), AirfoilRing(0, side * 1.0, 0, 0.2, 0.12, 0.0, 9)},
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
