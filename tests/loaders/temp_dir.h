#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace veltrane::test_support {

// A fresh folder under the system temp folder, removed again at the end of the test.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "veltrane-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }

  // Writes `content` to `relative` (creating its folders) and returns the full path.
  std::string Write(const std::string& relative, const std::string& content) const {
    const std::filesystem::path p = std::filesystem::path(path_) / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p.string();
  }

 private:
  std::string path_;
};

}  // namespace veltrane::test_support
