#pragma once

#include <memory>
#include <string>

#include "base/rm/backdrop.h"
#include "base/rm/mesh_builder.h"
#include "base/rm/root.h"
#include "loaders/scene_file.h"

namespace veltrane {

// A panorama picture must be at least this wide, and at least twice as wide as
// high (it goes once round the horizon).
inline constexpr int kPanoramaMinWidth = 64;

// The landscape's own panorama picture, ready to draw (black is sky); null with
// the file and the reason in `error` when it cannot be used.
std::shared_ptr<rm::Texture> LoadPanorama(rm::Root& root, const std::string& file,
                                          std::string& error);

// The backdrop of a landscape: clouds from its sky dome's picture, its panorama
// (may be null), standing about as far off as the terrain's edge.
std::shared_ptr<const rm::Backdrop> MakeBackdrop(const rm::MeshBuilder& sky,
                                                 std::shared_ptr<rm::Texture> panorama,
                                                 const loaders::SceneInfo& info);

}  // namespace veltrane
