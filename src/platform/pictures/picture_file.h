#pragma once

#include <string>

#include "platform/pictures/picture.h"

namespace veltrane::pictures {

// Reads a Windows bitmap, JPEG or PNG, chosen by the file's first bytes (not its name).
Picture LoadPicture(const std::string& path);

}  // namespace veltrane::pictures
