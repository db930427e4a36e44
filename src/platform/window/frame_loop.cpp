// One display frame after another: events, queued work, the tick, the picture.

#include <epoxy/gl.h>

#include <cstdint>
#include <vector>

#include "platform/window/message_box.h"
#include "platform/window/overlay_painter.h"
#include "platform/window/program.h"

namespace veltrane::window {

int Program::Loop() {
  int framesLeft = cl_.frames;
  const auto frameMs = static_cast<std::int64_t>(cl_.frameTime * 1000.0 + 0.5);
  std::string caption = form_->Caption();
  while (!quit_) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) HandleEvent(e);
    if (TerminationRequested()) quit_ = true;
#ifdef VELTRANE_WITH_MENU
    if (ui_ && ui_->QuitRequested()) quit_ = true;
#endif
    if (quit_) break;
    ShowErrors();
    CarryOutDisplayRequest();
#ifdef VELTRANE_WITH_MENU
    if (ui_) ui_->RunQueuedWork();
#endif
    if (form_->Caption() != caption) {
      caption = form_->Caption();
      window_.SetTitle(caption);
    }
    // The graphics options dialog may have changed the wait for the vertical blank.
    const bool vsync = !unattended_ && form_->Display().doWaitVBlank;
    if (vsync != vsync_) {
      vsync_ = vsync;
      window_.SetVsync(vsync_);
    }
    // The frame timer runs only while the program is the active one;
    // unattended runs have nobody to give the window focus.
    bool ticking = unattended_ || focused_;
    if (ticking) {
      if (unattended_) manual_.Advance(frameMs);
      form_->DXTimerTimer();
    } else if (sound_) {
      sound_->HoldFlight();  // no beep hangs on while the program is in the background
    }
    RenderFrame(true);
    services_->KeysRead();

    if (unattended_) {
      MarkFirstFrame();
      if (--framesLeft <= 0) {
        ShowErrors();
        bool ok = cl_.preview.empty() ? WriteScreenshot() : WritePreview();
        return Close() && ok ? 0 : 1;
      }
      continue;
    }
    window_.Swap();
    MarkFirstFrame();
    if (!ticking) SDL_WaitEventTimeout(nullptr, 100);  // idle without spinning
  }
  return Close() ? 0 : 1;
}

void Program::MarkFirstFrame() {
  if (firstFrameShown_) return;
  firstFrameShown_ = true;
  stages_.Mark("first scene frame");
  form_->SetStartupStages(nullptr);
}

void Program::ShowStartScreen(const std::string& text) {
  int w = window_.RenderWidth(), h = window_.RenderHeight();
  const bool direct = DrawsIntoWindow(w, h);
  if (!direct && !target_.Resize(w, h)) return;
  BindSurface(direct, w, h);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  imgui_.BeginFrame(w, h);
  DrawStartScreen(text, w, h, imgui_.StartFont(), false);
  imgui_.EndFrame();
  if (!direct) {
    gl::RenderTarget::BindDefault();
    target_.BlitToDefault(window_.DrawableWidth(), window_.DrawableHeight());
  }
  window_.Swap();
}

int Program::MenuHeight() const {
#ifdef VELTRANE_WITH_MENU
  if (ui_ && form_->MenuIsVisible()) return static_cast<int>(ui_->MenuBarHeight() + 0.5f);
#endif
  return 0;
}

bool Program::DialogOpen() const {
#ifdef VELTRANE_WITH_MENU
  return ui_ && ui_->DialogOpen();
#else
  return false;
#endif
}

bool Program::DrawsIntoWindow(int w, int h) const {
  return !unattended_ && window_.HasDepthStencil() && w == window_.DrawableWidth() &&
         h == window_.DrawableHeight();
}

void Program::BindSurface(bool direct, int w, int h) {
  if (direct) {
    gl::RenderTarget::BindDefault();
    glViewport(0, 0, w, h);
  } else {
    target_.Bind();
  }
}

// The picture is the whole surface: the menu bar on top, the 3D view below it,
// the overlay and dialogs over both. A window at its own size is drawn into
// directly; full screen at a chosen size and screenshots are drawn off-screen
// and then copied or scaled, a copy that costs a sixth of the frame in software.
void Program::RenderFrame(bool drawOverlay) {
  int w = window_.RenderWidth(), h = window_.RenderHeight();
  if (w <= 0 || h <= 0) return;  // minimised: nothing to draw
  const bool direct = DrawsIntoWindow(w, h);
  if (direct)
    target_.Release();
  else if (!target_.Resize(w, h))
    return;
  int menu = MenuHeight();
  int viewH = h - menu > 1 ? h - menu : 1;
  form_->ReportSurfaceSize(w, viewH);
  BindSurface(direct, w, h);
  // One clear of the whole surface, to the scene's background: the menu bar
  // covers its own strip, the view the rest.
  const rm::Frame* scene = form_->SceneFrame().get();
  gl::Renderer::ClearTo(scene ? scene->SceneBackground() : rm::ColorRGB{0, 0, 0});
  // GL counts rows from the bottom: the 3D view takes the lower part.
  if (scene) renderer_.Render(*scene, form_->Viewport(), form_->Device(), w, viewH, true);
  BindSurface(direct, w, h);
  imgui_.BeginFrame(w, h);
  // Font sizes are known once the font atlas is built, inside the first frame.
  if (imgui_.Ready()) form_->ReportTextHeight(OverlayTextHeight(imgui_.OverlayFont()));
  if (drawOverlay && imgui_.Ready()) {
    std::vector<OverlayText> lines;
    const Overlay& ov = form_->CurrentOverlay();
    for (const OverlayLine* l : {&ov.fps, &ov.speed, &ov.height, &ov.vario, &ov.wind,
                                 &ov.slowMotion, &ov.replay, &ov.replayKeys})
      if (l->visible) lines.push_back({l->text, l->x, l->y + menu});
    for (const OverlayLine& l : ov.task) lines.push_back({l.text, l.x, l.y + menu});
    DrawOverlayTexts(lines, imgui_.OverlayFont(), imgui_.OverlayFontIsBold());
  }
#ifdef VELTRANE_WITH_MENU
  if (ui_ && imgui_.Ready()) ui_->Draw();
#endif
  imgui_.EndFrame();
  if (direct) return;
  if (unattended_) {
    // Nobody looks at the window: the off-screen picture is read itself. The
    // frame is still waited for, as a swap would; the software rasteriser
    // otherwise queues frame after frame in memory (600 MB after 200 frames).
    glFinish();
    return;
  }
  gl::RenderTarget::BindDefault();
  target_.BlitToDefault(window_.DrawableWidth(), window_.DrawableHeight());
}

}  // namespace veltrane::window
