#include "tools/veltrane_tool/model_files.h"

#include <algorithm>
#include <filesystem>

#include "base/rm/root.h"
#include "loaders/model_loader.h"
#include "loaders/par_file.h"
#include "tools/veltrane_tool/tool_error.h"

namespace veltrane::tool {

void RequireFile(const std::string& path, const std::string& what) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) throw ToolError(what + " not found: " + path);
}

std::string ExtensionOf(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

void LoadModel(SimState& s, const std::string& path, const Trace& trace) {
  // The parameter reader falls back to defaults for a missing file; here that
  // would fly a model nobody asked for, so it is an error.
  RequireFile(path, "model file");
  const std::string ext = ExtensionOf(path);
  if (ext != ".par" && ext != ".mdl" && ext != ".geo" && ext != ".x")
    throw ToolError("unsupported model file type \"" + ext +
                    "\" (expected .par, .mdl, .geo or .x): " + path);
  // The program's own model loading: the geometry files beside the name, each
  // with its parameters and GroundClearance. The mesh is not needed here.
  rm::Root root;
  root.SetSearchPath(std::filesystem::path(path).parent_path().string());
  rm::MeshBuilder mesh;
  const loaders::ModelFiles loaded = loaders::LoadModelFiles(
      path, root, false, std::filesystem::path(path).parent_path().string(), mesh, s, trace);
  // A parameter file without geometry beside it still flies.
  if (loaded.loadedFiles.empty() && ext == ".par") loaders::LoadPAR(s, path, trace);
}

}  // namespace veltrane::tool
