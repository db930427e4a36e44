#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/settings/locale_language.h"
#include "base/trace/trace.h"

namespace veltrane::ui {

inline constexpr int kLanguageCount = lang::kCount;

// One translated text: the window's section, the key, the German design text.
struct LanguageKey {
  const char* section;
  const char* key;
  const char* german;
};

// Every key a language file carries, in reading order.
const std::vector<LanguageKey>& LanguageKeys();

// "German.ini" for 0 ... "Chinese_Traditional.ini" for 17; empty outside 0..17.
std::string LanguageFileName(int index);
// The Windows code page older files of that language were written in ("CP1252", ...).
const char* LanguageCodePage(int index);

bool IsValidUtf8(std::string_view bytes);
// The file's text as UTF-8: kept when it already is (a byte-order mark dropped),
// otherwise converted from the language's code page. Bytes the code page does
// not define become U+FFFD.
std::string DecodeLanguageFile(const std::string& bytes, int index);

// The texts in force: the German defaults, replaced key by key from a language file.
class LanguageTexts {
 public:
  LanguageTexts();

  // The text of a key; the German default while no file replaced it. Keys that are
  // not translated at all return `fallback`.
  const std::string& Text(std::string_view section, std::string_view key) const;
  const std::string& Text(std::string_view section, std::string_view key,
                          const std::string& fallback) const;
  // A component's caption: Text(section, component + ".Caption").
  const std::string& Caption(std::string_view section, std::string_view component) const;
  bool Has(std::string_view section, std::string_view key) const;

  // Every text in force, joined, for the font's glyph choice.
  std::string AllText() const;

  // Replaces the texts from `text` (INI, UTF-8). Keys missing there keep their
  // German default; keys the program does not know are returned.
  std::vector<std::string> Apply(const std::string& text);
  // Back to the German defaults.
  void Reset();

 private:
  std::size_t Find(std::string_view section, std::string_view key) const;
  std::vector<std::string> texts_;  // parallel to LanguageKeys()
};

// Reads Language/<file> below exePath for `index` into fresh texts: the German
// defaults for an index outside 0..17 or a missing file.
LanguageTexts UpdateLanguage(int index, const std::string& exePath, const Trace& trace);

}  // namespace veltrane::ui
