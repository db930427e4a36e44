#pragma once

#include <string>

// File names inside model and scene files come from case-insensitive systems
// and may use "\" between folders; these helpers find them on Linux.
namespace veltrane::loaders {

// The path as it exists on disk: when `path` is not there as written, every
// folder and the file name are matched case-insensitively (ASCII), one level
// at a time. "\" and "/" both separate folders. Returns the input unchanged
// when nothing matches.
std::string ResolveCaseInsensitive(const std::string& path);

// Replaces the extension of the last name (or appends one); `ext` carries its
// dot, e.g. ".PAR".
std::string ChangeExtension(const std::string& path, const std::string& ext);

// Whether a file (not a folder) exists under the case-insensitive path.
bool FileExists(const std::string& path);

// The folder part with a trailing "/" ("" for a bare file name); "\" becomes "/".
std::string FolderOf(const std::string& path);

}  // namespace veltrane::loaders
