// Settings files that were damaged, edited by hand or written by two
// instances, and saves that are cut short by a kill.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "app/temp_dir.h"
#include "platform/settings/settings_store.h"

namespace veltrane {
namespace {

namespace fs = std::filesystem;
const NumberFormat kEnglish{'.'};
const std::vector<std::string> kKnown = {"MainForm", "KeyForm"};

void WriteFile(const fs::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary) << text;
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() & 0xFF);
  return s;
}

TEST(SettingsRecovery, DamagedFilesKeepWhatIsKnownSayItAndLeaveACopy) {
  struct Row {
    const char* what;
    std::string text;
    std::vector<std::tuple<std::string, std::string, std::string>> kept;  // section, name, value
    std::vector<std::pair<std::string, std::string>> dropped;
    const char* note;  // part of the note, or "" for a clean file
  } rows[] = {
      {"clean", "[Veltrane]\nIgnoreDirectXCheck=1\n[MainForm]\nZoom=3\n", {{"", "IgnoreDirectXCheck", "1"}, {"MainForm", "Zoom", "3"}}, {}, ""},
      {"values before any section",
       "junk line one\nnoise=1\nIgnoreDirectXCheck=1\n[MainForm]\nZoom=3\n",
       {{"", "IgnoreDirectXCheck", "1"}, {"MainForm", "Zoom", "3"}},
       {{"", "noise"}},
       "1 unreadable lines, 1 values outside any section skipped"},
      {"unknown section, unknown key in a known one",
       "[MainForm]\nZoom=3\nFromANewerVersion=x\n[Evil]\nA=1\n[KeyForm]\nKeyChannel0=37\n",
       {{"MainForm", "Zoom", "3"}, {"MainForm", "FromANewerVersion", "x"}, {"KeyForm", "KeyChannel0", "37"}},
       {{"Evil", "A"}},
       "1 unknown sections skipped"},
      {"binary garbage around a section", RandomBytes(3000, 1) + "\n[MainForm]\nZoom=4\n" + RandomBytes(3000, 2),
       {{"MainForm", "Zoom", "4"}}, {}, "unreadable lines"},
      {"50 MB of junk text", "[MainForm]\nZoom=3\n" + std::string(50 << 20, 'x'), {}, {{"MainForm", "Zoom"}},
       "larger than 1048576 bytes"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    TempDir dir;
    const fs::path file = dir.path() / "settings.ini", bad = dir.path() / "settings.ini.bad";
    WriteFile(file, r.text);
    {
      SettingsStore s(dir.path(), kEnglish, kKnown);
      for (const auto& [section, name, value] : r.kept) EXPECT_EQ(s.ReadString(section, name, "<none>"), value);
      for (const auto& [section, name] : r.dropped) EXPECT_FALSE(s.ValueExists(section, name)) << name;
      if (*r.note == '\0') {
        EXPECT_EQ(s.LoadNote(), "");
      } else {
        EXPECT_NE(s.LoadNote().find(r.note), std::string::npos) << s.LoadNote();
        EXPECT_NE(s.LoadNote().find("settings.ini.bad"), std::string::npos);
      }
      EXPECT_FALSE(fs::exists(bad)) << "nothing is touched before a save";
      s.WriteString("MainForm", "Running", "0");
      s.Flush();
    }
    // The old file survives byte for byte beside a new one that reads cleanly.
    EXPECT_EQ(fs::exists(bad), *r.note != '\0');
    if (fs::exists(bad)) {
      EXPECT_TRUE(ReadFile(bad) == r.text);
    }
    const std::string written = ReadFile(file);
    EXPECT_LT(written.size(), 1000u);
    EXPECT_EQ(written.rfind("[", 0), 0u) << "no value may stand outside a section:\n" << written;
    SettingsStore again(dir.path(), kEnglish, kKnown);
    EXPECT_EQ(again.LoadNote(), "");
    EXPECT_EQ(again.ReadString("MainForm", "Running", ""), "0");
    for (const auto& [section, name, value] : r.kept) EXPECT_EQ(again.ReadString(section, name, "<none>"), value);
    // A second save has nothing damaged to keep: the copy stays the first damaged file.
    if (fs::exists(bad)) {
      again.WriteString("MainForm", "Running", "1");
      again.Flush();
      EXPECT_TRUE(ReadFile(bad) == r.text);
    }
  }
}

TEST(SettingsRecovery, ASecondInstanceClosingLaterKeepsTheFirstOnesChanges) {
  TempDir dir;
  WriteFile(dir.path() / "settings.ini", "[MainForm]\nZoom=2\nWidth=640\nSoundVolume=70\nOld=1\n");
  SettingsStore first(dir.path(), kEnglish, kKnown), second(dir.path(), kEnglish, kKnown);
  first.WriteString("MainForm", "Zoom", "5");
  first.WriteString("MainForm", "SoundVolume", "20");
  first.WriteString("KeyForm", "KeyChannel0", "37");
  first.Flush();
  // The second writes all its values at close, most of them as it read them.
  second.WriteString("MainForm", "Zoom", "2");
  second.WriteString("MainForm", "Width", "900");
  second.WriteString("MainForm", "SoundVolume", "90");  // changed by both: the later one wins
  second.Remove("MainForm", "Old");
  second.Flush();
  SettingsStore disk(dir.path(), kEnglish, kKnown);
  EXPECT_EQ(disk.ReadString("MainForm", "Zoom", ""), "5");
  EXPECT_EQ(disk.ReadString("MainForm", "Width", ""), "900");
  EXPECT_EQ(disk.ReadString("MainForm", "SoundVolume", ""), "90");
  EXPECT_EQ(disk.ReadString("KeyForm", "KeyChannel0", ""), "37");
  EXPECT_FALSE(disk.ValueExists("MainForm", "Old"));
  // What the second one sees after its save is the file.
  EXPECT_EQ(second.ReadString("MainForm", "Zoom", ""), "5");
}

// A thousand saves killed at random moments: the file is always one whole
// generation, never empty, never a mix, and always reads cleanly.
TEST(SettingsRecovery, KilledWhileSavingLeavesTheOldOrTheNewFile) {
  TempDir dir;
  constexpr int kKeys = 200;
  {
    SettingsStore s(dir.path(), kEnglish, kKnown);
    for (int k = 0; k < kKeys; ++k) s.WriteInteger("MainForm", "Key" + std::to_string(k), 0);
    s.Flush();
  }
  std::mt19937 rng(16);
  int newer = 0, midSave = 0;
  for (int round = 1; round <= 1000; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      SettingsStore s(dir.path(), kEnglish, kKnown);
      for (int generation = round * 1000;; ++generation) {
        for (int k = 0; k < kKeys; ++k) s.WriteInteger("MainForm", "Key" + std::to_string(k), generation);
        s.Flush();
      }
    }
    usleep(rng() % 4000);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    for (const auto& e : fs::directory_iterator(dir.path()))
      if (e.path().filename() != "settings.ini") ++midSave;
    SettingsStore s(dir.path(), kEnglish, kKnown);
    ASSERT_EQ(s.LoadNote(), "") << "round " << round;
    const int generation = s.ReadInteger("MainForm", "Key0", -1);
    ASSERT_GE(generation, 0) << "round " << round;
    for (int k = 1; k < kKeys; ++k)
      ASSERT_EQ(s.ReadInteger("MainForm", "Key" + std::to_string(k), -1), generation) << "round " << round;
    if (generation >= round * 1000) ++newer;
  }
  // Kills landed both after whole saves and in the middle of one.
  EXPECT_GT(newer, 50);
  EXPECT_GT(midSave, 50);
  std::size_t files = 0;
  for (const auto& e : fs::directory_iterator(dir.path())) files += e.path().filename() == "settings.ini" ? 1 : 100;
  EXPECT_EQ(files, 1u) << "a temporary file of a killed save is left behind";
}

}  // namespace
}  // namespace veltrane
