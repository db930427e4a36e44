#pragma once

#include <string>

namespace veltrane::window {

// The folder of the running program (from /proc/self/exe), with a trailing '/'.
std::string ExecutableFolder();

// The data folder for a program in exeFolder: exeFolder itself when it holds
// Model/ and Landscape/, else <prefix>/share/veltrane/ beside the program's
// bin/. Always ends in '/'. The installed folder is returned even when it does
// not exist, so the messages name where the data was expected.
std::string FindDataFolder(const std::string& exeFolder);

// Empty when the data folder holds both Model/ and Landscape/; otherwise a
// message naming what is missing and both places that were searched.
std::string MissingDataFolders(const std::string& exeFolder);

}  // namespace veltrane::window
