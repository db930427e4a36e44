#pragma once

#include <filesystem>
#include <string>

namespace veltrane::test_support {

// A fresh folder under the system's temporary folder, removed with everything
// in it at the end. Its name carries the process and the running test, so runs
// side by side and a folder left by a killed run are told apart.
class TempDir {
 public:
  // `tag` goes into the name, for a test that keeps several folders.
  explicit TempDir(const std::string& tag = "");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The same as text, for tests that build file names by concatenation.
  const std::string& Path() const { return text_; }

  // The full name of `relative` in the folder.
  std::string File(const std::string& relative) const { return (path_ / relative).string(); }
  // Writes `content` to `relative` (creating its folders) and returns the full path.
  std::string Write(const std::string& relative, const std::string& content) const;

 private:
  std::filesystem::path path_;
  std::string text_;
};

}  // namespace veltrane::test_support
