#pragma once

#include <optional>
#include <string>

namespace veltrane::rm {

// Reads a ".x" file (text, binary or compressed) with a parser of our own
// before the importer sees it: every index is checked against its table and
// every count against what follows, so a damaged or hostile file is refused
// with a message naming its line (or byte, for binary files) instead of
// reaching the importer. What is accepted is handed on rewritten as plain
// text holding only frames, meshes and materials.
//
// Returns the text to import, or nullopt with *error saying why not.
std::optional<std::string> CheckXFile(std::string bytes, std::string* error);

}  // namespace veltrane::rm
