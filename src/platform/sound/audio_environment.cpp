#include "platform/sound/audio_environment.h"

#include <strings.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace veltrane::sound {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

bool SameWord(std::string_view a, const char* b) {
  return a.size() == std::char_traits<char>::length(b) && strncasecmp(a.data(), b, a.size()) == 0;
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// Where the library looks for its configuration on Linux, in its order.
std::vector<std::string> ConfigFiles() {
  std::vector<std::string> files{"/etc/openal/alsoft.conf"};
  std::string dirs = Env("XDG_CONFIG_DIRS");
  if (dirs.empty()) dirs = "/etc/xdg";
  std::istringstream list(dirs);
  for (std::string dir; std::getline(list, dir, ':');)
    if (!dir.empty()) files.push_back(dir + "/alsoft.conf");
  const std::string home = Env("HOME");
  if (!home.empty()) files.push_back(home + "/.alsoftrc");
  const std::string config = Env("XDG_CONFIG_HOME");
  if (!config.empty())
    files.push_back(config + "/alsoft.conf");
  else if (!home.empty())
    files.push_back(home + "/.config/alsoft.conf");
  // Beside the program, as for a portable install.
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) files.push_back((self.parent_path() / "alsoft.conf").string());
  if (!Env("ALSOFT_CONF").empty()) files.push_back(Env("ALSOFT_CONF"));
  return files;
}

}  // namespace

bool ConfigSetsAudioDrivers(std::string_view text) {
  bool general = true;  // keys before the first section header are general
  while (!text.empty()) {
    const auto end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      const auto close = line.find(']');
      general =
          close != std::string_view::npos && SameWord(Trim(line.substr(1, close - 1)), "general");
      continue;
    }
    const auto eq = line.find('=');
    if (!general || eq == std::string_view::npos) continue;
    if (SameWord(Trim(line.substr(0, eq)), "drivers") && !Trim(line.substr(eq + 1)).empty())
      return true;
  }
  return false;
}

void PrepareAudioEnvironment() {
  ::setenv("ALSOFT_LOGLEVEL", "0", 0);  // 0: an existing value stays
  if (std::getenv("ALSOFT_DRIVERS")) return;
  for (const std::string& file : ConfigFiles()) {
    std::ifstream in(file);
    if (!in) continue;
    std::ostringstream text;
    text << in.rdbuf();
    if (ConfigSetsAudioDrivers(text.str())) return;
  }
  // JACK stays ahead of ALSA: where a JACK server holds the sound card and no
  // PulseAudio answers, ALSA would open and then find its device busy. The
  // trailing comma keeps every other backend after these three.
  ::setenv("ALSOFT_DRIVERS", "pulse,jack,alsa,", 0);
}

}  // namespace veltrane::sound
