#pragma once

#include <optional>
#include <string>

namespace veltrane::rm {

// Looks over a ".x" file before the importer sees it. The importer sizes its
// tables from the counts written in the file, so a count like 2 000 000 000
// in a small file would make it allocate gigabytes; such files are refused
// here. Compressed files are inflated (bounded by their stated size) and
// handed on as their uncompressed text or binary twin.
//
// Returns the bytes to import, or nullopt with *error saying why not.
std::optional<std::string> CheckXFile(std::string bytes, std::string* error);

}  // namespace veltrane::rm
