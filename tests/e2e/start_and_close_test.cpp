// Starts and ends the way a user's machine makes them: a German keyboard, a
// stored window size the display cannot hold, a settings folder that is gone
// when the program closes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "program_fixture.h"

namespace veltrane::test {
namespace {

using namespace std::chrono_literals;

class GermanKeyboardTest : public WindowedProgramTest {
 protected:
  void BeforeStart() override {
    ASSERT_EQ(std::system("setxkbmap -layout de"), 0);
    std::ofstream(program_->ConfigDir() / "settings.ini") << "[MainForm]\nWidth=800\nHeight=5000\n";
  }
  void TearDown() override {
    WindowedProgramTest::TearDown();
    std::system("setxkbmap -layout us");
  }
};

TEST_F(GermanKeyboardTest, LettersByTheirLabelAndAStoredSizeKeptToTheDisplay) {
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown)) << "nothing rendered at the stored size";
  EXPECT_EQ(program_->TraceCountStartingWith("TMainForm.FormShow window size 800x"), 1);
  int w = 0, h = 0;
  ASSERT_TRUE(program_->WindowSize(&w, &h));
  EXPECT_EQ(w, 800);
  EXPECT_LE(h, 1024);  // the virtual screen's height

  // On QWERTZ the key labelled Z sits where QWERTY has Y. Z toggles the
  // automatic zoom, Y is no command: Z once and Y twice leave it on.
  const int presses = program_->TraceCount("TMainForm.FormKeyPress");
  ASSERT_TRUE(program_->Key("z y y"));
  ASSERT_TRUE(
      WaitUntil([&] { return program_->TraceCount("TMainForm.FormKeyPress") >= presses + 3; }, 20s))
      << "the three keys did not arrive";
  ASSERT_TRUE(program_->Terminate());
  EXPECT_EQ(program_->WaitExit(20s), 0);
  const std::string s = program_->Settings();
  EXPECT_NE(s.find("\nAutoZoom=1\n"), std::string::npos) << s;
  EXPECT_NE(s.find("\nHeight=" + std::to_string(h) + "\n"), std::string::npos) << s;
}

TEST_F(WindowedProgramTest, SettingsThatCannotBeWrittenAtExitAreToldAndTheExitStatusSaysSo) {
  ASSERT_TRUE(ShowsSoon(MenuBarShown));
  // The folder is gone and a file stands in its place: nothing can be created there.
  fs::remove_all(program_->ConfigDir());
  std::ofstream(program_->ConfigDir()) << "not a folder";
  ASSERT_TRUE(program_->Terminate());
  // The message box waits for its OK before the program ends.
  int status = -1;
  for (int i = 0; i < 20 && status < 0; ++i) {
    status = program_->WaitExit(1s);
    if (status < 0) std::system("xdotool key Return >/dev/null 2>&1");
  }
  EXPECT_EQ(status, 1);
  EXPECT_EQ(program_->TraceCountStartingWith("TMainForm settings not saved: "), 1);
}

}  // namespace
}  // namespace veltrane::test
