#include "platform/settings/settings_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace veltrane {

namespace {

const std::string kFileName = "settings.ini";
const std::string kBadName = "settings.ini.bad";

std::string EnvOrEmpty(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

// "de_DE.UTF-8@euro" -> "de"
std::string LanguageCode(const std::string& locale) {
  std::string code;
  for (char c : locale) {
    if (c == '_' || c == '.' || c == '@' || c == '-') break;
    code += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return code;
}

std::string Territory(const std::string& locale) {
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

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
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
  const bool quote = !out.empty() && (out.front() == ' ' || out.front() == '\t' ||
                                      out.back() == ' ' || out.back() == '\t' || out.front() == '"');
  return quote ? "\"" + out + "\"" : out;
}

std::string DecodeValue(std::string v) {
  v = Trim(v);
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

// Settings files are a few kilobytes; this is far beyond any real one.
constexpr off_t kMaxFileSize = 1 << 20;

// Reads `path` only if it is a regular file of at most kMaxFileSize bytes. The
// open does not block (a FIFO in its place would wait for a writer forever) and
// the size is taken from the open file, so a device cannot feed it endlessly.
bool ReadBoundedRegularFile(const std::filesystem::path& path, std::string& data, std::string& note) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    if (errno != ENOENT) note = "cannot open " + path.string() + ": " + std::strerror(errno);
    return false;
  }
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0;
  if (ok && !S_ISREG(st.st_mode)) {
    note = path.string() + " is not a regular file; it is ignored";
    ok = false;
  } else if (ok && st.st_size > kMaxFileSize) {
    note = path.string() + " is larger than " + std::to_string(kMaxFileSize) + " bytes; it is ignored";
    ok = false;
  }
  if (ok) {
    data.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < data.size()) {
      const ssize_t n = ::read(fd, data.data() + done, data.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    data.resize(done);
  }
  ::close(fd);
  return ok;
}

void WriteAll(int fd, const std::string& data, const std::string& path) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
    }
    done += static_cast<std::size_t>(n);
  }
}

// What a file had that the program never writes.
struct ParseDamage {
  int badLines = 0;         // binary bytes, no "name=value", a bad name
  int outsideSection = 0;   // values before any section that are not known there
  int unknownSections = 0;

