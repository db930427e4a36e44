#pragma once

// The windowed program: SDL window and GL context, the main window's logic,
// the menu and dialogs, the frame loop, and the unattended picture modes.

#include <SDL.h>

#include <memory>
#include <string>

#include "app/main_form.h"
#include "base/clock/clock.h"
#include "base/settings/settings_store.h"
#include "base/trace/startup_stages.h"
#include "base/trace/trace.h"
#include "platform/gl/render_target.h"
#include "platform/gl/renderer.h"
#include "platform/radio/program_radio.h"
#include "platform/window/command_line.h"
#include "platform/window/gl_window.h"
#include "platform/window/imgui_layer.h"
#include "platform/window/sdl_platform_services.h"
#ifdef VELTRANE_WITH_MENU
#include "platform/ui_textures/gl_picture_textures.h"
#include "ui/imgui/main_window_ui.h"
#endif

namespace veltrane::window {

// "veltrane: message" on stderr.
void Fail(const std::string& message);

// A file named on the command line, made absolute so the data folder does not
// change its meaning. Empty when it does not exist.
std::string CommandLineFile(const std::string& name);

// Where Model/ and Landscape/ are for this run.
std::string DataFolder(const CommandLine& cl);

class Program {
 public:
  Program(const CommandLine& cl, Trace trace, SettingsStore& settings)
      : cl_(cl),
        trace_(std::move(trace)),
        stages_(trace_),
        settings_(settings),
        unattended_(cl.Unattended()) {}

  // Opens the window, runs the frames until the user closes, and closes: the exit status.
  int Run();

 private:
  bool Start();  // false: the program cannot run (the user has been told)
  int Loop();    // the frames, until the user closes; the exit status
  bool OpenWindow();
  void ApplyDisplayOptions();
  void ShowStartScreen(const std::string& text);
  void RenderFrame(bool drawOverlay);
  // Whether the frame goes straight into the window rather than off-screen.
  bool DrawsIntoWindow(int w, int h) const;
  void BindSurface(bool direct, int w, int h);
  void MarkFirstFrame();  // once, after the first frame of the scene
  void HandleEvent(const SDL_Event& e);
  // toStderr: also where the box may be missed (the last words of a run).
  void ShowErrors(bool toStderr = false);
  void CarryOutDisplayRequest();
  bool WriteScreenshot();
  bool WritePreview();
  // False when the settings could not be written (the user has been told).
  bool Close();
  // Height of the menu bar over the 3D view (0 when hidden or not built in).
  int MenuHeight() const;
  bool DialogOpen() const;

  Clock& ActiveClock() { return unattended_ ? static_cast<Clock&>(manual_) : steady_; }

  const CommandLine& cl_;
  Trace trace_;
  StartupStages stages_;
  bool firstFrameShown_ = false;
  SettingsStore& settings_;
  bool unattended_;
  SteadyClock steady_;
  ManualClock manual_;
  GlWindow window_;
  std::unique_ptr<SdlPlatformServices> services_;
  std::unique_ptr<SoundHook> sound_;
  std::unique_ptr<TMainForm> form_;
  std::unique_ptr<platform::ProgramRadio> radio_;
  ImGuiLayer imgui_;
#ifdef VELTRANE_WITH_MENU
  std::unique_ptr<platform::GlPictureTextures> pictures_;
  std::unique_ptr<ui::MainWindowUi> ui_;
#endif
  gl::Renderer renderer_;
  gl::RenderTarget target_;
  bool quit_ = false;
  bool focused_ = false;
  bool vsync_ = false;  // what the window was last told
  bool closed_ = false;
};

}  // namespace veltrane::window
