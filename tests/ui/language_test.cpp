#include "ui/language.h"

#include <gtest/gtest.h>
#include <ini.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace veltrane::ui {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

// Every key=value line of a file, and the lines that are not one.
struct RawIni {
  std::map<std::pair<std::string, std::string>, std::string> values;
  std::vector<std::string> duplicates;
  int badLine = 0;
};

RawIni ParseRaw(const std::string& text) {
  RawIni raw;
  raw.badLine = ini_parse_string(
      text.c_str(),
      [](void* u, const char* section, const char* key, const char* value) -> int {
        auto* r = static_cast<RawIni*>(u);
        if (!r->values.emplace(std::make_pair(section, key), value).second)
          r->duplicates.push_back(std::string(section) + "/" + key);
        return 1;
      },
      &raw);
  return raw;
}

TEST(LanguageFiles, EveryShippedFileIsCompleteValidUtf8AndGermanIsTheDefault) {
  const fs::path folder = fs::path(VELTRANE_DATA_DIR) / "Language";
  const auto& keys = LanguageKeys();
  EXPECT_EQ(keys.size() + 1, 268u) << "268 texts with the main caption read twice";
  for (int index = 0; index < kLanguageCount; ++index) {
    const std::string file = LanguageFileName(index);
    SCOPED_TRACE(file);
    const std::string bytes = ReadBytes(folder / file);
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(IsValidUtf8(bytes));
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) {
      EXPECT_LT(line.size(), 200u) << "longer than the reader takes: " << line;
      EXPECT_EQ(line.find(" ;"), std::string::npos) << "would be cut as a comment: " << line;
    }
    const RawIni raw = ParseRaw(bytes);
    EXPECT_EQ(raw.badLine, 0);
    EXPECT_TRUE(raw.duplicates.empty()) << raw.duplicates.front();
    std::set<std::pair<std::string, std::string>> known;
    for (const LanguageKey& k : keys) {
      known.emplace(k.section, k.key);
      auto it = raw.values.find({k.section, k.key});
      if (it == raw.values.end()) {
        ADD_FAILURE() << "missing " << k.section << "/" << k.key;
        continue;
      }
      EXPECT_FALSE(it->second.empty()) << k.section << "/" << k.key;
      if (index == 0) {
        EXPECT_EQ(it->second, k.german) << k.section << "/" << k.key;
      }
    }
    for (const auto& [name, value] : raw.values)
      EXPECT_TRUE(known.count(name)) << "unknown key " << name.first << "/" << name.second;
  }
}

TEST(UpdateLanguage, AMissingKeyKeepsItsGermanTextAndOutOfRangeReadsNoFile) {
  test_support::TempDir dir;
  const fs::path lang = dir.path() / "Language";
  std::string english = ReadBytes(fs::path(VELTRANE_DATA_DIR) / "Language" / "English.ini");
  const auto at = english.find("Info1.Caption=");
  ASSERT_NE(at, std::string::npos);
  english.erase(at, english.find('\n', at) + 1 - at);
  WriteBytes(lang / "English.ini", english);
  // Files an index out of range must not reach.
  WriteBytes(lang / "German.ini", "[MainForm]\nInfo1.Caption=wrong\n");
  WriteBytes(lang / "Chinese_Traditional.ini", "[MainForm]\nInfo1.Caption=wrong\n");

  TraceCapture trace;
  LanguageTexts t = UpdateLanguage(1, dir.path().string(), trace.Sink());
  EXPECT_TRUE(trace.Contains("Language.UpdateLanguage Language: 1\r\n"));
  EXPECT_EQ(t.Caption("MainForm", "Info1"), "&Info");
  EXPECT_EQ(t.Caption("MainForm", "Datei1"), "&File");
  EXPECT_EQ(t.Caption("MainForm", "Hilfe1"), "&Help");
  EXPECT_EQ(t.Text("MainForm", "sMainForm005"), "Altitude:");

  for (int index : {18, 19, -1}) {
    SCOPED_TRACE(index);
    t = UpdateLanguage(index, dir.path().string(), trace.Sink());
    for (const LanguageKey& k : LanguageKeys()) EXPECT_EQ(t.Text(k.section, k.key), k.german);
  }
  // A language without its file keeps every default, too.
  t = UpdateLanguage(4, dir.path().string(), trace.Sink());
  EXPECT_EQ(t.Caption("MainForm", "Datei1"), "&Datei");
  EXPECT_EQ(t.AllText(), LanguageTexts().AllText());
}

TEST(UpdateLanguage, FilesInTheLanguagesOldCodePagesShowTheRightCharacters) {
  struct Case {
    int index;
    const char* bytes;  // the value as the code page stores it
    const char* utf8;
  };
  const Case cases[] = {
      {4, "&\xD4\xE0\xE9\xEB", "&Файл"},                     // cp1251
      {11, "\x83\x74\x83\x40\x83\x43\x83\x8B", "ファイル"},  // cp932, trail bytes in ASCII range
      {5, "P\xF8ibl\xED\x9Eit", "Přiblížit"},                // cp1250
      {13, "\xBE\xF8\xEF\xF2", "Ύψος"},                      // cp1253
      {16, "\xC8\xC8\xC6\xF8\xC1\xF7", "热气流"},            // cp936
      {17, "\xBC\xF6\xAE\xF0\xAC\x79", "熱氣流"},            // cp950
      {0, "H\xF6he", "Höhe"},                                // cp1252
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    test_support::TempDir dir;
    WriteBytes(dir.path() / "Language" / LanguageFileName(c.index),
               std::string("[MainForm]\r\nDatei1.Caption=") + c.bytes + "\r\n");
    const LanguageTexts t = UpdateLanguage(c.index, dir.path().string(), Trace());
    EXPECT_EQ(t.Caption("MainForm", "Datei1"), c.utf8);
  }
  // UTF-8 stays as it is, a byte-order mark is dropped.
  EXPECT_EQ(DecodeLanguageFile("\xEF\xBB\xBF[A]\nk=Файл\n", 4), "[A]\nk=Файл\n");
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
  EXPECT_FALSE(IsValidUtf8("ab\xE3\x83"));    // cut short
  EXPECT_TRUE(IsValidUtf8("Höhe ファイル \xF0\x9F\x9B\xA9"));
}

}  // namespace
}  // namespace veltrane::ui
