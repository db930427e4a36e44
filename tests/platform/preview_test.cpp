// The program's preview mode: the pictures the open dialogs show, rendered by
// the program under the test's virtual display.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/pictures/jpeg_codec.h"
#include "support/temp_dir.h"

namespace veltrane::test {
namespace {

namespace fs = std::filesystem;

struct Px {
  int r, g, b;
};

Px At(const pictures::Picture& p, int x, int y) {
  const std::uint8_t* q = p.At(x, y);
  return {q[0], q[1], q[2]};
}

int Distance(Px a, Px b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

class PreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display";
    fs::create_directories(dir_ / "config");
  }

  int Run(const std::string& args, std::string& output) {
    const std::string out = (dir_ / "out.txt").string();
    const std::string cmd = std::string("\"") + VELTRANE_PROGRAM + "\" --config-dir \"" +
                            (dir_ / "config").string() + "\" " + args + " >\"" + out + "\" 2>&1";
    const int status = std::system(cmd.c_str());
    std::ifstream in(out);
    std::stringstream s;
    s << in.rdbuf();
    output = s.str();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path Jpeg() const { return dir_ / "preview.jpg"; }

  test_support::TempDir temp_;
  const fs::path dir_ = temp_.path();
};

std::string Shipped(const std::string& file) { return std::string(VELTRANE_DATA_DIR) + "/" + file; }

TEST_F(PreviewTest, ModelAloneFillsThePictureOnTheBackground) {
  std::string out;
  ASSERT_EQ(
      Run("--model \"" + Shipped("Model/su-26.par") + "\" --preview \"" + Jpeg().string() + "\"",
          out),
      0)
      << out;
  const pictures::Picture p = pictures::ReadJpeg(Jpeg().string());
  ASSERT_EQ(p.width, 256);
  ASSERT_EQ(p.height, 192);

  // The four corners are the plain light background, the same in each.
  const Px bg = At(p, 1, 1);
  EXPECT_GT(bg.r + bg.g + bg.b, 3 * 170);
  EXPECT_LT(std::max({bg.r, bg.g, bg.b}) - std::min({bg.r, bg.g, bg.b}), 20) << "not neutral";
  for (auto [x, y] : {std::pair{p.width - 2, 1}, {1, p.height - 2}, {p.width - 2, p.height - 2}})
    EXPECT_LT(Distance(At(p, x, y), bg), 12) << x << "," << y;

  // The model covers much of the middle and reaches well out to the sides:
  // neither lost off the picture nor a speck in it.
  int middle = 0, inMiddle = 0;
  int minX = p.width, maxX = -1, minY = p.height, maxY = -1;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const bool model = Distance(At(p, x, y), bg) > 40;
      if (x > p.width / 3 && x < 2 * p.width / 3 && y > p.height / 3 && y < 2 * p.height / 3) {
        ++inMiddle;
        middle += model;
      }
      if (!model) continue;
      minX = std::min(minX, x), maxX = std::max(maxX, x);
      minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
  EXPECT_GT(middle, inMiddle / 10);
  EXPECT_TRUE(maxX - minX > p.width * 6 / 10 || maxY - minY > p.height * 6 / 10)
      << minX << ".." << maxX << " x " << minY << ".." << maxY;
  EXPECT_GT(minX, 0);
  EXPECT_LT(maxX, p.width - 1);
  EXPECT_GT(minY, 0);
  EXPECT_LT(maxY, p.height - 1);
}

TEST_F(PreviewTest, LandscapeIsThePilotsViewOfSkyAndGround) {
  std::string out;
  ASSERT_EQ(Run("--landscape \"" + Shipped("Landscape/world.scn") + "\" --preview \"" +
                    Jpeg().string() + "\" --frames 10",
                out),
            0)
      << out;
  const pictures::Picture p = pictures::ReadJpeg(Jpeg().string());
  ASSERT_EQ(p.width, 256);
  ASSERT_EQ(p.height, 256);
  const Px sky = At(p, 128, 10), ground = At(p, 128, 245);
  EXPECT_GT(sky.b, sky.r) << "sky at the top";
  EXPECT_GT(ground.g, ground.r) << "grass at the bottom";
  EXPECT_GT(ground.g, ground.b);
}

TEST_F(PreviewTest, NothingToShowFailsWithoutAPicture) {
  // Flight values without any geometry beside them.
  fs::copy_file(Shipped("Model/su-26.par"), dir_ / "bare.par");
  std::string out;
  EXPECT_NE(
      Run("--model \"" + (dir_ / "bare.par").string() + "\" --preview \"" + Jpeg().string() + "\"",
          out),
      0);
  EXPECT_NE(out.find("preview"), std::string::npos) << out;
  EXPECT_FALSE(fs::exists(Jpeg()));
}

TEST_F(PreviewTest, OnePictureOptionAtATime) {
  std::string out;
  EXPECT_EQ(Run("--preview a.jpg --screenshot b.png", out), 2);
  EXPECT_NE(out.find("--screenshot and --preview"), std::string::npos) << out;
  // The frame options go with --preview as with --screenshot.
  EXPECT_EQ(Run("--preview \"" + Jpeg().string() + "\" --frames 0", out), 2);
  EXPECT_NE(out.find("--frames needs"), std::string::npos) << out;
}

}  // namespace
}  // namespace veltrane::test
