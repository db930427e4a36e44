#pragma once

#include <initializer_list>
#include <string>

namespace veltrane {

// The user-interface languages, in the order of their stored index (the
// "iLanguage" setting keeps the integer, so the order never changes).
namespace lang {

enum Language : int {
  kGerman = 0,
  kEnglish = 1,
  kSwedish = 2,
  kItalian = 3,
  kRussian = 4,
  kCzech = 5,
  kFrench = 6,
  kNorwegian = 7,
  kPortuguese = 8,
  kSpanish = 9,
  kPolish = 10,
  kJapanese = 11,
  kSlovak = 12,
  kGreek = 13,
  kDanish = 14,
  kDutch = 15,
  kChineseSimplified = 16,
  kChineseTraditional = 17,
};

inline constexpr int kCount = kChineseTraditional + 1;

// A stored index names a language only inside 0..17.
constexpr bool IsIndex(int index) { return index >= 0 && index < kCount; }

}  // namespace lang

// "de_DE.UTF-8@euro" -> "de"
std::string LocaleLanguageCode(const std::string& localeName);
// "de_CH.UTF-8" -> "CH"; empty without a territory.
std::string LocaleTerritory(const std::string& localeName);
// The first of the variables that is set and not empty, as the C library orders them.
std::string LocaleFromEnvironment(std::initializer_list<const char*> variables);

// The language of the user-interface for a locale name ("de_DE" -> German,
// "zh_TW" -> Traditional Chinese, "zh_CN" -> Simplified; anything unknown -> English).
lang::Language LanguageIndexForLocale(const std::string& localeName);
// The locale name the language comes from: LC_ALL, LC_MESSAGES or LANG.
std::string UserLocaleName();
// A readable name of the locale's language, for the trace.
std::string LanguageNameForLocale(const std::string& localeName);

}  // namespace veltrane
