#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace veltrane::tool {

// The whole tool behind main(): parses the arguments, runs the sub-command,
// prints JSON on out and messages on err. Returns the exit status.
int RunTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kUsage;

}  // namespace veltrane::tool
