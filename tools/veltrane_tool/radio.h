#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace veltrane::tool {

// `radio`: opens one transmitter interface as the program does and prints a
// JSON object per frame; `radio --list` prints the ports and joysticks seen.
int RadioCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace veltrane::tool
