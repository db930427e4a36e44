// Opening the window with its GL context, and fitting it to the display options.

#include "platform/window/display_choice.h"
#include "platform/window/message_box.h"
#include "platform/window/program.h"
#include "platform/window/window_size.h"

namespace veltrane::window {

bool Program::OpenWindow() {
  WindowOptions o;
  o.hidden = true;  // shown once the settings gave its size
  o.vsync = !unattended_;
  OpenError err;
  if (window_.Open(o, err)) return true;
  if (err.kind == OpenError::Kind::Version || err.kind == OpenError::Kind::Context) {
    // Nothing to go on with, whatever the user would answer: say why and how to help it.
    const std::string text = NoContextMessage(err);
    trace_("OnInitalizeAppliciation " + err.text + "\r\n");
    Fail(text);
    if (!unattended_) ShowMessageBox("Veltrane", text, {"OK"});
    return false;
  }
  Fail(err.text);
  return false;
}

void Program::ApplyDisplayOptions() {
  DisplayOptions& d = form_->Display();
  const int display = DisplayIndex(d.iDXDrawDriver);
  int usableW = 0, usableH = 0;
  UsableSize(display, usableW, usableH);
  const FittedSize size = FitWindowSize(form_->Width(), form_->Height(), usableW, usableH);
  if (!size.note.empty()) trace_("TMainForm.FormShow " + size.note + "\r\n");
  form_->SetWindowSize(size.width, size.height);
  if (d.doFullscreen && !FullScreenSizeOffered(display, d.DisplayWidth, d.DisplayHeight)) {
    trace_("TMainForm.FormShow full-screen size " + std::to_string(d.DisplayWidth) + "x" +
           std::to_string(d.DisplayHeight) + " is not offered, using 800x600\r\n");
    d.DisplayWidth = 800;
    d.DisplayHeight = 600;
  }
  SDL_SetWindowSize(window_.Handle(), size.width, size.height);
  SDL_SetWindowPosition(window_.Handle(), SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                        SDL_WINDOWPOS_CENTERED_DISPLAY(display));
  window_.SetFullscreen(d.doFullscreen, d.DisplayWidth, d.DisplayHeight);
  vsync_ = !unattended_ && d.doWaitVBlank;
  window_.SetVsync(vsync_);
  window_.SetTitle(form_->Caption());
}

void Program::CarryOutDisplayRequest() {
  auto r = form_->TakeDisplayRequest();
  if (!r) return;
  form_->DXDrawFinalize();
  DisplayOptions& d = form_->Display();
  if (r->fullScreen) {
    if (!d.doFullscreen) form_->StoreWindow();
    d.doFullscreen = true;
    if (r->width > 0) d.DisplayWidth = r->width;
    if (r->height > 0) d.DisplayHeight = r->height;
    window_.SetFullscreen(true, d.DisplayWidth, d.DisplayHeight);
  } else {
    d.doFullscreen = false;
    window_.SetFullscreen(false, 0, 0);
    form_->RestoreWindow();
  }
  form_->ReportSurfaceSize(window_.RenderWidth(), window_.RenderHeight());
  form_->SimInit();
}

}  // namespace veltrane::window
