#include "loaders/scene_numbers.h"

#include <cctype>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>

#include "loaders/load_error.h"

namespace veltrane::loaders {

std::int32_t RoundToInt(double value, const std::string& what) {
  if (!std::isfinite(value) || value < -2147483648.5 || value > 2147483647.5)
    throw LoadError("Error: " + what + " value " + std::to_string(value) + " is out of range");
  double r = std::floor(value);
  const double frac = value - r;
  if (frac > 0.5 || (frac == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
  if (r > 2147483647.0 || r < -2147483648.0)
    throw LoadError("Error: " + what + " value " + std::to_string(value) + " is out of range");
  return static_cast<std::int32_t>(r);
}

double LocaleTokenToDouble(const std::string& token) {
  const std::string sep = std::localeconv()->decimal_point;
  const auto fail = [&]() -> double {
    throw LoadError("'" + token + "' is not a valid floating point value");
  };
  // strtod alone would also take "INF", "NAN" and hex numbers.
  std::size_t i = 0;
  const auto digits = [&] {
    const std::size_t start = i;
    while (i < token.size() && std::isdigit(static_cast<unsigned char>(token[i]))) ++i;
    return i - start;
  };
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
  std::size_t mantissa = digits();
  if (!sep.empty() && token.compare(i, sep.size(), sep) == 0) {
    i += sep.size();
    mantissa += digits();
  }
  if (mantissa == 0) return fail();
  if (i < token.size() && (token[i] == 'E' || token[i] == 'e')) {
    ++i;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
    if (digits() == 0) return fail();
  }
  if (i != token.size()) return fail();

  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(token.c_str(), &end);
  if (end != token.c_str() + token.size() || errno == ERANGE || !std::isfinite(value)) return fail();
  return value;
}

}  // namespace veltrane::loaders
