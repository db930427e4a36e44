#pragma once

#include <string>

#include "base/trace/trace.h"
#include "loaders/mesh_build.h"

namespace veltrane::loaders {

struct SkyDome {
  double height = 0.0;  // 0: no sky
  double halfWidth = 0.0;
  std::string textureFile;  // the resolved picture file
};

// A textured 10 x 10 dome over the terrain, in display axes around the origin. Adds nothing
// when the dome has no height or textures are off.
void AddSky(const SkyDome& dome, MeshBuild& mb, const Trace& trace);

}  // namespace veltrane::loaders
