#include "base/settings/settings_store.h"

#include <cstdlib>

#include "base/settings/safe_replace.h"

namespace veltrane {

namespace {

const std::string kFileName = "settings.ini";
const std::string kBadName = "settings.ini.bad";

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path folder, NumberFormat format,
                             std::vector<std::string> knownSections)
    : folder_(std::move(folder)),
      file_(folder_ / kFileName),
      format_(format),
      knownSections_(std::move(knownSections)) {
  Load();
}

SettingsStore::~SettingsStore() = default;

std::filesystem::path SettingsStore::DefaultFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return std::filesystem::path(xdg) / "veltrane";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / ".config" / "veltrane";
}

void SettingsStore::Load() {
  RemoveStaleTemporaries(folder_, kFileName);
  std::string data;
  if (!ReadBoundedRegularFile(file_, data, loadNote_)) {
    // Unreadable or oversized: the next save must not lose the only copy.
    keepBadCopy_ = !loadNote_.empty();
    if (keepBadCopy_)
      loadNote_ += "; " + kFileName + " starts from defaults and is kept as " + kBadName;
    return;
  }
  const ParseDamage damage = ParseSettings(data, knownSections_, sections_);
  if (damage.Any()) {
    keepBadCopy_ = true;
    loadNote_ = file_.string() + " is damaged (" + damage.Describe() +
                "); the rest is used and the file is kept as " + kBadName +
                " when settings are next saved";
  }
}

void SettingsStore::Flush() {
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  const FolderLock lock(folder_);
  WriteMerged();
}

void SettingsStore::WriteMerged() {
  // Another instance may have saved since this one read the file: its values
  // stay, and only what this one changed goes over them.
  if (!keepBadCopy_) {
    std::string data, note;
    SettingsSections disk;
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
  ReplaceFile(ReplacementTarget(file_), FormatSettings(sections_),
              keepBadCopy_ ? kBadName : std::string());
  dirty_ = false;
  keepBadCopy_ = false;
  changes_.clear();
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
  if (it != slot.end() && it->second == value)
    return;  // unchanged: another instance's value may win
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

}  // namespace veltrane
