#include "app/user_folders.h"

#include <cstdlib>
#include <filesystem>

namespace veltrane {

std::string UserDataFolder(const std::string& sub) {
  namespace fs = std::filesystem;
  // A relative $XDG_DATA_HOME is invalid by the XDG rules and ignored.
  fs::path base;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = fs::path(home) / ".local" / "share";
  } else {
    return {};
  }
  return (base / "veltrane" / sub).string() + "/";
}

}  // namespace veltrane
