#include "loaders/file_names.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace veltrane::loaders {

namespace fs = std::filesystem;

namespace {

bool IsSep(char c) { return c == '/' || c == '\\'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

bool Exists(const std::string& p) {
  std::error_code ec;
  return fs::exists(p, ec);
}

std::vector<std::string> SplitNames(const std::string& path) {
  std::vector<std::string> names;
  std::string cur;
  for (char c : path) {
    if (IsSep(c)) {
      if (!cur.empty()) names.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) names.push_back(cur);
  return names;
}

// The entry of `folder` whose name equals `name` ignoring case; the
// alphabetically first one when several do, so the choice is repeatable.
bool FindInFolder(const std::string& folder, const std::string& name, std::string& found) {
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? "." : folder, ec);
  if (ec) return false;
  bool any = false;
  for (const auto& entry : it) {
    const std::string candidate = entry.path().filename().string();
    if (SameIgnoringCase(candidate, name) && (!any || candidate < found)) {
      found = candidate;
      any = true;
    }
  }
  return any;
}

}  // namespace

std::string ResolveCaseInsensitive(const std::string& path) {
  if (path.empty() || Exists(path)) return path;
  std::string result = IsSep(path.front()) ? "/" : "";
  for (const std::string& name : SplitNames(path)) {
    const std::string direct = result + name;
    std::string found;
    if (name == "." || name == ".." || Exists(direct)) {
      result = direct;
    } else if (FindInFolder(result, name, found)) {
      result += found;
    } else {
      return path;
    }
    result += '/';
  }
  if (result.size() > 1 && result.back() == '/') result.pop_back();
  // A path that ended in a separator names a folder; keep that form.
  if (IsSep(path.back()) && !result.empty() && result.back() != '/') result += '/';
  return result;
}

std::string ChangeExtension(const std::string& path, const std::string& ext) {
  std::size_t nameStart = 0;
  for (std::size_t i = 0; i < path.size(); ++i)
    if (IsSep(path[i])) nameStart = i + 1;
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return path + ext;
  return path.substr(0, dot) + ext;
}

bool FileExists(const std::string& path) {
  const std::string found = ResolveCaseInsensitive(path);
  std::error_code ec;
  return fs::exists(found, ec) && !fs::is_directory(found, ec);
}

std::string FolderOf(const std::string& path) {
  std::size_t end = 0;
  for (std::size_t i = 0; i < path.size(); ++i)
    if (IsSep(path[i])) end = i + 1;
  std::string folder = path.substr(0, end);
  std::replace(folder.begin(), folder.end(), '\\', '/');
  return folder;
}

}  // namespace veltrane::loaders
