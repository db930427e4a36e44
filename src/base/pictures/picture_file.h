#pragma once

#include <optional>
#include <string>

#include "base/pictures/picture.h"
#include "base/rm/types.h"

namespace veltrane::pictures {

// Reads a Windows bitmap, JPEG or PNG, chosen by the file's first bytes (not its name).
Picture LoadPicture(const std::string& path);

// The same as the scene graph takes a texture (the decoder of rm::Root):
// nothing for a file that is no readable picture.
std::optional<rm::Picture> LoadTexturePicture(const std::string& path);

}  // namespace veltrane::pictures
