#pragma once

#include <stdexcept>
#include <string>

namespace veltrane::tool {

// A failure the tool reports to the user and exits non-zero for.
class ToolError : public std::runtime_error {
 public:
  explicit ToolError(const std::string& message) : std::runtime_error(message) {}
};

// Throws ToolError "<what> not found: <path>" unless path names a regular file.
void RequireFile(const std::string& path, const std::string& what);

}  // namespace veltrane::tool
