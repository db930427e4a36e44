#include "ui/language.h"

#include <iconv.h>
#include <ini.h>
#include <strings.h>

#include <cerrno>
#include <fstream>
#include <iterator>

namespace veltrane::ui {

namespace {

struct LanguageInfo {
  const char* file;
  const char* codePage;
};

// In the order of lang::Language.
constexpr LanguageInfo kLanguages[kLanguageCount] = {
    {"German.ini", "CP1252"},
    {"English.ini", "CP1252"},
    {"Swedish.ini", "CP1252"},
    {"Italian.ini", "CP1252"},
    {"Russian.ini", "CP1251"},
    {"Czech.ini", "CP1250"},
    {"French.ini", "CP1252"},
    {"Norwegian.ini", "CP1252"},
    {"Portugues.ini", "CP1252"},
    {"Spanish.ini", "CP1252"},
    {"Polish.ini", "CP1250"},
    {"Japanese.ini", "CP932"},
    {"Slovak.ini", "CP1250"},
    {"Greek.ini", "CP1253"},
    {"Danish.ini", "CP1252"},
    {"Dutch.ini", "CP1252"},
    {"Chinese_Simplified.ini", "CP936"},
    {"Chinese_Traditional.ini", "CP950"},
};

bool SameName(std::string_view a, std::string_view b) {
  // The profile format compares section and key names without regard to case.
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string FromCodePage(const std::string& bytes, const char* codePage) {
  iconv_t cd = iconv_open("UTF-8", codePage);
  if (cd == reinterpret_cast<iconv_t>(-1)) return bytes;
  std::string out;
  char buffer[1024];
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* o = buffer;
    std::size_t oLeft = sizeof buffer;
    const std::size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    out.append(buffer, o);
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // A byte the code page does not define, or a truncated double-byte character.
      out += "\xEF\xBF\xBD";
      ++in;
      --inLeft;
    }
  }
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  iconv_close(cd);
  return out;
}

struct ApplyContext {
  LanguageTexts* texts;
  std::vector<std::string>* unknown;
};

}  // namespace

std::string LanguageFileName(int index) {
  return lang::IsIndex(index) ? kLanguages[index].file : "";
}

const char* LanguageCodePage(int index) {
  return lang::IsIndex(index) ? kLanguages[index].codePage : "CP1252";
}

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    char32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;
    for (std::size_t k = 1; k <= n; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond U+10FFFF.
    if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || (cp >= 0xD800 && cp <= 0xDFFF) ||
        cp > 0x10FFFF)
      return false;
    i += n + 1;
  }
  return true;
}

std::string DecodeLanguageFile(const std::string& bytes, int index) {
  if (IsValidUtf8(bytes)) return bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(3) : bytes;
  return FromCodePage(bytes, LanguageCodePage(index));
}

LanguageTexts::LanguageTexts() { Reset(); }

void LanguageTexts::Reset() {
  texts_.clear();
  for (const LanguageKey& k : LanguageKeys()) texts_.emplace_back(k.german);
}

std::size_t LanguageTexts::Find(std::string_view section, std::string_view key) const {
  const auto& keys = LanguageKeys();
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (SameName(keys[i].section, section) && SameName(keys[i].key, key)) return i;
  return keys.size();
}

bool LanguageTexts::Has(std::string_view section, std::string_view key) const {
  return Find(section, key) < texts_.size();
}

const std::string& LanguageTexts::Text(std::string_view section, std::string_view key,
                                       const std::string& fallback) const {
  const std::size_t i = Find(section, key);
  return i < texts_.size() ? texts_[i] : fallback;
}

const std::string& LanguageTexts::Text(std::string_view section, std::string_view key) const {
  static const std::string empty;
  return Text(section, key, empty);
}

const std::string& LanguageTexts::Caption(std::string_view section,
                                          std::string_view component) const {
  return Text(section, std::string(component) + ".Caption");
}

std::string LanguageTexts::AllText() const {
  std::string all;
  for (const std::string& t : texts_) all += t;
  return all;
}

std::vector<std::string> LanguageTexts::Apply(const std::string& text) {
  std::vector<std::string> unknown;
  ApplyContext ctx{this, &unknown};
  const int badLine = ini_parse_string(
      text.c_str(),
      [](void* user, const char* section, const char* name, const char* value) -> int {
        auto* c = static_cast<ApplyContext*>(user);
        const std::size_t i = c->texts->Find(section, name);
        if (i < c->texts->texts_.size())
          c->texts->texts_[i] = value;
        else
          c->unknown->push_back(std::string(section) + "/" + name);
        return 1;
      },
      &ctx);
  // Lines without "=" and lines longer than the reader takes (about 200 bytes).
  if (badLine > 0) unknown.push_back("line " + std::to_string(badLine));
  return unknown;
}

LanguageTexts UpdateLanguage(int index, const std::string& exePath, const Trace& trace) {
  trace("Language.UpdateLanguage Language: " + std::to_string(index) + "\r\n");
  LanguageTexts texts;
  const std::string file = LanguageFileName(index);
  if (file.empty()) return texts;
  std::string path = exePath;
  if (!path.empty() && path.back() != '/') path += '/';
  path += "Language/" + file;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    trace("Language.UpdateLanguage missing file " + path + "\r\n");
    return texts;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const std::string& k : texts.Apply(DecodeLanguageFile(bytes, index)))
    trace("Language.UpdateLanguage not read: " + k + "\r\n");
  return texts;
}

}  // namespace veltrane::ui
