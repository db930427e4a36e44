#include "tools/veltrane_tool/model_files.h"

#include <algorithm>
#include <filesystem>

#include "loaders/mdl_file.h"
#include "loaders/par_file.h"
#include "platform/rm/root.h"
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
  if (ext == ".par") {
    loaders::LoadPAR(s, path, trace);
    return;
  }
  if (ext == ".mdl") {
    // The geometry is not needed for flying, only the parameters and clearance.
    rm::Root root;
    rm::MeshBuilder mesh;
    loaders::LoadMDL(path, root, mesh, s, trace);
    return;
  }
  throw ToolError("unsupported model file type \"" + ext + "\" (expected .par or .mdl): " + path);
}

}  // namespace veltrane::tool
