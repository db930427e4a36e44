#include "ui/ui_map.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/temp_dir.h"

namespace veltrane::ui {
namespace {

std::string Read(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(UiMap, JsonLinesEscapeTheirTexts) {
  const std::vector<std::pair<UiMapEntry, std::string>> cases = {
      {{"wind_dialog", "Wind einstellen...", 195, 30, 180, 19},
       R"({"id": "wind_dialog", "label": "Wind einstellen...", "x": 195, "y": 30, "w": 180, "h": 19})"},
      {{"ok", "Ок", 0, 0, 100, 19},
       R"({"id": "ok", "label": "Ок", "x": 0, "y": 0, "w": 100, "h": 19})"},
      {{"q", "a\"b\\c\n", -1, 2, 3, 4},
       R"({"id": "q", "label": "a\"b\\c\n", "x": -1, "y": 2, "w": 3, "h": 4})"},
      {{"t", std::string("x\x01"), 1, 1, 1, 1},
       R"({"id": "t", "label": "x\u0001", "x": 1, "y": 1, "w": 1, "h": 1})"},
  };
  for (const auto& [entry, line] : cases) EXPECT_EQ(UiMap::JsonLine(entry), line);
}

TEST(UiMap, WritesAFrameOnlyWhenItChanged) {
  test_support::TempDir dir;
  const auto path = dir.path() / "map.jsonl";
  UiMap map(path.string());
  ASSERT_TRUE(map.On());
  map.Add({"init", "Initialisieren", 10, 20, 30, 40});
  ASSERT_TRUE(map.EndFrame());
  const std::string first = Read(path);
  EXPECT_EQ(first, UiMap::JsonLine({"init", "Initialisieren", 10, 20, 30, 40}) + "\n");

  std::filesystem::remove(path);  // an unchanged frame must not write again
  map.Add({"init", "Initialisieren", 10, 20, 30, 40});
  ASSERT_TRUE(map.EndFrame());
  EXPECT_FALSE(std::filesystem::exists(path));

  map.Add({"init", "Initialisieren", 10, 20, 30, 40});
  map.Add({"pause", "Pause", 10, 60, 30, 40});
  ASSERT_TRUE(map.EndFrame());
  EXPECT_EQ(Read(path), first + UiMap::JsonLine({"pause", "Pause", 10, 60, 30, 40}) + "\n");

  ASSERT_TRUE(map.EndFrame());  // nothing shown is a change too
  EXPECT_EQ(Read(path), "");
}

TEST(UiMap, OffWithoutAPath) {
  UiMap map("");
  EXPECT_FALSE(map.On());
  map.Add({"init", "Initialisieren", 0, 0, 1, 1});
  EXPECT_TRUE(map.EndFrame());
}

}  // namespace
}  // namespace veltrane::ui
