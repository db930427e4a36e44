#include "ui/open_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_dir.h"

namespace veltrane::ui {
namespace {

namespace fs = std::filesystem;

class OpenDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root / "Model" / "Gliders");
    for (auto name :
         {"su-26.par", "su-26.geo", "su-26_prv.jpg", "Trainer.MDL", "notes.txt", "pic.bmp"})
      std::ofstream(root / "Model" / name) << "x";
  }
  std::vector<std::string> Names(const OpenDialog& d) {
    std::vector<std::string> v;
    for (const auto& e : d.Entries()) v.push_back(e.name);
    return v;
  }
  test_support::TempDir temp;
  const fs::path root = temp.path();
};

const char* kModelFilter =
    "Alle Modelldateien|*.mdl;*.par|Veltrane Flugmodell (*.mdl)|*.mdl|Aerofly Modelldatei "
    "(*.par)|*.par";

TEST(OpenDialogFilter, ParsesDescriptionsAndPatterns) {
  auto f = ParseFilter(kModelFilter);
  ASSERT_EQ(f.size(), 3u);
  EXPECT_EQ(f[0].description, "Alle Modelldateien");
  EXPECT_EQ(f[0].patterns, (std::vector<std::string>{"*.mdl", "*.par"}));
  EXPECT_EQ(f[2].patterns, (std::vector<std::string>{"*.par"}));
  EXPECT_EQ(ParseFilter("Landschaften|*.scn").size(), 1u);
  EXPECT_TRUE(ParseFilter("").empty());
  EXPECT_TRUE(MatchesPattern("WORLD.SCN", "*.scn"));
  EXPECT_FALSE(MatchesPattern("world.scn.bak", "*.scn"));
  EXPECT_TRUE(MatchesPattern("a", "*"));
}

TEST_F(OpenDialogTest, ListsFoldersFirstThenMatchingFiles) {
  OpenDialog d;
  d.Open("Flugmodell laden", kModelFilter, "Model/su-26.par", root / "Model");
  EXPECT_EQ(Names(d), (std::vector<std::string>{"..", "Gliders", "su-26.par", "Trainer.MDL"}));
  d.SetFilter(1);
  EXPECT_EQ(Names(d), (std::vector<std::string>{"..", "Gliders", "Trainer.MDL"}));
  d.EnterFolder("Gliders");
  EXPECT_EQ(Names(d), (std::vector<std::string>{".."}));
  d.EnterFolder("..");
  EXPECT_EQ(d.Folder().filename(), "Model");
  d.EnterFolder("missing");
  EXPECT_EQ(d.Folder().filename(), "Model");
}

TEST_F(OpenDialogTest, ListsModelsByKindPoweredThenGlidersThenHelicopters) {
  const fs::path dir = root / "Kinds";
  fs::create_directories(dir);
  // Style line, then the thrust (a .mdl has its title first); notes after the numbers.
  const std::pair<const char*, const char*> files[] = {
      {"a-heli.par", "1\tiModelStyle\n3.5\tMass\n"},
      {"b-glider.par", "0\tiModelStyle\n0\tMaxThrust\n"},
      {"c-sport.par", "0\n16\n"},
      {"d-glider.mdl", "glider\n0\tMaxThrust\n"},
      {"e-trainer.mdl", "trainer\n10\n"},
      {"f-broken.par", "\n"},
  };
  for (const auto& [name, text] : files) std::ofstream(dir / name) << text;
  OpenDialog d;
  d.Open("Flugmodell laden", kModelFilter, "", dir);
  EXPECT_EQ(Names(d),
            (std::vector<std::string>{"..", "c-sport.par", "e-trainer.mdl", "f-broken.par",
                                      "b-glider.par", "d-glider.mdl", "a-heli.par"}));
}

