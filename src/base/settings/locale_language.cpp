#include "base/settings/locale_language.h"

#include <cstdlib>

namespace veltrane {

std::string LocaleLanguageCode(const std::string& locale) {
  std::string code;
  for (char c : locale) {
    if (c == '_' || c == '.' || c == '@' || c == '-') break;
    code += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return code;
}

std::string LocaleTerritory(const std::string& locale) {
  const auto us = locale.find_first_of("_-");
  if (us == std::string::npos) return {};
  std::string t;
  for (std::size_t i = us + 1; i < locale.size(); ++i) {
    const char c = locale[i];
    if (c == '.' || c == '@') break;
    t += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  }
  return t;
}

std::string LocaleFromEnvironment(std::initializer_list<const char*> variables) {
  for (const char* var : variables) {
    const char* v = std::getenv(var);
    if (v && *v) return v;
  }
  return {};
}

std::string UserLocaleName() {
  const std::string locale = LocaleFromEnvironment({"LC_ALL", "LC_MESSAGES", "LANG"});
  return locale.empty() ? "C" : locale;
}

lang::Language LanguageIndexForLocale(const std::string& localeName) {
  using namespace lang;
  struct Entry {
    const char* code;
    Language language;
  };
  static const Entry kTable[] = {{"de", kGerman},    {"en", kEnglish},    {"sv", kSwedish},
                                 {"it", kItalian},   {"ru", kRussian},    {"cs", kCzech},
                                 {"fr", kFrench},    {"nb", kNorwegian},  {"nn", kNorwegian},
                                 {"no", kNorwegian}, {"pt", kPortuguese}, {"es", kSpanish},
                                 {"pl", kPolish},    {"ja", kJapanese},   {"sk", kSlovak},
                                 {"el", kGreek},     {"da", kDanish},     {"nl", kDutch}};
  const std::string code = LocaleLanguageCode(localeName);
  // Traditional Chinese only for Taiwan; every other Chinese locale is simplified.
  if (code == "zh")
    return LocaleTerritory(localeName) == "TW" ? kChineseTraditional : kChineseSimplified;
  for (const auto& e : kTable)
    if (code == e.code) return e.language;
  return kEnglish;
}

std::string LanguageNameForLocale(const std::string& localeName) {
  static const char* const kNames[lang::kCount] = {"German",
                                                   "English",
                                                   "Swedish",
                                                   "Italian",
                                                   "Russian",
                                                   "Czech",
                                                   "French",
                                                   "Norwegian",
                                                   "Portuguese",
                                                   "Spanish",
                                                   "Polish",
                                                   "Japanese",
                                                   "Slovak",
                                                   "Greek",
                                                   "Danish",
                                                   "Dutch",
                                                   "Chinese (Simplified)",
                                                   "Chinese (Traditional)"};
  const lang::Language language = LanguageIndexForLocale(localeName);
  if (LocaleLanguageCode(localeName) == "en" || language != lang::kEnglish) return kNames[language];
  return "Other (" + localeName + ")";
}

}  // namespace veltrane
