#include "loaders/model_loader.h"

#include <algorithm>
#include <cctype>

#include "loaders/file_names.h"
#include "loaders/geo_file.h"
#include "loaders/mdl_file.h"
#include "loaders/x_file.h"

namespace veltrane::loaders {
namespace {

std::string UpperExtension(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return std::toupper(c); });
  return ext;
}

std::string InFolder(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder + name;
  return folder + "/" + name;
}

}  // namespace

ModelFiles LoadModelFiles(const std::string& fileName, rm::Root& root, bool texturesEnabled,
                          const std::string& dataFolder, rm::MeshBuilder& target, SimState& s,
                          const Trace& trace) {
  ModelFiles result;
  if (UpperExtension(fileName) == ".MDL") {
    result.lastMeshBuild = LoadMDL(fileName, root, target, s, trace);
    result.loadedFiles.push_back(fileName);
    result.soundFile = ResolveCaseInsensitive(InFolder(dataFolder, "motor.wav"));
  }
  const std::string geo = ChangeExtension(fileName, ".geo");
  if (FileExists(geo)) {
    result.lastMeshBuild = LoadGEO(geo, root, texturesEnabled, target, s, trace);
    result.loadedFiles.push_back(geo);
    result.soundFile = ResolveCaseInsensitive(ChangeExtension(fileName, ".wav"));
  }
  const std::string x = ChangeExtension(fileName, ".x");
  if (FileExists(x)) {
    LoadX(x, root, target, s, trace);
    result.loadedFiles.push_back(x);
    result.soundFile = ResolveCaseInsensitive(ChangeExtension(fileName, ".wav"));
  }
  return result;
}

}  // namespace veltrane::loaders
