#include "app/user_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace veltrane {
namespace {

TEST(UserFolders, UserFolderFollowsXdgDataHome) {
  const std::string oldXdg = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
  const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("HOME", "/home/pilot", 1);
  ::setenv("XDG_DATA_HOME", "/data/pilot", 1);
  EXPECT_EQ(UserDataFolder("Model"), "/data/pilot/veltrane/Model/");
  ::setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
  EXPECT_EQ(UserDataFolder("Landscape"), "/home/pilot/.local/share/veltrane/Landscape/");
  ::unsetenv("XDG_DATA_HOME");
  ::unsetenv("HOME");
  EXPECT_EQ(UserDataFolder("Model"), "");
  if (!oldHome.empty()) ::setenv("HOME", oldHome.c_str(), 1);
  if (!oldXdg.empty()) ::setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
}

}  // namespace
}  // namespace veltrane
