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

}  // namespace veltrane::window
