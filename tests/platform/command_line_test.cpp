#include "platform/window/command_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/window/data_folder.h"
#include "support/temp_dir.h"

namespace veltrane::window {
namespace {

std::optional<CommandLine> Parse(std::vector<std::string> args, std::string* err = nullptr) {
  std::string e;
  auto r = ParseCommandLine(args, e);
  if (err) *err = e;
  return r;
}

TEST(CommandLine, DefaultsAndEveryOption) {
  auto none = Parse({});
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->screenshot.empty());
  EXPECT_EQ(none->frames, 1);

  auto c = Parse({"--config-dir", "/tmp/c", "--data-dir=/opt/v", "--trace=-", "--model", "M/a.par",
                  "--landscape", "L/w.scn", "--screenshot", "o.png", "--frames", "30",
                  "--frame-time=0.05"});
  ASSERT_TRUE(c);
  EXPECT_EQ(c->configDir, "/tmp/c");
  EXPECT_EQ(c->dataDir, "/opt/v");
  EXPECT_EQ(c->traceFile, "-");
  EXPECT_EQ(c->model, "M/a.par");
  EXPECT_EQ(c->landscape, "L/w.scn");
  EXPECT_EQ(c->screenshot, "o.png");
  EXPECT_EQ(c->frames, 30);
  EXPECT_DOUBLE_EQ(c->frameTime, 0.05);
  EXPECT_TRUE(Parse({"--help"})->help);
  EXPECT_TRUE(Parse({"--version"})->version);
}

TEST(CommandLine, MistakesAreReportedNotGuessed) {
  std::string err;
  EXPECT_FALSE(Parse({"--model"}, &err));
  EXPECT_NE(err.find("--model"), std::string::npos);
  EXPECT_FALSE(Parse({"--trace="}, &err));
  EXPECT_FALSE(Parse({"--fly"}, &err));
  EXPECT_NE(err.find("--fly"), std::string::npos);
  for (const char* bad : {"0", "-3", "abc", "12x", "99999999999"})
    EXPECT_FALSE(Parse({"--screenshot", "a.png", "--frames", bad})) << bad;
  for (const char* bad : {"0", "-1", "nan", "inf", "1e9", "x"})
    EXPECT_FALSE(Parse({"--screenshot", "a.png", "--frame-time", bad})) << bad;
  EXPECT_FALSE(Parse({"--data-dir"}, &err));
  // Frame settings without a screenshot would silently do nothing.
  EXPECT_FALSE(Parse({"--frames", "3"}, &err));
}

TEST(DataFolder, ProgramFolderWithDataElseInstalledShare) {
  namespace fs = std::filesystem;
  const test_support::TempDir temp;
  const fs::path& root = temp.path();
  fs::create_directories(root / "bin");
  EXPECT_EQ(FindDataFolder((root / "bin").string() + "/"),
            (root / "share" / "veltrane").string() + "/");
  EXPECT_EQ(FindDataFolder((root / "bin").string()), (root / "share" / "veltrane").string() + "/");
  fs::create_directories(root / "bin" / "Model");
  // Model/ alone is not a data folder.
  EXPECT_EQ(FindDataFolder((root / "bin").string()), (root / "share" / "veltrane").string() + "/");
  // Model/ beside the program, nothing installed: both places and what each lacks.
  const std::string message = MissingDataFolders((root / "bin").string());
  EXPECT_EQ(message, "Veltrane findet seine Daten nicht: in " +
                         (root / "share" / "veltrane").string() +
                         "/ fehlen \"Model/\" und \"Landscape/\".\nGesucht wurde in " +
                         (root / "bin").string() + "/ (dort fehlt \"Landscape/\")\nund in " +
                         (root / "share" / "veltrane").string() + "/.");
  fs::create_directories(root / "bin" / "Landscape");
  EXPECT_EQ(FindDataFolder((root / "bin").string()), (root / "bin").string() + "/");

  // The user's choice comes first, then the environment, then the search.
  const std::string exe = (root / "bin").string();
  const std::string mine = (root / "mine").string() + "/";
  EXPECT_EQ(ChooseDataFolder((root / "mine").string(), "/elsewhere", exe), mine);
  EXPECT_EQ(ChooseDataFolder("", "/elsewhere", exe), "/elsewhere/");
  EXPECT_EQ(ChooseDataFolder("", "", exe), exe + "/");
  EXPECT_EQ(ChooseDataFolder("", nullptr, exe), exe + "/");
  EXPECT_EQ(MissingDataFolders((root / "bin").string()), "");
  // A folder the user chose is the one named, and the search is not.
  EXPECT_EQ(MissingDataFolders(exe, mine),
            "Veltrane findet seine Daten nicht: im gewählten Datenordner " + mine +
                " fehlen \"Model/\" und \"Landscape/\" (--data-dir oder VELTRANE_DATA_DIR).");
  EXPECT_EQ(MissingDataFolders(exe, exe), "");
  EXPECT_EQ(ExecutableFolder().back(), '/');
}

}  // namespace
}  // namespace veltrane::window
