#pragma once

#include <string>
#include <vector>

namespace veltrane::ui {

// The hint for a first flight: a see-through panel in the middle of the 3D
// view, its first line the title. It takes no clicks: the menu stays usable.
void DrawFirstFlightHelp(const std::vector<std::string>& lines, float top);

}  // namespace veltrane::ui
