// The unattended modes: the frame as a PNG screenshot, or the preview JPEG of the open dialogs.

#include <stdexcept>
#include <vector>

#include "app/model_preview_scene.h"
#include "base/pictures/jpeg_codec.h"
#include "base/pictures/png_codec.h"
#include "platform/window/program.h"

namespace veltrane::window {

bool Program::WriteScreenshot() {
  target_.Bind();
  std::vector<std::uint8_t> px = target_.ReadPixels();
  gl::RenderTarget::BindDefault();
  pictures::Picture pic;
  pic.width = target_.Width();
  pic.height = target_.Height();
  pic.pixels = std::move(px);
  if (pic.pixels.empty()) {
    Fail("nothing was rendered for the screenshot");
    return false;
  }
  try {
    pictures::WritePng(cl_.screenshot, pic);
  } catch (const std::exception& e) {
    Fail(std::string("cannot write the screenshot: ") + e.what());
    return false;
  }
  return true;
}

bool Program::WritePreview() {
  pictures::Picture pic;
  try {
    gl::RenderTarget target;
    const bool model = !cl_.model.empty();
    pic.width = model ? kModelPreviewW : kLandscapePreviewW;
    pic.height = model ? kModelPreviewH : kLandscapePreviewH;
    if (!target.Resize(pic.width, pic.height))
      throw std::runtime_error("no off-screen picture of that size");
    target.Bind();
    if (model) {
      ModelPreviewScene preview;
      preview.Build(CommandLineFile(cl_.model), DataFolder(cl_), trace_, pic.width, pic.height);
      renderer_.Render(*preview.scene, preview.viewport, preview.device, pic.width, pic.height);
    } else {
      if (!form_->SceneFrame()) throw std::runtime_error("the landscape was not built");
      // The pilot's view, drawn at the preview's shape.
      renderer_.Render(*form_->SceneFrame(), form_->Viewport(), form_->Device(), pic.width,
                       pic.height);
    }
    target.Bind();
    pic.pixels = target.ReadPixels();
    gl::RenderTarget::BindDefault();
    if (pic.pixels.empty()) throw std::runtime_error("nothing was rendered");
    pictures::WriteJpeg(cl_.preview, pic, 92);
  } catch (const std::exception& e) {
    gl::RenderTarget::BindDefault();
    Fail(std::string("cannot write the preview: ") + e.what());
    return false;
  }
  return true;
}

}  // namespace veltrane::window
