#include "ui/key_help.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/trace/trace.h"

namespace veltrane::ui {
namespace {

bool Lists(const std::vector<KeyHelpRow>& rows, const std::string& keys,
           const std::string& action) {
  for (const KeyHelpRow& r : rows)
    if (!r.heading && r.keys == keys && r.action == action) return true;
  return false;
}

// The list follows the live tables: the assignment as the user changed it,
// the slots of the model's kind only, every shortcut of the command table,
// in the language in force.
TEST(KeyHelp, ListsTheKeysInForceInTheLanguageInForce) {
  const LanguageTexts english = UpdateLanguage(lang::kEnglish, VELTRANE_DATA_DIR "/", Trace());
  const LanguageTexts german;
  TKeyForm keys;
  keys.KeyCode[4] = 'T';  // throttle open moved from V
  struct Case {
    const LanguageTexts* texts;
    int style;
    std::vector<std::pair<std::string, std::string>> listed, notListed;
  };
  const Case cases[] = {
      {&english,
       0,
       {{"T", "Throttle open"},
        {"F2", "Load..."},
        {"Ctrl+M", "Reload"},
        {"R", "Hand launch"},
        {"Num +", "Zoom in"},
        {"Esc", "Leave full screen"}},
       {{"V", "Throttle open"}, {"V", "Pitch full"}}},
      {&german,
       1,
       {{"V", "Pitch voll"}, {"R", "Handstart"}, {"F3", "Laden..."}},
       {{"T", "Motordrossel auf"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    const std::vector<KeyHelpRow> rows = KeyHelpRows(*c.texts, keys, c.style);
    for (const auto& [k, a] : c.listed) EXPECT_TRUE(Lists(rows, k, a)) << k << " " << a;
    for (const auto& [k, a] : c.notListed) EXPECT_FALSE(Lists(rows, k, a)) << k << " " << a;
    for (const KeyHelpRow& r : rows) EXPECT_FALSE(r.action.empty());
  }

  // The hint names the keys as assigned now, its placeholders all filled.
  const std::vector<std::string> lines = FirstFlightLines(english, keys, 0);
  std::string all;
  for (const std::string& l : lines) all += l + "\n";
  EXPECT_NE(all.find("Throttle open: T"), std::string::npos) << all;
  EXPECT_NE(all.find("R throws"), std::string::npos) << all;
  EXPECT_NE(all.find("Help > Key assignment lists"), std::string::npos) << all;
  EXPECT_EQ(all.find('{'), std::string::npos) << all;
}

}  // namespace
}  // namespace veltrane::ui
