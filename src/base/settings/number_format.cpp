#include "base/settings/number_format.h"

#include <charconv>
#include <cmath>

#include "base/settings/blank_trim.h"
#include "base/settings/locale_language.h"

namespace veltrane {

NumberFormat NumberFormat::ForLocale(const std::string& localeName) {
  // Languages whose locales write a decimal comma.
  static const char* const kComma[] = {"de", "fr", "it", "es", "pt", "ru", "cs", "pl", "nl",
                                       "da", "sv", "nb", "nn", "no", "sk", "el", "fi", "tr",
                                       "hu", "ro", "bg", "uk", "hr", "sl", "sr", "lt", "lv",
                                       "et", "is", "ca", "eu", "gl", "id", "vi", "be"};
  const std::string lang = LocaleLanguageCode(localeName);
  NumberFormat f;
  if (lang == "de" && (LocaleTerritory(localeName) == "CH" || LocaleTerritory(localeName) == "LI"))
    return f;
  for (const char* c : kComma)
    if (lang == c) f.decimalSeparator = ',';
  return f;
}

NumberFormat NumberFormat::FromEnvironment() {
  const std::string locale = LocaleFromEnvironment({"LC_ALL", "LC_NUMERIC", "LANG"});
  return locale.empty() ? NumberFormat{} : ForLocale(locale);
}

std::string FormatFloat(double value, const NumberFormat& format) {
  if (!std::isfinite(value)) value = 0.0;  // never store text that cannot be read back
  // 15 significant digits as a rule; more only where 15 would not read back to
  // the same number, so a stored position returns exactly.
  // std::to_chars and std::from_chars ignore the C locale, so the separator is ours alone.
  char buf[64];
  std::string s;
  for (int digits = 15; digits <= 17; ++digits) {
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
    s.assign(buf, r.ptr);
    double back = 0.0;
    std::from_chars(s.data(), s.data() + s.size(), back);
    if (back == value) break;
  }
  // Exponent as "E" with its sign only when negative and no leading zeros: 1E20, 1,5E-7.
  const auto e = s.find('e');
  if (e != std::string::npos) {
    std::string mant = s.substr(0, e);
    std::string exp = s.substr(e + 1);
    bool neg = false;
    if (!exp.empty() && (exp[0] == '+' || exp[0] == '-')) {
      neg = exp[0] == '-';
      exp.erase(0, 1);
    }
    while (exp.size() > 1 && exp[0] == '0') exp.erase(0, 1);
    s = mant + "E" + (neg ? "-" : "") + exp;
  }
  for (char& c : s)
    if (c == '.') c = format.decimalSeparator;
  return s;
}

std::optional<double> ParseFloat(const std::string& text, const NumberFormat& format) {
  std::string t = TrimBlanks(text);
  if (t.empty()) return std::nullopt;
  // Only the locale's own separator is a decimal point.
  std::string canon;
  for (char c : t) {
    if (c == format.decimalSeparator)
      canon += '.';
    else if (c == '.' || c == ',')
      return std::nullopt;
    else
      canon += c;
  }
  if (canon[0] == '+') canon.erase(0, 1);
  if (canon.empty()) return std::nullopt;
  for (char c : canon) {
    const bool ok =
        (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
    if (!ok) return std::nullopt;  // no "inf", "nan" or hex
  }
  double v = 0.0;
  const char* b = canon.data();
  const char* e = b + canon.size();
  const auto [p, ec] = std::from_chars(b, e, v, std::chars_format::general);
  if (ec != std::errc() || p != e || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int> ParseInteger(const std::string& text) {
  std::string t = TrimBlanks(text);
  if (!t.empty() && t[0] == '+') t.erase(0, 1);
  if (t.empty()) return std::nullopt;
  int v = 0;
  const char* b = t.data();
  const char* e = b + t.size();
  const auto [p, ec] = std::from_chars(b, e, v, 10);
  if (ec != std::errc() || p != e) return std::nullopt;
  return v;
}

}  // namespace veltrane
