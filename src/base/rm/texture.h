#pragma once

#include <string>

#include "base/rm/types.h"

namespace veltrane::rm {

// A picture loaded through Root::LoadTexture. The renderer uploads it once.
struct Texture {
  std::string file;  // the path it was read from
  Picture picture;
  bool mipmap = false;             // GenerateMIPMap was called: sample with mip levels
  bool decalTransparency = false;  // black texels (r = g = b = 0) are fully transparent
  // The renderer may drop the picture once it holds the texture (a landscape's
  // ground pictures, never changed after loading).
  bool releaseAfterUpload = false;

  void GenerateMIPMap() { mipmap = true; }
  void SetDecalTransparency(bool on) { decalTransparency = on; }
};

}  // namespace veltrane::rm
