#pragma once

#include <stdexcept>
#include <string>

namespace veltrane::loaders {

// What every loader throws when a file cannot be used; what() is the text the
// main window shows to the user.
class LoadError : public std::runtime_error {
 public:
  explicit LoadError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace veltrane::loaders
