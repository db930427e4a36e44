// The program started in situations that stop a start-up with a message:
// a data folder missing, a file that ended the previous run, a file that is
// no model. Each message box names what happened, and SIGTERM still ends the
// program cleanly while the box is open, taking the box along.

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/pictures/png_codec.h"
#include "program_driver.h"
#include "support/temp_dir.h"
#include "x_screen.h"

namespace veltrane::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kData = VELTRANE_DATA_DIR;
// The program's folder holds the data (as links) and is what its messages name.
const std::string kDefaultModel =
    fs::path(VELTRANE_PROGRAM).parent_path().string() + "/Model/su-26.par";

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The command lines of the message-box processes below `parent` (the box and
// the toolkit's own helper process), read from /proc.
std::vector<std::string> MessageBoxes() {
  std::vector<std::string> boxes;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator("/proc", ec)) {
    std::string cmd = ReadFile(e.path() / "cmdline");
    for (char& c : cmd)
      if (c == '\0') c = ' ';
    if (cmd.find("--message-box-process") != std::string::npos) boxes.push_back(cmd);
  }
  return boxes;
}

class StartProblems : public ::testing::Test {
 protected:
  void WriteSettings(ProgramDriver& p, const std::string& text) {
    std::ofstream(p.ConfigDir() / "settings.ini", std::ios::binary) << text;
  }

  // Waits for the start-up box, keeps a picture of it when VELTRANE_E2E_SHOTS is
  // set, then ends the program with SIGTERM: exit 0, no box left, settings saved.
  std::string BoxThenTerminate(ProgramDriver& p, const std::string& shot) {
    std::string box;
    EXPECT_TRUE(WaitUntil(
        [&] {
          const auto b = MessageBoxes();
          if (!b.empty()) box = b.front();
          return !b.empty();
        },
        20s));
    if (const char* d = std::getenv("VELTRANE_E2E_SHOTS")) {
      std::this_thread::sleep_for(1s);
      const std::string id = (dir / "box.txt").string();
      if (std::system(
              ("xdotool search --onlyvisible --name '^Veltrane$' > '" + id + "' 2>/dev/null")
                  .c_str()) == 0) {
        std::istringstream ids(ReadFile(id));
        unsigned long w = 0, last = 0;
        while (ids >> w) last = w;  // the box is the newest window of that name
        const pictures::Picture pic = GrabWindow(last);
        if (pic.width > 0) pictures::WritePng((fs::path(d) / shot).string(), pic);
      }
    }
    EXPECT_TRUE(p.Running());
    ::kill(p.Pid(), SIGTERM);
    EXPECT_EQ(p.WaitExit(15s), 0);
    EXPECT_TRUE(WaitUntil([] { return MessageBoxes().empty(); }, 5s));
    EXPECT_NE(p.Settings().find("Running=0"), std::string::npos);
    return box;
  }

  test_support::TempDir temp;
  const fs::path dir = temp.path();
};

TEST_F(StartProblems, AMissingDataFolderIsNamedAndSigtermClosesTheBox) {
  // The program beside Landscape/ only: its own folder is not a data folder.
  const fs::path bin = dir / "bin";
  fs::create_directories(bin);
  fs::copy_file(VELTRANE_PROGRAM, bin / "veltrane");
  fs::create_directory_symlink(kData + "/Landscape", bin / "Landscape");
  ProgramDriver p((bin / "veltrane").string(), dir);
  ASSERT_TRUE(p.Start(ProgramDriver::Focus::Leave));
  const std::string box = BoxThenTerminate(p, "missing_model_folder.png");
  EXPECT_NE(box.find("\"Model/\""), std::string::npos) << box;
  EXPECT_NE(box.find(bin.string() + "/ (dort fehlt \"Model/\")\nund in"), std::string::npos) << box;
  EXPECT_NE(box.find((dir / "share" / "veltrane").string()), std::string::npos) << box;
  EXPECT_EQ(p.TraceCount("TMainForm.FormClose"), 1);
}

TEST_F(StartProblems, AModelWhoseLoadEndedTheLastRunIsSkipped) {
  ProgramDriver p(VELTRANE_PROGRAM, dir);
  const std::string glider = kData + "/Model/glider.par";
  WriteSettings(
      p, "[MainForm]\nRunning=1\nsModellFilename=" + glider + "\nLoadingModel=" + glider + "\n");
  ASSERT_TRUE(p.Start(ProgramDriver::Focus::Leave));
  EXPECT_EQ(p.TraceCountStartingWith("TMainForm.FormCreate LoadingModel = " + glider + " skipped"),
            1);
  EXPECT_EQ(p.TraceCountStartingWith("TMainForm.LoadAirplane File: " + glider), 0);
  EXPECT_EQ(p.TraceCountStartingWith("TMainForm.LoadAirplane File: "), 1);
  const std::string box = BoxThenTerminate(p, "skipped_after_crash.png");
  EXPECT_NE(box.find(glider), std::string::npos) << box;
  const std::string settings = p.Settings();
  EXPECT_EQ(settings.find("LoadingModel"), std::string::npos) << settings;
  EXPECT_NE(settings.find("sModellFilename=" + kDefaultModel), std::string::npos) << settings;
}

TEST_F(StartProblems, AFileThatIsNoModelIsRefusedAndNotRemembered) {
  ProgramDriver p(VELTRANE_PROGRAM, dir);
  const fs::path noise = dir / "noise.par";
  std::ofstream(noise, std::ios::binary)
      << std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01\x01", 13) << std::string(500, '\x7F');
  WriteSettings(p, "[MainForm]\nsModellFilename=" + noise.string() + "\n");
  ASSERT_TRUE(p.Start(ProgramDriver::Focus::Leave));
  const std::string box = BoxThenTerminate(p, "not_a_model.png");
  EXPECT_NE(box.find("noise.par is not a flight-model parameter file"), std::string::npos) << box;
  // The default model flies instead, and is what the next start loads.
  EXPECT_EQ(p.TraceCountStartingWith("TMainForm.LoadAirplane File: " + kDefaultModel), 1);
  const std::string settings = p.Settings();
  EXPECT_EQ(settings.find("noise.par"), std::string::npos) << settings;
}

}  // namespace
}  // namespace veltrane::test