  bool Any() const { return badLines + outsideSection + unknownSections > 0; }
  std::string Describe() const {
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
};

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

// Tolerant: what is not "name=value" with a plain name is skipped, and so is
// everything under a section header that is not a known plain name.
ParseDamage ParseSettings(std::string data, const std::vector<std::string>& known,
                          std::map<std::string, std::map<std::string, std::string>>& out) {
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
    const std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#') continue;
    if (t[0] == '[') {
      const auto close = t.find(']');
      const std::string name = close == std::string::npos ? "" : Trim(t.substr(1, close - 1));
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
    const std::string name = eq == std::string::npos ? "" : Trim(t.substr(0, eq));
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

std::string FormatSettings(const std::map<std::string, std::map<std::string, std::string>>& sections) {
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

}  // namespace

NumberFormat NumberFormat::ForLocale(const std::string& localeName) {
  // Languages whose locales write a decimal comma.
  static const char* const kComma[] = {"de", "fr", "it", "es", "pt", "ru", "cs", "pl", "nl",
                                       "da", "sv", "nb", "nn", "no", "sk", "el", "fi", "tr",
                                       "hu", "ro", "bg", "uk", "hr", "sl", "sr", "lt", "lv",
                                       "et", "is", "ca", "eu", "gl", "id", "vi", "be"};
  const std::string lang = LanguageCode(localeName);
  NumberFormat f;
  if (lang == "de" && (Territory(localeName) == "CH" || Territory(localeName) == "LI")) return f;
  for (const char* c : kComma)
    if (lang == c) f.decimalSeparator = ',';
  return f;
}

NumberFormat NumberFormat::FromEnvironment() {
  for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const std::string v = EnvOrEmpty(var);
    if (!v.empty()) return ForLocale(v);
  }
  return NumberFormat{};
}

std::string UserLocaleName() {
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const std::string v = EnvOrEmpty(var);
    if (!v.empty()) return v;
  }
  return "C";
}

int LanguageIndexForLocale(const std::string& localeName) {
  struct Entry {
    const char* code;
    int index;
  };
  static const Entry kTable[] = {{"de", 0},  {"en", 1},  {"sv", 2},  {"it", 3},  {"ru", 4},
                                 {"cs", 5},  {"fr", 6},  {"nb", 7},  {"nn", 7},  {"no", 7},
                                 {"pt", 8},  {"es", 9},  {"pl", 10}, {"ja", 11}, {"sk", 12},
                                 {"el", 13}, {"da", 14}, {"nl", 15}};
  const std::string lang = LanguageCode(localeName);
  // Traditional Chinese only for Taiwan; every other Chinese locale is simplified.
  if (lang == "zh") return Territory(localeName) == "TW" ? 17 : 16;
  for (const auto& e : kTable)
    if (lang == e.code) return e.index;
  return 1;
}

std::string LanguageNameForLocale(const std::string& localeName) {
  static const char* const kNames[] = {
      "German",   "English", "Swedish", "Italian", "Russian", "Czech",
      "French",   "Norwegian", "Portuguese", "Spanish", "Polish", "Japanese",
      "Slovak",   "Greek",   "Danish",  "Dutch",   "Chinese (Simplified)", "Chinese (Traditional)"};
  const std::string lang = LanguageCode(localeName);
  if (lang == "en" || LanguageIndexForLocale(localeName) != 1)
    return kNames[LanguageIndexForLocale(localeName)];
  return "Other (" + localeName + ")";
}

SettingsStore::SettingsStore(std::filesystem::path folder, NumberFormat format,
                             std::vector<std::string> knownSections)
    : folder_(std::move(folder)), file_(folder_ / kFileName), format_(format),
      knownSections_(std::move(knownSections)) {
  Load();
}

SettingsStore::~SettingsStore() = default;

std::filesystem::path SettingsStore::DefaultFolder() {
  const std::string xdg = EnvOrEmpty("XDG_CONFIG_HOME");
  if (!xdg.empty() && xdg.front() == '/') return std::filesystem::path(xdg) / "veltrane";
  const std::string home = EnvOrEmpty("HOME");
  return std::filesystem::path(home.empty() ? "." : home) / ".config" / "veltrane";
}

void SettingsStore::Load() {
  RemoveStaleTemporaries();
  std::string data;
  if (!ReadBoundedRegularFile(file_, data, loadNote_)) {
    // Unreadable or oversized: the next save must not lose the only copy.
    keepBadCopy_ = !loadNote_.empty();
    if (keepBadCopy_) loadNote_ += "; " + kFileName + " starts from defaults and is kept as " + kBadName;
    return;
  }
  const ParseDamage damage = ParseSettings(data, knownSections_, sections_);
  if (damage.Any()) {
    keepBadCopy_ = true;
    loadNote_ = file_.string() + " is damaged (" + damage.Describe() + "); the rest is used and the file is kept as " +
                kBadName + " when settings are next saved";
  }
}

void SettingsStore::Flush() {
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  // One save at a time per folder; the lock goes with the process, even a killed one.
  const int lockFd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (lockFd >= 0) ::flock(lockFd, LOCK_EX);
  try {
    WriteMerged();
  } catch (...) {
    if (lockFd >= 0) ::close(lockFd);
    throw;
  }
  if (lockFd >= 0) ::close(lockFd);
}

void SettingsStore::WriteMerged() {
  // Another instance may have saved since this one read the file: its values
  // stay, and only what this one changed goes over them.
  if (!keepBadCopy_) {
    std::string data, note;
    std::map<std::string, std::map<std::string, std::string>> disk;
    const bool read = ReadBoundedRegularFile(file_, data, note);
    if (!read && !note.empty()) keepBadCopy_ = true;  // damaged since it was loaded
    if (read && ParseSettings(data, knownSections_, disk).Any()) keepBadCopy_ = true;
    if (read && !keepBadCopy_) {
      for (const auto& [section, values] : changes_)
        for (const auto& [name, value] : values) {
          if (value)
            disk[section][name] = *value;
          else if (auto d = disk.find(section); d != disk.end())
            d->second.erase(name);
        }
      sections_ = std::move(disk);
    }
  }
  const std::string out = FormatSettings(sections_);
  std::error_code ec;


  // A settings.ini that is a symbolic link (to a dotfiles repository, say) stays
  // one: the new text replaces the file it points to.
  std::filesystem::path target = file_;
  // A link to something that is no file (a device, say) is replaced instead.
  if (std::filesystem::is_symlink(file_, ec)) {
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(file_, ec);
    const auto kind = std::filesystem::status(resolved, ec).type();
    if (!resolved.empty() && (kind == std::filesystem::file_type::regular || kind == std::filesystem::file_type::not_found))
      target = resolved;
  }
  const std::filesystem::path targetFolder = target.parent_path();
  const std::string tmp = target.string() + ".tmp." + std::to_string(::getpid());
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) throw std::runtime_error("cannot create " + tmp + ": " + std::strerror(errno));
  try {
    WriteAll(fd, out, tmp);
    if (::fsync(fd) != 0) throw std::runtime_error("cannot sync " + tmp + ": " + std::strerror(errno));
  } catch (...) {
    ::close(fd);
    ::unlink(tmp.c_str());
    throw;
  }
  ::close(fd);
  if (keepBadCopy_) KeepBadCopy(target);
  if (std::rename(tmp.c_str(), target.c_str()) != 0) {
    const std::string err = std::strerror(errno);
    ::unlink(tmp.c_str());
    throw std::runtime_error("cannot replace " + target.string() + ": " + err);
  }
  // The rename itself must reach the disk too.
  const int dfd = ::open(targetFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  dirty_ = false;
  keepBadCopy_ = false;
  changes_.clear();
}

void SettingsStore::KeepBadCopy(const std::filesystem::path& target) const {
  // A hard link keeps even a huge file at no cost; the copy is for file
  // systems without links. A file that cannot be read cannot be copied either,
  // and is then still renamed aside rather than written over.
  const std::filesystem::path bad = target.parent_path() / kBadName;
  std::error_code ec;
  std::filesystem::remove(bad, ec);
  if (::link(target.c_str(), bad.c_str()) == 0) return;
  if (std::filesystem::copy_file(target, bad, ec)) return;
  std::rename(target.c_str(), bad.c_str());
}

void SettingsStore::RemoveStaleTemporaries() const {
  // Left behind by a run that was killed while saving; a live process's own
  // temporary file (another instance saving right now) is left alone.
  const std::string prefix = std::string(kFileName) + ".tmp.";
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const auto pid = ParseInteger(name.substr(prefix.size()));
    if (!pid || *pid <= 0) continue;
    if (*pid != ::getpid() && ::kill(*pid, 0) == 0) continue;
    if (*pid != ::getpid() && errno == EPERM) continue;  // alive, someone else's
    std::error_code rm;
    std::filesystem::remove(entry.path(), rm);
  }
}

