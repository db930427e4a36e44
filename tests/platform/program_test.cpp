// The program itself, run as users run it, under the test's virtual display.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/pictures/png_codec.h"
#include "support/temp_dir.h"

namespace veltrane::test {
namespace {

namespace fs = std::filesystem;

struct Px {
  int r, g, b;
  int Sum() const { return r + g + b; }
  bool Greenish() const { return g > r && g > b; }
};

Px At(const pictures::Picture& p, int x, int y) {
  const std::uint8_t* q = p.At(x, y);
  return {q[0], q[1], q[2]};
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display";
    fs::create_directories(dir_ / "config");
  }

  // Settings the program starts from, as lines of the main window's section.
  void Settings(const std::string& mainFormLines) {
    std::ofstream(dir_ / "config" / "settings.ini") << "[MainForm]\n" << mainFormLines;
  }
  std::string ReadSettings() const {
    std::ifstream in(dir_ / "config" / "settings.ini");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  int Run(const std::string& args, std::string* output = nullptr) {
    std::string out = (dir_ / "out.txt").string();
    std::string cmd = std::string("\"") + VELTRANE_PROGRAM + "\" --config-dir \"" +
                      (dir_ / "config").string() + "\" " + args + " >\"" + out + "\" 2>&1";
    int status = std::system(cmd.c_str());
    if (output) {
      std::ifstream in(out);
      std::stringstream s;
      s << in.rdbuf();
      *output = s.str();
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  pictures::Picture Shot(const std::string& extra = "", int frames = 30) {
    fs::path png = dir_ / "shot.png";
    fs::remove(png);
    std::string out;
    int rc = Run(
        "--screenshot \"" + png.string() + "\" --frames " + std::to_string(frames) + " " + extra,
        &out);
    EXPECT_EQ(rc, 0) << out;
    if (rc != 0 || !fs::exists(png)) return {};
    return pictures::ReadPng(png.string());
  }

  test_support::TempDir temp_;
  const fs::path dir_ = temp_.path();
};

const std::string kData = VELTRANE_DATA_DIR;

// The default model on the default landscape from the pilot's place, as the
// renderer drew it before it skipped unseen geometry and packed its vertices.
// Skipping may change nothing a pilot sees: the pictures differ by little on
// average, and no ground turns into sky (a hole or crack in the terrain).
TEST_F(ProgramTest, StandingViewLooksAsBeforeWithoutHolesInTheGround) {
  Settings("Width=640\nHeight=480\nFirstFlightHelpShown=1\n");
  pictures::Picture now = Shot("", 3);
  const pictures::Picture ref =
      pictures::ReadPng(std::string(VELTRANE_TEST_DATA) + "/standing_view_640x480.png");
  ASSERT_EQ(now.width, ref.width);
  ASSERT_EQ(now.height, ref.height);
  auto sky = [](Px p) { return p.b > p.g && p.b > p.r; };
  double difference = 0;
  int holes = 0;
  for (int x = 0; x < ref.width; ++x) {
    bool ground = false;
    for (int y = 0; y < ref.height; ++y) {
      const Px r = At(ref, x, y), p = At(now, x, y);
      difference += std::abs(r.r - p.r) + std::abs(r.g - p.g) + std::abs(r.b - p.b);
      // A few rows of grace at the horizon, where a distant hill may change its outline.
      static constexpr int kHorizonRows = 3;
      if (!ground && r.Greenish() && y + kHorizonRows < ref.height &&
          At(ref, x, y + kHorizonRows).Greenish())
        ground = true, y += kHorizonRows;
      else if (ground && r.Greenish() && sky(p))
        ++holes;
    }
  }
  difference /= 3.0 * ref.width * ref.height;
  EXPECT_LT(difference, 1.5) << "mean absolute difference per channel";
  EXPECT_EQ(holes, 0) << "pixels of the ground that show the sky";
}

TEST_F(ProgramTest,
       TheLandscapeReadWhileTheStartScreenShowsTracesInItsOwnPlaceAndTheStagesAreTimed) {
  const std::string trace = (dir_ / "trace.txt").string();
  Shot("--trace \"" + trace + "\"", 1);
  std::ifstream in(trace);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  auto at = [&](const std::string& start) {
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i].rfind(start, 0) == 0) return static_cast<int>(i);
    return -1;
  };
  const int frame = at("TMainForm.DXDrawInitialize CreateWorldFrame");
  const int scn = at("LoadLib.LoadSCN File: ");
  const int sky = at("LoadLib.LoadSCN.AddSky");
  const int built = at("Startup landscape and collision model built: ");
  const int shadow = at("TMainForm.DXDrawInitialize CreateShadow");
  ASSERT_GE(frame, 0);
  EXPECT_LT(frame, scn);
  EXPECT_LT(scn, sky);
  EXPECT_LT(sky, built);
  EXPECT_LT(built, shadow);
  int last = -1;
  for (const char* stage : {"window open", "interface ready", "landscape and collision model built",
                            "model loaded", "first scene frame"}) {
    const int i = at(std::string("Startup ") + stage + ": ");
    EXPECT_GT(i, last) << stage;
    last = i;
  }
}

TEST_F(ProgramTest, HelpVersionAndBadArguments) {
  std::string out;
  EXPECT_EQ(Run("--help", &out), 0);
  EXPECT_NE(out.find("--screenshot FILE"), std::string::npos);
  EXPECT_EQ(Run("--version", &out), 0);
  EXPECT_EQ(out.rfind("veltrane ", 0), 0u);
  EXPECT_EQ(Run("--bogus", &out), 2);
  EXPECT_NE(out.find("--bogus"), std::string::npos);
  EXPECT_EQ(Run("--model /no/such/model.par", &out), 2);
  EXPECT_NE(out.find("/no/such/model.par"), std::string::npos);
}

TEST_F(ProgramTest, ScreenshotThatCannotBeWrittenFails) {
  std::string out;
  EXPECT_EQ(Run("--screenshot /no/such/folder/shot.png --frames 1", &out), 1);
  EXPECT_NE(out.find("screenshot"), std::string::npos);
}

TEST_F(ProgramTest, DefaultSceneShowsSkyTerrainAndTheModelWhereTheCameraAims) {
  if (!fs::exists(kData + "/Landscape/world.scn") || !fs::exists(kData + "/Model/su-26.par"))
    GTEST_SKIP() << "shipped data not there";
  // The sky dome: the panorama's clouds and the ground's grain would differ in
  // the corners when the missing model points the camera elsewhere.
  Settings("Panorama=0\nBodendetails=0\n");
  pictures::Picture p = Shot();
  ASSERT_GT(p.width, 100);
  // Sky: bright, not green, at the top of the view (below the menu bar).
  Px top = At(p, p.width / 2, 40);
  EXPECT_GT(top.Sum(), 600);
  EXPECT_GE(top.b, top.g - 10);
  // Terrain at the bottom.
  Px bottom = At(p, p.width / 2, p.height - 3);
  EXPECT_TRUE(bottom.Greenish());

  // The same start with a model file that has no geometry beside it.
  fs::create_directories(dir_ / "empty");
  fs::copy_file(kData + "/Model/su-26.par", dir_ / "empty" / "su-26.par");
  pictures::Picture e = Shot("--model \"" + (dir_ / "empty" / "su-26.par").string() + "\"");
  ASSERT_EQ(e.width, p.width);
  // The model is where the camera looks: the middle differs, the corners do not.
  int changedMiddle = 0, changedCorner = 0;
  for (int y = p.height / 2 - 20; y < p.height / 2 + 20; ++y)
    for (int x = p.width / 2 - 20; x < p.width / 2 + 20; ++x) {
      Px a = At(p, x, y), b = At(e, x, y);
      if (std::abs(a.Sum() - b.Sum()) > 60) ++changedMiddle;
      Px c = At(p, x - p.width / 2 + 25, y - p.height / 2 + 25),
         d = At(e, x - p.width / 2 + 25, y - p.height / 2 + 25);
      if (std::abs(c.Sum() - d.Sum()) > 60) ++changedCorner;
    }
  EXPECT_GT(changedMiddle, 15);
  EXPECT_EQ(changedCorner, 0);
}

// Ground pixels at most `factor` times as bright as the typical ground of their
// row: the grass texture varies far less than that, a half-dark shadow does not.
int DarkGroundPixels(const pictures::Picture& p, double factor, int fromRow, double* meanRatio) {
  int n = 0;
  double sum = 0;
  for (int y = fromRow; y < p.height; ++y) {
    std::vector<int> row;
    for (int x = 0; x < p.width; ++x)
      if (At(p, x, y).Greenish()) row.push_back(At(p, x, y).Sum());
    if (row.size() < static_cast<std::size_t>(p.width / 2)) continue;
    std::nth_element(row.begin(), row.begin() + static_cast<std::ptrdiff_t>(row.size() / 2),
                     row.end());
    double median = row[row.size() / 2];
    for (int x = 0; x < p.width; ++x) {
      Px a = At(p, x, y);
      if (a.Greenish() && a.Sum() < median * factor) {
        ++n;
        sum += a.Sum() / median;
      }
    }
  }
  if (meanRatio) *meanRatio = n ? sum / n : 0;
  return n;
}

// The row below the lowest pixel that is not ground coloured (the model's).
int BelowModel(const pictures::Picture& p) {
  int last = -1;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (!At(p, x, y).Greenish()) last = y;
  return last + 1;
}

TEST_F(ProgramTest, ModelShadowIsDarkerThanTheGroundBelowIt) {
  if (!fs::exists(kData + "/Landscape/world.scn") || !fs::exists(kData + "/Model/su-26.par"))
    GTEST_SKIP() << "shipped data not there";
  // The pilot raised above the field and zoomed in: the camera looks down on
  // the model and sees its shadow on the grass beside it. Without the panorama,
  // whose dark woods are not the ground the shadow is looked for on, and
  // without the first flight's hint over it.
  const std::string view = "Zoom=12\npManPos.fZ=30\nPanorama=0\nFirstFlightHelpShown=1\n";
  Settings(view);
  pictures::Picture p = Shot();
  ASSERT_GT(p.width, 0);
  int from = BelowModel(p);
  ASSERT_LT(from, p.height - 20) << "the model fills the picture";
  double ratio = 0;
  int shadowed = DarkGroundPixels(p, 0.75, from, &ratio);
  EXPECT_GT(shadowed, 100);
  EXPECT_GT(ratio, 0.3) << "true alpha: the ground shows through";
  EXPECT_LT(ratio, 0.75);

  // Without geometry there is no model and no shadow.
  fs::create_directories(dir_ / "empty");
  fs::copy_file(kData + "/Model/su-26.par", dir_ / "empty" / "su-26.par");
  Settings(view);
  pictures::Picture e = Shot("--model \"" + (dir_ / "empty" / "su-26.par").string() + "\"");
  EXPECT_LT(DarkGroundPixels(e, 0.75, 0, nullptr), 5);
}

TEST_F(ProgramTest, FrameRateOverlayOnlyWhenEnabled) {
  if (!fs::exists(kData + "/Landscape/world.scn")) GTEST_SKIP() << "shipped data not there";
  auto blackInTopRight = [](const pictures::Picture& p) {
    int n = 0;
    for (int y = 4; y < 24; ++y)
      for (int x = p.width - 62; x < p.width; ++x)
        if (At(p, x, y).Sum() < 120) ++n;
    return n;
  };
  // Without the menu bar the overlay sits at the top of the picture.
  Settings("FPS=1\nMenuIsVisible=0\n");
  pictures::Picture on = Shot("", 70);  // the rate is measured once a second has passed
  Settings("FPS=0\nMenuIsVisible=0\n");
  pictures::Picture off = Shot("", 70);
  ASSERT_GT(on.width, 0);
  ASSERT_GT(off.width, 0);
  EXPECT_GT(blackInTopRight(on), 20);
  EXPECT_EQ(blackInTopRight(off), 0);
}

TEST_F(ProgramTest, MenuBarTakesTheTopOnlyWhenVisible) {
  if (!fs::exists(kData + "/Landscape/world.scn")) GTEST_SKIP() << "shipped data not there";
  Settings("MenuIsVisible=1\n");
  pictures::Picture with = Shot("", 2);
  Settings("MenuIsVisible=0\n");
  pictures::Picture without = Shot("", 2);
  ASSERT_GT(with.width, 0);
  ASSERT_GT(without.width, 0);
  // The bar is dark, the sky dome behind it a light blue.
  EXPECT_LT(At(with, with.width - 5, 5).Sum(), 200);
  EXPECT_GT(At(without, without.width - 5, 5).Sum(), 450);
}

TEST_F(ProgramTest, FullScreenRendersAtTheChosenSize) {
  Settings("doFullscreen=1\nDisplayWidth=800\nDisplayHeight=600\nWidth=500\nHeight=400\n");
  pictures::Picture p = Shot("", 2);
  EXPECT_EQ(p.width, 800);
  EXPECT_EQ(p.height, 600);
  // Closing in full screen keeps the windowed size and the full-screen choice.
  std::string s = ReadSettings();
  EXPECT_NE(s.find("doFullscreen=1"), std::string::npos) << s;
  EXPECT_NE(s.find("DisplayWidth=800"), std::string::npos);
  EXPECT_NE(s.find("Width=500"), std::string::npos);

  Settings("Width=500\nHeight=400\n");
  pictures::Picture w = Shot("", 2);
  EXPECT_EQ(w.width, 500);
  EXPECT_EQ(w.height, 400);

  // A full-screen size neither the display nor the menu offers: the built-in one.
  Settings("doFullscreen=1\nDisplayWidth=123\nDisplayHeight=99999\n");
  pictures::Picture f = Shot("", 2);
  EXPECT_EQ(f.width, 800);
  EXPECT_EQ(f.height, 600);
  // Window sizes that are no sizes: the built-in one, and the next start is fine too.
  Settings("Width=-20\nHeight=0\n");
  pictures::Picture n = Shot("", 2);
  EXPECT_EQ(n.width, 640);
  EXPECT_EQ(n.height, 479);
  EXPECT_NE(ReadSettings().find("\nHeight=479\n"), std::string::npos);
}

TEST_F(ProgramTest, NoOpenGl33ContextEndsWithAMessageThatShowsTheWayOut) {
  // Mesa then offers 3.0 and refuses a 3.3 core context, as an old driver does.
  ::setenv("MESA_GL_VERSION_OVERRIDE", "3.0", 1);
  std::string out;
  const int rc = Run("--screenshot \"" + (dir_ / "shot.png").string() + "\" --frames 1", &out);
  ::unsetenv("MESA_GL_VERSION_OVERRIDE");
  EXPECT_EQ(rc, 1);
  EXPECT_NE(out.find("OpenGL 3.0"), std::string::npos) << out;
  EXPECT_NE(out.find("LIBGL_ALWAYS_SOFTWARE=1"), std::string::npos) << out;
  EXPECT_EQ(ReadSettings().find("IgnoreDirectXCheck"), std::string::npos);
}

TEST_F(ProgramTest, DisplayThatDoesNotOpenEndsWithAMessage) {
  std::string out;
  std::string cmd = "DISPLAY=:987654 ";
  std::string outFile = (dir_ / "out.txt").string();
  int status = std::system((cmd + "\"" + VELTRANE_PROGRAM + "\" --config-dir \"" +
                            (dir_ / "config").string() + "\" >\"" + outFile + "\" 2>&1")
                               .c_str());
  std::ifstream in(outFile);
  std::stringstream text;
  text << in.rdbuf();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
  EXPECT_NE(text.str().find("display"), std::string::npos) << text.str();
}

TEST_F(ProgramTest, SigtermClosesLikeTheCloseButton) {
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    std::string cfg = (dir_ / "config").string();
    ::execl(VELTRANE_PROGRAM, VELTRANE_PROGRAM, "--config-dir", cfg.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // Running=1 is written right after start.
  bool running = false;
  for (int i = 0; i < 300 && !running; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    running = ReadSettings().find("Running=1") != std::string::npos;
  }
  EXPECT_TRUE(running);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ::kill(pid, SIGTERM);
  int status = 0;
  bool exited = false;
  for (int i = 0; i < 200 && !exited; ++i) {
    exited = ::waitpid(pid, &status, WNOHANG) == pid;
    if (!exited) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (!exited) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
  }
  ASSERT_TRUE(exited) << "the program did not end on SIGTERM";
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  std::string s = ReadSettings();
  EXPECT_NE(s.find("Running=0"), std::string::npos) << s;
  EXPECT_NE(s.find("Width="), std::string::npos);
}

TEST_F(ProgramTest, KeysReachTheMainWindowOnceItHasFocus) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "needs xdotool";
  std::string trace = (dir_ / "trace.txt").string();
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    std::string cfg = (dir_ / "config").string();
    ::execl(VELTRANE_PROGRAM, VELTRANE_PROGRAM, "--config-dir", cfg.c_str(), "--trace",
            trace.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  auto countLines = [&](const std::string& line) {
    std::ifstream in(trace);
    std::string l;
    int n = 0;
    while (std::getline(in, l))
      if (l == line + "\r") ++n;
    return n;
  };
  for (int i = 0; i < 200 && countLines("Simulate.InitFlight") == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(countLines("Simulate.InitFlight"), 1);
  // I is "Initialisieren": the flight starts again.
  int rc = std::system(
      "w=$(xdotool search --sync --name Veltrane | head -1) && xdotool windowfocus --sync \"$w\" "
      "&& "
      "sleep 0.3 && xdotool key i && sleep 0.5");
  EXPECT_EQ(rc, 0);
  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_EQ(countLines("Simulate.InitFlight"), 2);
  EXPECT_GE(countLines("TMainForm.FormKeyPress"), 1);
}

}  // namespace
}  // namespace veltrane::test
