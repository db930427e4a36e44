#pragma once

#include <cstdint>
#include <string>

namespace veltrane::loaders {

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4). Throws LoadError, naming `what`,
// for values an int32 cannot hold.
std::int32_t RoundToInt(double value, const std::string& what);

// A whole token as a number with the current locale's decimal separator (LC_NUMERIC), as
// the pilot and start positions are written. Only sign, digits, separator and exponent are
// accepted; anything else throws LoadError "'TOKEN' is not a valid floating point value".
double LocaleTokenToDouble(const std::string& token);

}  // namespace veltrane::loaders
