#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/rm/mesh_builder.h"
#include "base/rm/root.h"
#include "base/trace/trace.h"
#include "loaders/mesh_build.h"
#include "sim/sim_state.h"

namespace veltrane::loaders {

struct ModelFiles {
  // The engine sound to load: the data folder's "motor.wav" after a ".mdl",
  // else the ".wav" beside the ".geo" / ".x" that was loaded. Empty when no
  // geometry loader ran (the current sound stays).
  std::string soundFile;
  // The geometry files that were loaded, in order.
  std::vector<std::string> loadedFiles;
  // What the last MeshBuild-based loader (".mdl" or ".geo") collected.
  std::optional<MeshBuild> lastMeshBuild;

  std::optional<MeshBuildStats> Stats() const {
    if (!lastMeshBuild) return std::nullopt;
    return Statistics(*lastMeshBuild);
  }
};

// Fills a fresh mesh builder from a model file F (".mdl" or ".par"): LoadMDL
// when F is ".mdl", then LoadGEO when F's ".geo" exists, then LoadX when F's
// ".x" exists (names found case-insensitively). All add to `target`; the
// flight parameters and GroundClearance are those of the last loader. A
// loader's LoadError propagates; what earlier loaders added stays.
// `dataFolder` is where the program's own "motor.wav" lives.
ModelFiles LoadModelFiles(const std::string& fileName, rm::Root& root, bool texturesEnabled,
                          const std::string& dataFolder, rm::MeshBuilder& target, SimState& s,
                          const Trace& trace);

}  // namespace veltrane::loaders