bool SettingsStore::ValueExists(const std::string& section, const std::string& name) const {
  return ReadString(section, name).has_value();
}

std::optional<std::string> SettingsStore::ReadString(const std::string& section,
                                                     const std::string& name) const {
  const auto s = sections_.find(section);
  if (s == sections_.end()) return std::nullopt;
  const auto v = s->second.find(name);
  if (v == s->second.end()) return std::nullopt;
  return v->second;
}

std::string SettingsStore::ReadString(const std::string& section, const std::string& name,
                                      const std::string& def) const {
  return ReadString(section, name).value_or(def);
}

int SettingsStore::ReadInteger(const std::string& section, const std::string& name, int def) const {
  const auto text = ReadString(section, name);
  if (!text) return def;
  return ParseInteger(*text).value_or(def);
}

bool SettingsStore::ReadBool(const std::string& section, const std::string& name, bool def) const {
  const auto text = ReadString(section, name);
  if (!text) return def;
  const auto v = ParseInteger(*text);
  return v ? *v != 0 : def;
}

double SettingsStore::ReadFloat(const std::string& section, const std::string& name,
                                double def) const {
  const auto text = ReadString(section, name);
  if (!text) return def;
  return ParseFloat(*text, format_).value_or(def);
}

void SettingsStore::WriteString(const std::string& section, const std::string& name,
                                const std::string& value) {
  auto& slot = sections_[section];
  const auto it = slot.find(name);
  if (it != slot.end() && it->second == value) return;  // unchanged: another instance's value may win
  slot[name] = value;
  changes_[section][name] = value;
  dirty_ = true;
}

void SettingsStore::Remove(const std::string& section, const std::string& name) {
  const auto s = sections_.find(section);
  if (s == sections_.end() || s->second.erase(name) == 0) return;
  changes_[section][name] = std::nullopt;
  dirty_ = true;
}

void SettingsStore::WriteInteger(const std::string& section, const std::string& name, int value) {
  WriteString(section, name, std::to_string(value));
}

void SettingsStore::WriteBool(const std::string& section, const std::string& name, bool value) {
  WriteString(section, name, value ? "1" : "0");
}

void SettingsStore::WriteFloat(const std::string& section, const std::string& name, double value) {
  WriteString(section, name, FormatFloat(value, format_));
}

std::string SettingsStore::FormatFloat(double value, const NumberFormat& format) {
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

std::optional<double> SettingsStore::ParseFloat(const std::string& text, const NumberFormat& format) {
  std::string t = Trim(text);
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
    const bool ok = (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' ||
                    c == 'E';
    if (!ok) return std::nullopt;  // no "inf", "nan" or hex
  }
  double v = 0.0;
  const char* b = canon.data();
  const char* e = b + canon.size();
  const auto [p, ec] = std::from_chars(b, e, v, std::chars_format::general);
  if (ec != std::errc() || p != e || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int> SettingsStore::ParseInteger(const std::string& text) {
  std::string t = Trim(text);
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
