#pragma once

#include <string>

namespace veltrane::rm {

// Finds an existing file for a name written on a case-insensitive system:
// "\" and "/" both separate folders, and every step that does not exist as
// spelled is matched case-insensitively among the entries of its folder.
// Relative names start at `base` (the working folder when empty). Returns the
// real path, or an empty string when nothing matches.
std::string FindFileNoCase(const std::string& name, const std::string& base = {});

}  // namespace veltrane::rm