// Slope sites are the scenes that name their wind; one that does not read, or
// names a wind it cannot have, stays with the fields.
TEST_F(OpenDialogTest, ListsLandscapesFieldsThenSlopes) {
  const fs::path dir = root / "Landscape";
  fs::create_directories(dir);
  const std::pair<const char*, const char*> files[] = {
      {"a-ridge.scn", "SCENE 100 100 10 3D_LANDSCAPE h WIND 8 0 END"},
      {"b-field.scn", "SCENE 100 100 10 3D_LANDSCAPE h END"},
      {"c-cliff.scn", "// WIND 1 2 in a comment\nTEXTURE wind QUADS WIND 6.5 350 END"},
      {"d-broken.scn", "SCENE x WIND 8 0 END"},
      {"e-gale.scn", "WIND 45 0 END"},
  };
  for (const auto& [name, text] : files) std::ofstream(dir / name) << text;
  OpenDialog d;
  d.Open("Landschaft laden", "Landschaften|*.scn", "", dir);
  EXPECT_EQ(Names(d), (std::vector<std::string>{"..", "b-field.scn", "d-broken.scn", "e-gale.scn",
                                                "a-ridge.scn", "c-cliff.scn"}));
  EXPECT_EQ(d.Entries()[1].group, 0);
  EXPECT_EQ(d.Entries()[5].group, 1);
}

TEST_F(OpenDialogTest, ProposedFileIsSelectedAndPreviewedByItsPicture) {
  OpenDialog d;
  d.Open("t", kModelFilter, (root / "Model" / "su-26.par").string(), root);
  EXPECT_EQ(d.Selected(), "su-26.par");
  EXPECT_EQ(fs::path(d.Preview()).filename(), "su-26_prv.jpg");
  d.Select("Trainer.MDL");
  EXPECT_EQ(d.Preview(), "");  // no Trainer_prv.jpg
  d.Select("pic.bmp");         // a handled extension: its _prv.jpg, not itself
  EXPECT_EQ(d.Preview(), "");
  d.Select("su-26_prv.jpg");
  EXPECT_EQ(fs::path(d.Preview()).filename(), "su-26_prv.jpg");
  d.Select("su-26.par");
  EXPECT_EQ(fs::path(d.Accept()).filename(), "su-26.par");
  EXPECT_FALSE(d.IsOpen());
}

TEST_F(OpenDialogTest, AcceptNeedsAnExistingFile) {
  OpenDialog d;
  d.Open("t", kModelFilter, "nowhere/none.par", root / "Model");
  EXPECT_EQ(d.Folder().filename(), "Model");
  EXPECT_EQ(d.Accept(), "");
  EXPECT_TRUE(d.IsOpen());
  d.Select("");
  EXPECT_EQ(d.Accept(), "");
}

TEST_F(OpenDialogTest, PlacesLeadToTheShippedAndTheUsersFolders) {
  OpenDialog d;
  const fs::path own = root / "user" / "veltrane" / "Model";
  d.SetPlaces({{"Mitgeliefert", root / "Model"}, {"Eigene", own}});
  d.Open("t", kModelFilter, "", root / "Model" / "Gliders");
  EXPECT_EQ(d.CurrentPlace(), 0);  // a folder below a place counts as that place
  d.Select("su-26.par");
  d.GoToPlace(1);  // made on the way, so the user sees where their files go
  EXPECT_TRUE(fs::is_directory(own));
  EXPECT_EQ(d.Selected(), "");  // nothing of the other folder stays chosen or previewed
  EXPECT_EQ(d.Preview(), "");
  EXPECT_EQ(d.CurrentPlace(), 1);
  std::ofstream(own / "mine.par") << "x";
  d.GoToPlace(1);
  d.Select("mine.par");
  EXPECT_EQ(d.Accept(), (own / "mine.par").string());  // stored with its full path
  d.GoToPlace(7);                                      // out of range: stays
  EXPECT_EQ(d.CurrentPlace(), 1);
  d.EnterFolder("..");
  EXPECT_EQ(d.CurrentPlace(), -1);
}

}  // namespace
}  // namespace veltrane::ui
