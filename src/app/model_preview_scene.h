#pragma once

#include <memory>
#include <string>

#include "base/rm/root.h"
#include "base/rm/viewport.h"
#include "base/trace/trace.h"

namespace veltrane {

// Preview pictures have the sizes the open dialogs show them at.
constexpr int kModelPreviewW = 256, kModelPreviewH = 192;
constexpr int kLandscapePreviewW = 256, kLandscapePreviewH = 256;

// The model alone on a light neutral background, lit like the flying scene,
// seen from the front and above, as close as all its points still fit.
struct ModelPreviewScene {
  rm::Root root;
  std::shared_ptr<rm::Frame> scene;
  rm::Viewport viewport;
  rm::Device device;

  // Loads the model; throws the loaders' errors, or when it has no faces to show.
  void Build(const std::string& modelFile, const std::string& dataFolder, const Trace& trace, int w,
             int h);
};

}  // namespace veltrane
