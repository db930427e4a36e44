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
  fs::path d = dir;
  if (!d.empty() && d.filename().empty()) d = d.parent_path();  // drop the trailing '/'
  return WithSlash((d.parent_path() / "share" / "veltrane").string());
}

std::string ChooseDataFolder(const std::string& commandLineDir, const char* environmentDir,
                             const std::string& exeFolder) {
  std::error_code ec;
  auto absolute = [&](const std::string& d) { return WithSlash(fs::absolute(d, ec).lexically_normal().string()); };
  if (!commandLineDir.empty()) return absolute(commandLineDir);
  if (environmentDir && *environmentDir) return absolute(environmentDir);
  return FindDataFolder(exeFolder);
}

}  // namespace veltrane::window
