#pragma once

#include <string>

namespace veltrane {

// Without the blanks and tabs at both ends: what INI lines and stored numbers may carry.
inline std::string TrimBlanks(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

}  // namespace veltrane
