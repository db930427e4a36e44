#include "platform/window/data_folder.h"

#include <filesystem>
#include <system_error>

namespace veltrane::window {
namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string s) {
  if (s.empty() || s.back() != '/') s += '/';
  return s;
}

bool IsDir(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

// <prefix>/share/veltrane/ for a program in <prefix>/bin/.
std::string InstalledDataFolder(const std::string& exeFolder) {
  fs::path d(exeFolder);
  if (!d.empty() && d.filename().empty()) d = d.parent_path();  // drop the trailing '/'
  return WithSlash((d.parent_path() / "share" / "veltrane").string());
}

}  // namespace

std::string ExecutableFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return WithSlash(fs::current_path(ec).string());
  return WithSlash(exe.parent_path().string());
}

std::string FindDataFolder(const std::string& exeFolder) {
  fs::path dir(exeFolder);
  if (IsDir(dir / "Model") && IsDir(dir / "Landscape")) return WithSlash(exeFolder);
  return InstalledDataFolder(exeFolder);
}

std::string MissingDataFolders(const std::string& exeFolder, const std::string& chosen) {
  const auto missingIn = [](const std::string& folder) {
    std::string list;
    for (const char* sub : {"Model", "Landscape"})
      if (!IsDir(fs::path(folder) / sub))
        list += std::string(list.empty() ? "" : " und ") + "\"" + sub + "/\"";
    return list;
  };
  if (!chosen.empty() && WithSlash(chosen) != FindDataFolder(exeFolder)) {
    const std::string missing = missingIn(chosen);
    if (missing.empty()) return {};
    const char* verb = missing.find(" und ") == std::string::npos ? " fehlt" : " fehlen";
    return "Veltrane findet seine Daten nicht: im gewählten Datenordner " + WithSlash(chosen) +
           verb + " " + missing + " (--data-dir oder VELTRANE_DATA_DIR).";
  }
  const std::string program = WithSlash(exeFolder);
  const std::string installed = InstalledDataFolder(exeFolder);
  const std::string missing = missingIn(FindDataFolder(exeFolder));
  if (missing.empty()) return {};
  // The program folder is taken only with both; so the installed one is in use here.
  const char* verb = missing.find(" und ") == std::string::npos ? " fehlt" : " fehlen";
  return "Veltrane findet seine Daten nicht: in " + installed + verb + " " + missing +
         ".\nGesucht wurde in " + program + " (dort fehlt " + missingIn(program) + ")\nund in " +
         installed + ".";
}

std::string ChooseDataFolder(const std::string& commandLineDir, const char* environmentDir,
                             const std::string& exeFolder) {
  std::error_code ec;
  auto absolute = [&](const std::string& d) {
    return WithSlash(fs::absolute(d, ec).lexically_normal().string());
  };
  if (!commandLineDir.empty()) return absolute(commandLineDir);
  if (environmentDir && *environmentDir) return absolute(environmentDir);
  return FindDataFolder(exeFolder);
}

}  // namespace veltrane::window
