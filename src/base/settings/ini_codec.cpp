#include "base/settings/ini_codec.h"

#include <cctype>
#include <cstdio>

#include "base/settings/blank_trim.h"

namespace veltrane {

namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '.' || c == '-';
}

bool IsValidName(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!IsNameChar(c)) return false;
  return true;
}

bool HasControlBytes(const std::string& s) {
  for (unsigned char c : s)
    if ((c < 0x20 && c != '\t') || c == 0x7F) return true;
  return false;
}

// Values are stored as they are; only line breaks and backslashes are escaped,
// and a value with blanks at its ends or a leading quote is quoted.
std::string EncodeValue(const std::string& v) {
  std::string out;
  for (char c : v) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(c));
      out += buf;
    } else
      out += c;
  }
  const bool quote =
      !out.empty() && (out.front() == ' ' || out.front() == '\t' || out.back() == ' ' ||
                       out.back() == '\t' || out.front() == '"');
  return quote ? "\"" + out + "\"" : out;
}

std::string DecodeValue(std::string v) {
  v = TrimBlanks(v);
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
  std::string out;
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i] == '\\' && i + 1 < v.size()) {
      const char n = v[i + 1];
      if (n == '\\') {
        out += '\\';
        ++i;
        continue;
      }
      if (n == 'n') {
        out += '\n';
        ++i;
        continue;
      }
      if (n == 'r') {
        out += '\r';
        ++i;
        continue;
      }
      if (n == 'x' && i + 3 < v.size() && std::isxdigit(static_cast<unsigned char>(v[i + 2])) &&
          std::isxdigit(static_cast<unsigned char>(v[i + 3]))) {
        out += static_cast<char>(std::stoi(v.substr(i + 2, 2), nullptr, 16));
        i += 3;
        continue;
      }
    }
    out += v[i];
  }
  return out;
}

// Values in front of every section: the product key's own values, which the
// file keeps under a section of the product's name.
constexpr const char* kRootSection = "Veltrane";
bool IsKnownRootName(const std::string& name) { return name == "IgnoreDirectXCheck"; }

bool IsKnownSection(const std::string& name, const std::vector<std::string>& known) {
  if (known.empty()) return true;
  for (const std::string& k : known)
    if (k == name) return true;
  return false;
}

}  // namespace

std::string ParseDamage::Describe() const {
  std::string d;
  auto add = [&](int n, const char* what) {
    if (n == 0) return;
    if (!d.empty()) d += ", ";
    d += std::to_string(n) + " " + what;
  };
  add(badLines, "unreadable lines");
  add(outsideSection, "values outside any section");
  add(unknownSections, "unknown sections");
  return d + " skipped";
}

ParseDamage ParseSettings(std::string data, const std::vector<std::string>& known,
                          SettingsSections& out) {
  ParseDamage damage;
  // An editor's UTF-8 byte-order mark would otherwise hide the first section header.
  if (data.compare(0, 3, "\xEF\xBB\xBF") == 0) data.erase(0, 3);
  std::string section;
  bool inRoot = true;
  bool sectionValid = true;
  std::size_t pos = 0;
  while (pos < data.size()) {
    std::size_t end = data.find('\n', pos);
    if (end == std::string::npos) end = data.size();
    std::string line = data.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (HasControlBytes(line)) {  // never written by us: damage
      ++damage.badLines;
      continue;
    }
    const std::string t = TrimBlanks(line);
    if (t.empty() || t[0] == ';' || t[0] == '#') continue;
    if (t[0] == '[') {
      const auto close = t.find(']');
      const std::string name = close == std::string::npos ? "" : TrimBlanks(t.substr(1, close - 1));
      inRoot = false;
      if (close == std::string::npos || !IsValidName(name)) {
        ++damage.badLines;
        sectionValid = false;
      } else if (name == kRootSection) {
        section.clear();
        sectionValid = true;
      } else if (!IsKnownSection(name, known)) {
        ++damage.unknownSections;
        sectionValid = false;
      } else {
        section = name;
        sectionValid = true;
      }
      continue;
    }
    if (!sectionValid) continue;
    const auto eq = t.find('=');
    const std::string name = eq == std::string::npos ? "" : TrimBlanks(t.substr(0, eq));
    if (!IsValidName(name)) {
      ++damage.badLines;
      continue;
    }
    if (inRoot && !IsKnownRootName(name)) {
      ++damage.outsideSection;
      continue;
    }
    out[section][name] = DecodeValue(t.substr(eq + 1));
  }
  return damage;
}

std::string FormatSettings(const SettingsSections& sections) {
  std::string out;
  auto emit = [&](const std::string& header, const std::map<std::string, std::string>& values) {
    if (!out.empty()) out += "\n";
    out += "[" + header + "]\n";
    for (const auto& [name, value] : values) out += name + "=" + EncodeValue(value) + "\n";
  };
  for (const auto& [section, values] : sections)
    if (!values.empty()) emit(section.empty() ? kRootSection : section, values);
  return out;
}

}  // namespace veltrane
