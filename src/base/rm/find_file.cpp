#include "base/rm/find_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

namespace veltrane::rm {
namespace {

namespace fs = std::filesystem;

bool SameNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string FindFileNoCase(const std::string& name, const std::string& base) {
  if (name.empty()) return {};
  std::string unified = name;
  std::replace(unified.begin(), unified.end(), '\\', '/');

  // The search folder may itself be spelled in another case: resolve it with the name.
  if (unified.front() != '/' && !base.empty()) {
    std::string b = base;
    std::replace(b.begin(), b.end(), '\\', '/');
    unified = b + "/" + unified;
  }
  std::error_code ec;
  fs::path current = unified.front() == '/' ? fs::path("/") : fs::path(".");

  std::vector<std::string> steps;
  std::size_t start = 0;
  while (start <= unified.size()) {
    std::size_t end = unified.find('/', start);
    if (end == std::string::npos) end = unified.size();
    std::string step = unified.substr(start, end - start);
    if (!step.empty() && step != ".") steps.push_back(std::move(step));
    start = end + 1;
  }
  if (steps.empty()) return {};

  for (const auto& step : steps) {
    fs::path exact = current / step;
    if (step == ".." || fs::exists(exact, ec)) {
      current = std::move(exact);
      continue;
    }
    bool found = false;
    fs::directory_iterator it(current, ec);
    if (ec) return {};
    for (const auto& entry : it) {
      const std::string entryName = entry.path().filename().string();
      if (SameNoCase(entryName, step)) {
        current = entry.path();
        found = true;
        break;
      }
    }
    if (!found) return {};
  }
  if (!fs::is_regular_file(current, ec)) return {};
  std::string result = current.lexically_normal().string();
  return result;
}

}  // namespace veltrane::rm
