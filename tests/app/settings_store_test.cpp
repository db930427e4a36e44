#include "base/settings/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "base/settings/locale_language.h"
#include "support/temp_dir.h"

namespace veltrane {
namespace {

const NumberFormat kGerman{','};
const NumberFormat kEnglish{'.'};

void WriteFile(const std::filesystem::path& p, const std::string& text) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << text;
}

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(SettingsStore, MissingFileGivesDefaultsAndFlushCreatesFolder) {
  test_support::TempDir dir;
  const auto folder = dir.path() / "nested" / "veltrane";
  SettingsStore s(folder, kEnglish);
  EXPECT_FALSE(s.ValueExists("MainForm", "Zoom"));
  EXPECT_EQ(s.ReadInteger("MainForm", "SoundVolume", 70), 70);
  EXPECT_TRUE(s.ReadBool("MainForm", "Nebel", true));
  EXPECT_DOUBLE_EQ(s.ReadFloat("MainForm", "Zoom", 2.0), 2.0);
  EXPECT_EQ(s.ReadString("MainForm", "sLandFileName", "x"), "x");
  s.WriteInteger("MainForm", "SoundVolume", 55);
  s.Flush();
  EXPECT_TRUE(std::filesystem::exists(folder / "settings.ini"));
  SettingsStore again(folder, kEnglish);
  EXPECT_EQ(again.ReadInteger("MainForm", "SoundVolume", 70), 55);
}

TEST(SettingsStore, FloatsFollowTheLocaleDecimalSeparator) {
  EXPECT_EQ(FormatFloat(2.5, kGerman), "2,5");
  EXPECT_EQ(FormatFloat(2.5, kEnglish), "2.5");
  EXPECT_EQ(FormatFloat(60, kGerman), "60");
  EXPECT_EQ(FormatFloat(0.1, kEnglish), "0.1");
  EXPECT_EQ(FormatFloat(1e20, kEnglish), "1E20");
  EXPECT_EQ(FormatFloat(-1.5e-7, kGerman), "-1,5E-7");
  EXPECT_EQ(FormatFloat(2 * 1.2 * 1.2 * 1.2 * 1.2 * 1.2, kEnglish), "4.97664");
  // Numbers that 15 digits cannot carry keep the digits they need.
  for (double v : {0.1 + 0.2, 61.384498596191406, 1.0 / 3.0, -2.0 / 7.0e-300})
    EXPECT_EQ(ParseFloat(FormatFloat(v, kGerman), kGerman), v);
  EXPECT_EQ(FormatFloat(0.1 + 0.2, kEnglish), "0.30000000000000004");

  EXPECT_EQ(ParseFloat("2,5", kGerman), 2.5);
  EXPECT_EQ(ParseFloat("2,5", kEnglish), std::nullopt);
  EXPECT_EQ(ParseFloat("2.5", kGerman), std::nullopt);
  EXPECT_EQ(ParseFloat(" -3.25 ", kEnglish), -3.25);
  EXPECT_EQ(ParseFloat("1E20", kEnglish), 1e20);
  for (const char* bad : {"", "abc", "nan", "inf", "2.5x", "0x10", "1e999", "1.2.3"})
    EXPECT_EQ(ParseFloat(bad, kEnglish), std::nullopt) << bad;
}

TEST(SettingsStore, GermanReadsCommaTextEnglishKeepsDefault) {
  test_support::TempDir dir;
  WriteFile(dir.path() / "settings.ini", "[MainForm]\nZoom=2,5\n");
  EXPECT_DOUBLE_EQ(SettingsStore(dir.path(), kGerman).ReadFloat("MainForm", "Zoom", 2.0), 2.5);
  EXPECT_DOUBLE_EQ(SettingsStore(dir.path(), kEnglish).ReadFloat("MainForm", "Zoom", 2.0), 2.0);
}

TEST(SettingsStore, IntegersAndBooleansFallBackOnBadText) {
  test_support::TempDir dir;
  WriteFile(dir.path() / "settings.ini",
            "[MainForm]\nA=12\nB= -7 \nC=1.5\nD=abc\nE=99999999999\nF=2\nG=0\nH=yes\n");
  SettingsStore s(dir.path(), kEnglish);
  EXPECT_EQ(s.ReadInteger("MainForm", "A", 0), 12);
  EXPECT_EQ(s.ReadInteger("MainForm", "B", 0), -7);
  EXPECT_EQ(s.ReadInteger("MainForm", "C", 3), 3);
  EXPECT_EQ(s.ReadInteger("MainForm", "D", 3), 3);
  EXPECT_EQ(s.ReadInteger("MainForm", "E", 3), 3);
  EXPECT_TRUE(s.ReadBool("MainForm", "F", false));  // any integer but 0 is true
  EXPECT_FALSE(s.ReadBool("MainForm", "G", true));
  EXPECT_TRUE(s.ReadBool("MainForm", "H", true));
}

TEST(SettingsStore, StringsSurviveUnchangedAndSectionsStaySeparate) {
  test_support::TempDir dir;
  const std::string odd = "  /home/u/My Models/a;b=c\\d \"q\".par ";
  {
    SettingsStore s(dir.path(), kEnglish);
    s.WriteString("MainForm", "sModellFilename", odd);
    s.WriteString("MainForm", "Multi", "line1\nline2\r\x01\x7f\\x41");
    s.WriteInteger("", "IgnoreDirectXCheck", 1);
    s.WriteInteger("KeyForm", "KeyChannel0", 37);
    s.Flush();
  }
  SettingsStore s(dir.path(), kEnglish);
  EXPECT_EQ(s.ReadString("MainForm", "sModellFilename", ""), odd);
  EXPECT_EQ(s.ReadString("MainForm", "Multi", ""), "line1\nline2\r\x01\x7f\\x41");
  EXPECT_EQ(s.ReadInteger("", "IgnoreDirectXCheck", 0), 1);
  EXPECT_EQ(s.ReadInteger("KeyForm", "KeyChannel0", 0), 37);
  EXPECT_FALSE(s.ValueExists("MainForm", "KeyChannel0"));
  // The unnamed section has a header of its own: INI readers accept no value before the first.
  EXPECT_EQ(ReadFile(s.FilePath()).rfind("[Veltrane]\nIgnoreDirectXCheck=1\n\n[KeyForm]\n", 0), 0u);
}

TEST(SettingsStore, FileCutOffMidwayKeepsWhatIsComplete) {
  test_support::TempDir dir;
  WriteFile(dir.path() / "settings.ini", "[MainForm]\nSoundVolume=40\nZoom=3.5\nfNoZo");
  SettingsStore s(dir.path(), kEnglish);
  EXPECT_EQ(s.ReadInteger("MainForm", "SoundVolume", 70), 40);
  EXPECT_DOUBLE_EQ(s.ReadFloat("MainForm", "Zoom", 2.0), 3.5);
  EXPECT_DOUBLE_EQ(s.ReadFloat("MainForm", "fNoZoom", 10.0), 10.0);
  s.WriteFloat("MainForm", "fNoZoom", 12.0);
  s.Flush();
  EXPECT_EQ(ReadFile(s.FilePath()), "[MainForm]\nSoundVolume=40\nZoom=3.5\nfNoZoom=12\n");
}

TEST(SettingsStore, GarbageFileGivesDefaultsAndIsReplacedCleanly) {
  test_support::TempDir dir;
  std::mt19937 rng(7);
  std::string junk;
  for (int i = 0; i < 20000; ++i) junk += static_cast<char>(rng() & 0xFF);
  junk += "\n[Main Form]\nZoom=9\n[\xff\xfe]\nZoom=8\n";
  WriteFile(dir.path() / "settings.ini", junk);
  SettingsStore s(dir.path(), kEnglish);
  EXPECT_DOUBLE_EQ(s.ReadFloat("Main Form", "Zoom", 2.0), 2.0);
  s.WriteBool("MainForm", "Running", false);
  s.Flush();
  const std::string text = ReadFile(s.FilePath());
  EXPECT_NE(text.find("[MainForm]\nRunning=0\n"), std::string::npos);
  for (unsigned char c : text) EXPECT_TRUE(c >= 0x20 || c == '\n' || c == '\t') << int(c);
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    EXPECT_TRUE(e.path().filename() == "settings.ini" || e.path().filename() == "settings.ini.bad")
        << "temporary file left behind";
  EXPECT_EQ(ReadFile(dir.path() / "settings.ini.bad"), junk);
  // Whatever survives is plain text that the reader takes back identically.
  const std::string once = ReadFile(s.FilePath());
  SettingsStore back(dir.path(), kEnglish);
  back.Flush();
  EXPECT_EQ(ReadFile(back.FilePath()), once);
}

TEST(SettingsStore, FlushIntoAnUnwritableFolderThrowsAndKeepsTheOldFile) {
  test_support::TempDir dir;
  WriteFile(dir.path() / "blocker", "x");
  SettingsStore s(dir.path() / "blocker", kEnglish);  // a file where the folder should be
  s.WriteInteger("MainForm", "A", 1);
  EXPECT_THROW(s.Flush(), std::runtime_error);
  EXPECT_EQ(ReadFile(dir.path() / "blocker"), "x");
}

TEST(SettingsStore, OnlyABoundedRegularFileIsRead) {
  // A FIFO would block the open forever, /dev/zero would read without end.
  test_support::TempDir fifoDir, zeroDir, bigDir;
  ASSERT_EQ(mkfifo((fifoDir.path() / "settings.ini").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", zeroDir.path() / "settings.ini");
  WriteFile(bigDir.path() / "settings.ini", "[MainForm]\nZoom=3\n" + std::string(2 << 20, ';'));
  for (const test_support::TempDir* dir : {&fifoDir, &zeroDir, &bigDir}) {
    SettingsStore s(dir->path(), kEnglish);
    EXPECT_FALSE(s.ValueExists("MainForm", "Zoom")) << dir->path();
    EXPECT_NE(s.LoadNote().find("settings.ini"), std::string::npos) << dir->path();
  }
}

TEST(SettingsStore, ByteOrderMarkIsSkipped) {
  test_support::TempDir dir;
  WriteFile(dir.path() / "settings.ini", "\xEF\xBB\xBF[MainForm]\nZoom=3\n");
  SettingsStore s(dir.path(), kEnglish);
  EXPECT_EQ(s.ReadInteger("MainForm", "Zoom", 0), 3);
  EXPECT_TRUE(s.LoadNote().empty());
}

TEST(SettingsStore, StaleTemporaryFilesGoAndLiveOnesStay) {
  test_support::TempDir dir;
  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  waitpid(child, nullptr, 0);  // now a pid nobody uses
  const auto stale = dir.path() / ("settings.ini.tmp." + std::to_string(child));
  const auto live = dir.path() / "settings.ini.tmp.1";  // init is always running
  const auto other = dir.path() / "settings.ini.tmp.notapid";
  for (const auto& p : {stale, live, other}) WriteFile(p, "x");
  SettingsStore s(dir.path(), kEnglish);
  EXPECT_FALSE(std::filesystem::exists(stale));
  EXPECT_TRUE(std::filesystem::exists(live));
  EXPECT_TRUE(std::filesystem::exists(other));
}

TEST(SettingsStore, ASymbolicLinkIsWrittenThroughToItsTarget) {
  test_support::TempDir dir;
  const auto target = dir.path() / "dotfiles" / "veltrane.ini";
  WriteFile(target, "[MainForm]\nZoom=3\n");
  std::filesystem::create_directories(dir.path() / "config");
  std::filesystem::create_symlink(target, dir.path() / "config" / "settings.ini");
  SettingsStore s(dir.path() / "config", kEnglish);
  EXPECT_EQ(s.ReadInteger("MainForm", "Zoom", 0), 3);
  s.WriteInteger("MainForm", "Zoom", 4);
  s.Flush();
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "config" / "settings.ini"));
  EXPECT_NE(ReadFile(target).find("Zoom=4"), std::string::npos);
}

TEST(NumberFormatAndLanguage, FromLocaleNames) {
  EXPECT_EQ(NumberFormat::ForLocale("de_DE.UTF-8").decimalSeparator, ',');
  EXPECT_EQ(NumberFormat::ForLocale("fr_FR").decimalSeparator, ',');
  EXPECT_EQ(NumberFormat::ForLocale("en_US.UTF-8").decimalSeparator, '.');
  EXPECT_EQ(NumberFormat::ForLocale("C").decimalSeparator, '.');
  EXPECT_EQ(NumberFormat::ForLocale("de_CH.UTF-8").decimalSeparator, '.');

  EXPECT_EQ(LanguageIndexForLocale("de_DE.UTF-8"), 0);
  EXPECT_EQ(LanguageIndexForLocale("de_AT"), 0);
  EXPECT_EQ(LanguageIndexForLocale("en_GB.UTF-8"), 1);
  EXPECT_EQ(LanguageIndexForLocale("sv_SE"), 2);
  EXPECT_EQ(LanguageIndexForLocale("nb_NO.UTF-8"), 7);
  EXPECT_EQ(LanguageIndexForLocale("pt_BR"), 8);
  EXPECT_EQ(LanguageIndexForLocale("nl_NL"), 15);
  EXPECT_EQ(LanguageIndexForLocale("zh_TW.UTF-8"), 17);
  EXPECT_EQ(LanguageIndexForLocale("zh_CN.UTF-8"), 16);
  EXPECT_EQ(LanguageIndexForLocale("zh_HK"), 16);
  EXPECT_EQ(LanguageIndexForLocale("fi_FI"), 1);
  EXPECT_EQ(LanguageIndexForLocale("C.UTF-8"), 1);
  EXPECT_EQ(LanguageIndexForLocale(""), 1);
}

}  // namespace
}  // namespace veltrane
