#pragma once

#include <string>

namespace veltrane {

// The name shown for a Windows virtual-key number (at most 19 characters);
// empty for codes without a key.
std::string KeyName(int vk);

}  // namespace veltrane
