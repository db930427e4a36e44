#pragma once

#include <optional>
#include <string>

namespace veltrane {

// How the user's locale writes numbers. Only the decimal separator matters here.
struct NumberFormat {
  char decimalSeparator = '.';

  // From LC_ALL, LC_NUMERIC or LANG (the first one set), as the C library orders them.
  static NumberFormat FromEnvironment();
  // For a locale name such as "de_DE.UTF-8".
  static NumberFormat ForLocale(const std::string& localeName);
};

// Numbers as settings text: the locale's separator, digits enough to read back
// exactly, and nothing that cannot be read back (no "inf", "nan" or hex).
std::string FormatFloat(double value, const NumberFormat& format);
std::optional<double> ParseFloat(const std::string& text, const NumberFormat& format);
std::optional<int> ParseInteger(const std::string& text);

}  // namespace veltrane
