#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/settings/ini_codec.h"
#include "base/settings/number_format.h"

namespace veltrane {

// Settings in one INI file: sections are the windows' names ("MainForm", "KeyForm",
// ...); the unnamed section "" holds the product's own values and is kept in the
// file as "[Veltrane]" (values before any section are read into it). Every value is
// text; the typed readers fall back to the default for text they cannot read.
// Nothing reaches the disk before Flush, which replaces the file atomically.
class SettingsStore {
 public:
  // The file settings.ini in folder; a missing or unreadable file gives no
  // values, and so does anything that is not a regular file of at most 1 MB.
  // Temporary files of earlier runs that were killed while saving are removed.
  // With `knownSections`, other sections in the file are dropped on reading
  // (the unnamed section is always known); without, every section is kept.
  explicit SettingsStore(std::filesystem::path folder,
                         NumberFormat format = NumberFormat::FromEnvironment(),
                         std::vector<std::string> knownSections = {});
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // $XDG_CONFIG_HOME/veltrane, else ~/.config/veltrane.
  static std::filesystem::path DefaultFolder();

  const std::filesystem::path& FilePath() const { return file_; }
  // Why the file was not read although something is there (not a regular
  // file, too large, unreadable); empty when it was read or is simply missing.
  const std::string& LoadNote() const { return loadNote_; }
  const NumberFormat& Format() const { return format_; }

  bool ValueExists(const std::string& section, const std::string& name) const;
  std::optional<std::string> ReadString(const std::string& section, const std::string& name) const;
  std::string ReadString(const std::string& section, const std::string& name,
                         const std::string& def) const;
  int ReadInteger(const std::string& section, const std::string& name, int def) const;
  // Any integer other than 0 is true; text that is not an integer gives def.
  bool ReadBool(const std::string& section, const std::string& name, bool def) const;
  // In the locale's number format; text that does not convert gives def.
  double ReadFloat(const std::string& section, const std::string& name, double def) const;

  void WriteString(const std::string& section, const std::string& name, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& name, int value);
  void WriteBool(const std::string& section, const std::string& name, bool value);
  void WriteFloat(const std::string& section, const std::string& name, double value);
  void Remove(const std::string& section, const std::string& name);

  // Writes the whole file through a temporary file, fsync and rename. Throws
  // std::runtime_error when the folder or file cannot be written.
  void Flush();
  bool Dirty() const { return dirty_; }
  // Section -> name -> value, as read and written so far.
  const SettingsSections& AllValues() const { return sections_; }

 private:
  void Load();
  void WriteMerged();

  std::filesystem::path folder_;
  std::filesystem::path file_;
  NumberFormat format_;
  SettingsSections sections_;
  bool dirty_ = false;
  std::string loadNote_;
  std::vector<std::string> knownSections_;
  // What this instance wrote or removed since its last save (nullopt: removed).
  std::map<std::string, std::map<std::string, std::optional<std::string>>> changes_;
  // The file on disk could not be read whole: keep it as settings.ini.bad before replacing it.
  bool keepBadCopy_ = false;
};

}  // namespace veltrane
