#include "loaders/file_names.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace veltrane::loaders {
namespace {

TEST(FileNames, ResolvesEveryLevelIgnoringCase) {
  test_support::TempDir dir;
  const std::string real = dir.Write("Model/Heli/Body.PAR", "1");
  const std::string& root = dir.Path();
  EXPECT_EQ(ResolveCaseInsensitive(root + "/model/HELI/body.par"), real);
  EXPECT_EQ(ResolveCaseInsensitive(root + "\\MODEL\\heli\\BODY.par"), real);
  EXPECT_EQ(ResolveCaseInsensitive(root + "/Model//heli/./body.par"),
            root + "/Model/Heli/./Body.PAR");
  // An exact path is returned as it is, also when it exists only in this spelling.
  EXPECT_EQ(ResolveCaseInsensitive(real), real);
  // Nothing matching: unchanged, so the caller's error names what the file said.
  EXPECT_EQ(ResolveCaseInsensitive(root + "/model/none/body.par"), root + "/model/none/body.par");
  EXPECT_EQ(ResolveCaseInsensitive(root + "/model/heli/body.parx"), root + "/model/heli/body.parx");
  EXPECT_EQ(ResolveCaseInsensitive(""), "");
}

TEST(FileNames, PrefersExactMatchAndIsRepeatableWithSeveralCandidates) {
  test_support::TempDir dir;
  const std::string lower = dir.Write("a.txt", "1");
  dir.Write("A.txt", "2");
  EXPECT_EQ(ResolveCaseInsensitive(lower), lower);
  EXPECT_EQ(ResolveCaseInsensitive(dir.Path() + "/A.TXT"), dir.Path() + "/A.txt");
}

TEST(FileNames, FileExistsIgnoresCaseAndFolders) {
  test_support::TempDir dir;
  dir.Write("Land/Hills.SCN", "");
  EXPECT_TRUE(FileExists(dir.Path() + "/land/hills.scn"));
  EXPECT_FALSE(FileExists(dir.Path() + "/land"));
  EXPECT_FALSE(FileExists(dir.Path() + "/land/hills.geo"));
}

TEST(FileNames, ChangeExtensionTouchesOnlyTheLastName) {
  EXPECT_EQ(ChangeExtension("Model/heli.geo", ".PAR"), "Model/heli.PAR");
  EXPECT_EQ(ChangeExtension("Model/heli", ".PAR"), "Model/heli.PAR");
  EXPECT_EQ(ChangeExtension("my.models/heli", ".PAR"), "my.models/heli.PAR");
  EXPECT_EQ(ChangeExtension("my.models\\heli", ".PAR"), "my.models\\heli.PAR");
  EXPECT_EQ(ChangeExtension("a.b.x", ".PAR"), "a.b.PAR");
}

TEST(FileNames, FolderOfKeepsTrailingSlash) {
  EXPECT_EQ(FolderOf("/data/Model/heli.par"), "/data/Model/");
  EXPECT_EQ(FolderOf("Landscape\\Hills\\hills.scn"), "Landscape/Hills/");
  EXPECT_EQ(FolderOf("heli.par"), "");
  EXPECT_EQ(FolderOf("/x"), "/");
}

}  // namespace
}  // namespace veltrane::loaders
