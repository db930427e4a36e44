#pragma once

#include <map>
#include <string>
#include <vector>

namespace veltrane {

// Section -> name -> value; the unnamed section "" is the product's own.
using SettingsSections = std::map<std::string, std::map<std::string, std::string>>;

// What a file had that the program never writes.
struct ParseDamage {
  int badLines = 0;        // binary bytes, no "name=value", a bad name
  int outsideSection = 0;  // values before any section that are not known there
  int unknownSections = 0;

  bool Any() const { return badLines + outsideSection + unknownSections > 0; }
  std::string Describe() const;
};

// Reads INI text into `out`. Tolerant: what is not "name=value" with a plain
// name is skipped and counted, and so is everything under a section header that
// is not a known plain name (`known` empty: every section is known). The
// unnamed section is kept in the file as "[Veltrane]".
ParseDamage ParseSettings(std::string data, const std::vector<std::string>& known,
                          SettingsSections& out);
// The text ParseSettings reads back to the same sections (empty sections left out).
std::string FormatSettings(const SettingsSections& sections);

}  // namespace veltrane
