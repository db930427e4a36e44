#pragma once

#include <cstdint>
#include <string>

namespace veltrane::loaders {

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4). Throws LoadError, naming `what`
// and quoting the number as `written` in the file, for values an int32 cannot hold.
std::int32_t RoundToInt(double value, const std::string& what, const std::string& written);

}  // namespace veltrane::loaders
