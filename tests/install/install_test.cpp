// The program as a user gets it: installed under a prefix and packaged as a
// .deb, started from a folder that has nothing of it.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/pictures/png_codec.h"
#include "support/temp_dir.h"

namespace veltrane::test {
namespace {

namespace fs = std::filesystem;

// Runs a shell command; its output (stdout and stderr) in *out.
int Shell(const std::string& cmd, std::string* out = nullptr) {
  const test_support::TempDir temp("log");
  const fs::path log = temp.path() / "output";
  const int status = std::system((cmd + " >\"" + log.string() + "\" 2>&1").c_str());
  if (out) {
    std::ifstream in(log);
    std::stringstream s;
    s << in.rdbuf();
    *out = s.str();
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool Have(const char* tool) { return Shell(std::string("command -v ") + tool) == 0; }

class InstallTest : public ::testing::Test {
 protected:
  test_support::TempDir temp_;
  const fs::path dir_ = temp_.path();
};

TEST_F(InstallTest, InstalledProgramFindsItsDataFromAnyFolderAndRendersTheScene) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display";
  const fs::path prefix = dir_ / "prefix";
  std::string out;
  ASSERT_EQ(Shell("cmake --install \"" VELTRANE_BUILD_DIR "\" --prefix \"" + prefix.string() + "\"",
                  &out),
            0)
      << out;

  for (const char* f :
       {"bin/veltrane", "bin/veltrane-tool", "share/veltrane/Model/su-26.par",
        "share/veltrane/Landscape/world.scn", "share/veltrane/motor.wav",
        "share/applications/org.veltrane.Veltrane.desktop",
        "share/metainfo/org.veltrane.Veltrane.metainfo.xml",
        "share/icons/hicolor/48x48/apps/veltrane.png",
        "share/icons/hicolor/128x128/apps/veltrane.png",
        "share/icons/hicolor/256x256/apps/veltrane.png",
        "share/icons/hicolor/scalable/apps/veltrane.svg", "share/man/man6/veltrane.6",
        "share/man/man1/veltrane-tool.1", "share/doc/veltrane/AUTHORING.md"})
    EXPECT_TRUE(fs::is_regular_file(prefix / f)) << f;

  // From a folder with no data in it, and no settings of the user's.
  const fs::path elsewhere = dir_ / "elsewhere";
  fs::create_directories(elsewhere);
  const fs::path shot = dir_ / "shot.png";
  const std::string run = "cd \"" + elsewhere.string() + "\" && env -u VELTRANE_DATA_DIR HOME=\"" +
                          dir_.string() + "\" XDG_CONFIG_HOME= \"" +
                          (prefix / "bin/veltrane").string() + "\" --trace - --screenshot \"" +
                          shot.string() + "\" --frames 20";
  ASSERT_EQ(Shell(run, &out), 0) << out;
  EXPECT_NE(out.find("ExePath = " + (prefix / "share/veltrane").string() + "/"), std::string::npos)
      << out;
  const pictures::Picture p = pictures::ReadPng(shot.string());
  ASSERT_GT(p.width, 100);
  // Sky at the top and green ground at the bottom: the landscape was found and drawn.
  const std::uint8_t* top = p.At(p.width / 2, 40);
  const std::uint8_t* bottom = p.At(p.width / 2, p.height - 3);
  EXPECT_GT(top[0] + top[1] + top[2], 500);
  EXPECT_TRUE(bottom[1] > bottom[0] && bottom[1] > bottom[2]);
  // The settings went to the user's default folder, not beside the program.
  EXPECT_TRUE(fs::exists(dir_ / ".config/veltrane/settings.ini"));

  // The installed tool reads the installed data.
  EXPECT_EQ(Shell("\"" + (prefix / "bin/veltrane-tool").string() + "\" inspect \"" +
                      (prefix / "share/veltrane/Model/su-26.par").string() + "\"",
                  &out),
            0)
      << out;

  if (Have("desktop-file-validate")) {
    EXPECT_EQ(
        Shell("desktop-file-validate \"" +
                  (prefix / "share/applications/org.veltrane.Veltrane.desktop").string() + "\"",
              &out),
        0)
        << out;
  }
  if (Have("appstreamcli")) {
    EXPECT_EQ(
        Shell("appstreamcli validate --no-net \"" +
                  (prefix / "share/metainfo/org.veltrane.Veltrane.metainfo.xml").string() + "\"",
              &out),
        0)
        << out;
  }
  if (Have("man")) {
    EXPECT_EQ(Shell("MANWIDTH=80 man -l \"" + (prefix / "share/man/man6/veltrane.6").string() +
                    "\" | grep -q data-dir"),
              0);
  }
}

TEST_F(InstallTest, DebianPackageHoldsProgramDataAndDesktopEntry) {
  if (!Have("dpkg-deb") || !Have("dpkg-shlibdeps")) GTEST_SKIP() << "needs dpkg-dev";
  std::string out;
  ASSERT_EQ(Shell("cpack -G DEB --config \"" VELTRANE_BUILD_DIR "/CPackConfig.cmake\" -B \"" +
                      dir_.string() + "\"",
                  &out),
            0)
      << out;
  fs::path deb;
  for (const auto& e : fs::directory_iterator(dir_))
    if (e.path().extension() == ".deb") deb = e.path();
  ASSERT_FALSE(deb.empty()) << out;

  ASSERT_EQ(Shell("dpkg-deb --contents \"" + deb.string() + "\"", &out), 0);
  for (const char* f :
       {"./usr/bin/veltrane", "./usr/bin/veltrane-tool", "./usr/share/veltrane/Model/su-26.par",
        "./usr/share/veltrane/Landscape/world.scn", "./usr/share/veltrane/Language/Japanese.ini",
        "./usr/share/applications/org.veltrane.Veltrane.desktop",
        "./usr/share/icons/hicolor/scalable/apps/veltrane.svg"})
    EXPECT_NE(out.find(std::string(f) + "\n"), std::string::npos) << f;

  // The runtime libraries come from the program's own links.
  ASSERT_EQ(Shell("dpkg-deb --field \"" + deb.string() + "\" Depends", &out), 0);
  for (const char* dep : {"libsdl2-2.0-0", "libopenal1", "libassimp5", "libjpeg62-turbo",
                          "libserialport0", "fonts-dejavu-core", "fonts-wqy-microhei"})
    EXPECT_NE(out.find(dep), std::string::npos) << dep << " in " << out;
}

}  // namespace
}  // namespace veltrane::test
