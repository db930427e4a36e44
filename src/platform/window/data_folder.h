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

// The data folder in the order a user can override it: the command line's
// --data-dir, then $VELTRANE_DATA_DIR, then FindDataFolder. Empty overrides
// are skipped; a given one is taken as it is, so a wrong one is reported by
// name rather than silently replaced. Always ends in '/'.
std::string ChooseDataFolder(const std::string& commandLineDir, const char* environmentDir,
                             const std::string& exeFolder);
// Empty when the data folder holds both Model/ and Landscape/; otherwise a
// message naming what is missing and the places that were searched. A folder
// the user chose (--data-dir, $VELTRANE_DATA_DIR) is the only place named.
std::string MissingDataFolders(const std::string& exeFolder, const std::string& chosen = {});

}  // namespace veltrane::window
