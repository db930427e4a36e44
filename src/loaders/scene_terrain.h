#pragma once

#include "base/trace/trace.h"
#include "loaders/mesh_build.h"
#include "loaders/scene_file.h"
#include "loaders/scene_layout.h"
#include "sim/random.h"

namespace veltrane::loaders {

// The height levels of the grid from the heightmap picture (dark is high).
// Grid row 0 and column `cells`, which the picture sampling does not reach, repeat the
// nearest sampled row and column. Throws LoadError when the picture cannot be read.
void SampleHeights(const SceneLayout& layout, HeightGrid& grid, SceneInfo& info);

// Adds the terrain triangles to `mb` and completes `info`: grid values, and pilot and start
// positions shifted into the translated terrain. `layout` must have passed Validate().
void BuildScene(const SceneLayout& layout, MeshBuild& mb, SceneInfo& info, HeightGrid& grid,
                ProgramRandom& random, const Trace& trace);

}  // namespace veltrane::loaders
