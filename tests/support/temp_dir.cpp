#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <stdexcept>

namespace veltrane::test_support {

namespace {

// "Suite_Name" of the running test in letters, digits, '_' and '-' only:
// parameterised names carry slashes, and a dot would pass for an extension
// to code that looks for the first one.
std::string TestName() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  if (!info) return "none";
  std::string name = std::string(info->test_suite_name()) + "_" + info->name();
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') c = '_';
  // Paths stay short enough for the old formats' file-name fields.
  return name.size() > 60 ? name.substr(0, 60) : name;
}

}  // namespace

TempDir::TempDir(const std::string& tag) {
  std::string pattern = (std::filesystem::temp_directory_path() /
                         ("veltrane-" + TestName() + (tag.empty() ? "" : "-" + tag) + "-" +
                          std::to_string(::getpid()) + "-XXXXXX"))
                            .string();
  if (::mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("mkdtemp failed for " + pattern);
  path_ = pattern;
  text_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& relative, const std::string& content) const {
  const std::filesystem::path p = path_ / relative;
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << content;
  return p.string();
}

}  // namespace veltrane::test_support
