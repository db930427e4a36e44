#pragma once

#include <string>

namespace veltrane {

// The user's own models and landscapes live outside the installed data, so an
// update never touches them: $XDG_DATA_HOME/veltrane/<sub>/, else
// $HOME/.local/share/veltrane/<sub>/. Empty when neither variable is usable.
std::string UserDataFolder(const std::string& sub);

}  // namespace veltrane
