// The windowed program: SDL window and GL context, the main window's logic,
// the frame loop, and the unattended screenshot mode.

#include <SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "loaders/model_loader.h"
#include "platform/clock/clock.h"
#include "platform/gl/render_target.h"
#include "platform/gl/renderer.h"
#include "platform/pictures/jpeg_codec.h"
#include "platform/pictures/png_codec.h"
#include "platform/rm/root.h"
#include "platform/settings/settings_store.h"
#include "platform/sound/program_sound.h"
#include "platform/trace/trace.h"
#include "platform/window/command_line.h"
#include "platform/window/data_folder.h"
#include "platform/window/gl_window.h"
#include "platform/window/imgui_layer.h"
#include "platform/window/key_map.h"
#include "platform/window/overlay_painter.h"
#include "platform/window/sdl_platform_services.h"
#ifdef VELTRANE_WITH_MENU
#include "platform/ui_textures/gl_picture_textures.h"
#include "ui/imgui/main_window_ui.h"
#endif

#ifndef VELTRANE_VERSION
#define VELTRANE_VERSION "0"
#endif

namespace veltrane {
namespace {

namespace fs = std::filesystem;

void Fail(const std::string& message) { std::fprintf(stderr, "veltrane: %s\n", message.c_str()); }

// A file named on the command line, made absolute so the data folder does not
// change its meaning. Empty when it does not exist.
std::string CommandLineFile(const std::string& name) {
  std::error_code ec;
  fs::path p = fs::absolute(name, ec);
  if (ec || !fs::is_regular_file(p, ec)) return {};
  return p.lexically_normal().string();
}

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

  void Build(const std::string& modelFile, const std::string& dataFolder, const Trace& trace, int w, int h) {
    scene = root.CreateFrame(nullptr);
    scene->SetSceneBackgroundRGB(0.86f, 0.87f, 0.88f);
    device.SetRenderMode(rm::render_mode::kProgramDefault);
    device.SetTextureQuality(rm::TextureQuality::MipLinear);
    const struct {
      rm::Vector position;
      rm::LightType type;
      float colour;
    } lights[] = {
        {{10000, 3000, 10000}, rm::LightType::ParallelPoint, 0.15f},
        {{-10000, 3000, 10000}, rm::LightType::ParallelPoint, 0.12f},
        {{10000, 3000, -10000}, rm::LightType::ParallelPoint, 0.12f},
        {{-10000, 3000, -10000}, rm::LightType::ParallelPoint, 0.10f},
        {{-4000, 10000, -6000}, rm::LightType::Ambient, 0.30f},
    };
    std::shared_ptr<rm::Frame> last;
    for (const auto& l : lights) {
      last = root.CreateFrame(scene);
      last->SetPosition(l.position);
      auto light = root.CreateLight(l.type, l.colour, l.colour, l.colour);
      scene->AddLight(light);
      last->AddLight(light);
    }
    auto sun = root.CreateLight(rm::LightType::ParallelPoint, 0.85f, 0.85f, 0.85f);
    scene->AddLight(sun);
    last->AddLight(sun);

    auto model = root.CreateFrame(scene);
    model->SetOrientation({0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f});  // as the flying scene holds it
    auto mesh = root.CreateMeshBuilder();
    SimState state;
    root.SetSearchPath(fs::path(modelFile).parent_path().string());
    loaders::LoadModelFiles(modelFile, root, true, dataFolder, *mesh, state, trace);
    if (mesh->FaceCount() == 0) throw std::runtime_error("the model has no faces to show");
    model->AddVisual(mesh);

    // The box's corners in the scene, around their centre.
    const rm::Box box = mesh->GetBox();
    rm::Vector centre{0, 0, 0};
    for (int i = 0; i < 8; ++i) {
      rm::Vector p = model->ToScene({i & 1 ? box.max.x : box.min.x, i & 2 ? box.max.y : box.min.y,
                                     i & 4 ? box.max.z : box.min.z});
      centre = {centre.x + p.x / 8, centre.y + p.y / 8, centre.z + p.z / 8};
    }
    std::vector<rm::Vector> corners;
    // Looking down about 25 degrees at the model's front left quarter.
    rm::Vector look = Unit({0.62f, -0.45f, 0.64f});
    rm::Vector up = Unit(Cross(Cross(look, {0, 1, 0}), look));
    rm::Vector side = Cross(up, look);
    viewport.front = 0.05f;
    viewport.field = 0.05f * 0.5f;  // about 53 degrees across
    const float tx = 0.5f, ty = 0.5f * static_cast<float>(h) / static_cast<float>(w);
    float distance = 0;
    // The mesh's own points fit tighter than the box's corners.
    for (const rm::Vector& v : mesh->Vertices()) corners.push_back(model->ToScene(v));
    for (const rm::Vector& c : corners) {
      rm::Vector d{c.x - centre.x, c.y - centre.y, c.z - centre.z};
      float along = Dot(d, look);
      distance = std::max({distance, std::fabs(Dot(d, side)) / tx - along, std::fabs(Dot(d, up)) / ty - along});
    }
    distance *= 1.06f;  // a margin around the model
    viewport.back = distance * 4 + 10;
    viewport.camera = root.CreateFrame(scene);
    viewport.camera->SetPosition(
        {centre.x - look.x * distance, centre.y - look.y * distance, centre.z - look.z * distance});
    viewport.camera->SetOrientation(look, up);
  }

  static float Dot(rm::Vector a, rm::Vector b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
  static rm::Vector Cross(rm::Vector a, rm::Vector b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  }
  static rm::Vector Unit(rm::Vector a) {
    float n = std::sqrt(Dot(a, a));
    return {a.x / n, a.y / n, a.z / n};
  }
};

class Program {
 public:
  Program(const window::CommandLine& cl, Trace trace, SettingsStore& settings)
      : cl_(cl), trace_(std::move(trace)), settings_(settings), unattended_(cl.Unattended()) {}

  int Run();

 private:
  bool OpenWindow();
  void ApplyDisplayOptions();
  void ShowStartScreen(const std::string& text);
  void RenderFrame(bool drawOverlay);
  void HandleEvent(const SDL_Event& e);
  void ShowErrors();
  void CarryOutDisplayRequest();
  bool WriteScreenshot();
  bool WritePreview();
  void Close();
  // Height of the menu bar over the 3D view (0 when hidden or not built in).
  int MenuHeight() const;
  bool DialogOpen() const;

  Clock& ActiveClock() { return unattended_ ? static_cast<Clock&>(manual_) : steady_; }

  const window::CommandLine& cl_;
  Trace trace_;
  SettingsStore& settings_;
  bool unattended_;
  SteadyClock steady_;
  ManualClock manual_;
  window::GlWindow window_;
  std::unique_ptr<window::SdlPlatformServices> services_;
  std::unique_ptr<SoundHook> sound_;
  std::unique_ptr<TMainForm> form_;
  window::ImGuiLayer imgui_;
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

bool Program::OpenWindow() {
  window::WindowOptions o;
  o.hidden = true;  // shown once the settings gave its size
  o.vsync = !unattended_;
  window::OpenError err;
  if (window_.Open(o, err)) return true;
  if (err.kind == window::OpenError::Kind::Version) {
    // Too old a GL: the same check and message as with a context that opened.
    window::SdlPlatformServices services(nullptr, !unattended_);
    TMainForm form(window::FindDataFolder(window::ExecutableFolder()), settings_, trace_, ActiveClock(),
                   services);
    form.OnInitalizeAppliciation(err.gl_major, err.gl_minor);
    Fail("OpenGL 3.3 is needed, the display offers " + std::to_string(err.gl_major) + "." +
         std::to_string(err.gl_minor));
    return false;
  }
  Fail(err.text);
  return false;
}

void Program::ApplyDisplayOptions() {
  const DisplayOptions& d = form_->Display();
  SDL_SetWindowSize(window_.Handle(), form_->Width() > 0 ? form_->Width() : 640,
                    form_->Height() > 0 ? form_->Height() : 479);
  SDL_SetWindowPosition(window_.Handle(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  window_.SetFullscreen(d.doFullscreen, d.DisplayWidth, d.DisplayHeight);
  vsync_ = !unattended_ && d.doWaitVBlank;
  window_.SetVsync(vsync_);
  window_.SetTitle(form_->Caption());
}

void Program::ShowStartScreen(const std::string& text) {
  int w = window_.RenderWidth(), h = window_.RenderHeight();
  if (!target_.Resize(w, h)) return;
  target_.Bind();
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  imgui_.BeginFrame(w, h);
  window::DrawStartScreen(text, w, h, imgui_.StartFont(), false);
  imgui_.EndFrame();
  gl::RenderTarget::BindDefault();
  target_.BlitToDefault(window_.DrawableWidth(), window_.DrawableHeight());
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

// The picture is the whole surface: the menu bar on top, the 3D view below it,
// the overlay and dialogs over both. It is drawn off-screen and then copied or
// scaled to the window.
void Program::RenderFrame(bool drawOverlay) {
  int w = window_.RenderWidth(), h = window_.RenderHeight();
  if (w <= 0 || h <= 0 || !target_.Resize(w, h)) return;  // minimised: nothing to draw
  int menu = MenuHeight();
  int viewH = h - menu > 1 ? h - menu : 1;
  form_->ReportSurfaceSize(w, viewH);
  target_.Bind();
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  // GL counts rows from the bottom: the 3D view takes the lower part.
  if (form_->SceneFrame()) renderer_.Render(*form_->SceneFrame(), form_->Viewport(), form_->Device(), w, viewH);
  target_.Bind();
  imgui_.BeginFrame(w, h);
  // Font sizes are known once the font atlas is built, inside the first frame.
  if (imgui_.Ready()) form_->ReportTextHeight(window::OverlayTextHeight(imgui_.OverlayFont()));
  if (drawOverlay && imgui_.Ready()) {
    std::vector<window::OverlayText> lines;
    const Overlay& ov = form_->CurrentOverlay();
    for (const OverlayLine* l : {&ov.fps, &ov.speed, &ov.height, &ov.vario})
      if (l->visible) lines.push_back({l->text, l->x, l->y + menu});
    window::DrawOverlayTexts(lines, imgui_.OverlayFont(), imgui_.OverlayFontIsBold());
  }
#ifdef VELTRANE_WITH_MENU
  if (ui_ && imgui_.Ready()) ui_->Draw();
#endif
  imgui_.EndFrame();
  gl::RenderTarget::BindDefault();
  target_.BlitToDefault(window_.DrawableWidth(), window_.DrawableHeight());
}

void Program::HandleEvent(const SDL_Event& e) {
  bool imguiTook = imgui_.ProcessEvent(e);
  switch (e.type) {
    case SDL_QUIT:  // also SIGINT and SIGTERM: SDL turns them into this event
      quit_ = true;
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) quit_ = true;
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) focused_ = true;
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) focused_ = false;
      if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) form_->ReportWindowSize(e.window.data1, e.window.data2);
      if (e.window.event == SDL_WINDOWEVENT_MINIMIZED) form_->SetCanDraw(false);
      if (e.window.event == SDL_WINDOWEVENT_RESTORED) form_->SetCanDraw(true);
      break;
    case SDL_KEYDOWN:
      if ((imguiTook && imgui_.WantsKeyboard()) || DialogOpen()) break;
      if (int vk = window::VirtualKeyFromScancode(e.key.keysym.scancode)) {
#ifdef VELTRANE_WITH_MENU
        // The open dialogs' shortcuts: the menu shows them, so they must work too.
        if (ui_ && (vk == 0x71 || vk == 0x72)) {
          ui_->ExecuteCommand(vk == 0x71 ? ui::Command::FlugmodellLaden : ui::Command::LandschaftLaden);
          break;
        }
#endif
        form_->FormKeyDown(vk, (e.key.keysym.mod & KMOD_CTRL) != 0);
      }
      break;
    case SDL_KEYUP:
      if ((imguiTook && imgui_.WantsKeyboard()) || DialogOpen()) break;
      if (int vk = window::VirtualKeyFromScancode(e.key.keysym.scancode)) form_->FormKeyUp(vk);
      break;
    case SDL_TEXTINPUT:
      if (imgui_.WantsKeyboard() || DialogOpen()) break;
      // Single-byte characters only: the key commands are plain letters and digits.
      if (e.text.text[0] && !e.text.text[1] && static_cast<unsigned char>(e.text.text[0]) < 0x80)
        form_->FormKeyPress(e.text.text[0]);
      break;
    default:
      break;
  }
}

void Program::ShowErrors() {
  while (auto m = form_->TakeErrorMessage()) {
    if (unattended_ || SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Veltrane", m->c_str(), window_.Handle()) != 0)
      Fail(*m);
  }
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
    if (!target.Resize(pic.width, pic.height)) throw std::runtime_error("no off-screen picture of that size");
    target.Bind();
    if (model) {
      ModelPreviewScene preview;
      preview.Build(CommandLineFile(cl_.model), window::FindDataFolder(window::ExecutableFolder()), trace_,
                    pic.width, pic.height);
      renderer_.Render(*preview.scene, preview.viewport, preview.device, pic.width, pic.height);
    } else {
      if (!form_->SceneFrame()) throw std::runtime_error("the landscape was not built");
      // The pilot's view, drawn at the preview's shape.
      renderer_.Render(*form_->SceneFrame(), form_->Viewport(), form_->Device(), pic.width, pic.height);
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

void Program::Close() {
  if (closed_ || !form_) return;
  closed_ = true;
#ifdef VELTRANE_WITH_MENU
  if (ui_) ui_->WriteSettings();
#endif
  form_->FormClose();
  form_->DXDrawFinalize();
  if (sound_) sound_->Finalize();
#ifdef VELTRANE_WITH_MENU
  ui_.reset();
  if (pictures_) pictures_->Clear();  // while the context still exists
#endif
}

int Program::Run() {
  if (!OpenWindow()) return 1;
  services_ = std::make_unique<window::SdlPlatformServices>(window_.Handle(), !unattended_);
  // Unattended runs stay silent and need no audio device.
  if (!unattended_) sound_ = std::make_unique<sound::ProgramSound>(trace_);
  std::string dataFolder = window::FindDataFolder(window::ExecutableFolder());
  form_ = std::make_unique<TMainForm>(dataFolder, settings_, trace_, ActiveClock(), *services_, sound_.get());
  if (!form_->OnInitalizeAppliciation(window_.GlMajor(), window_.GlMinor())) return 1;
  form_->FormCreate();
  if (!cl_.model.empty()) form_->SetModelFileName(CommandLineFile(cl_.model));
  if (!cl_.landscape.empty()) form_->SetLandFileName(CommandLineFile(cl_.landscape));

  ApplyDisplayOptions();
  SDL_ShowWindow(window_.Handle());
  focused_ = (SDL_GetWindowFlags(window_.Handle()) & SDL_WINDOW_INPUT_FOCUS) != 0;
  std::string err;
  if (!imgui_.Init(window_)) Fail("the user interface layer did not start; no overlay");
  if (!renderer_.Init(err)) {
    Fail("the renderer did not start: " + err);
    Close();
    return 1;
  }
#ifdef VELTRANE_WITH_MENU
  pictures_ = std::make_unique<platform::GlPictureTextures>();
  auto* programSound = dynamic_cast<sound::ProgramSound*>(sound_.get());
  ui_ = std::make_unique<ui::MainWindowUi>(
      *form_, settings_, *services_, *pictures_, sound_.get(),
      [this, programSound](bool on, int volume) {
        if (programSound) programSound->Apply(on, volume, form_->State());
      },
      trace_);
  ui_->onLanguageFonts = [this](int index, const std::string& texts) {
    imgui_.RequestLanguageFonts(index, texts);
  };
#endif
  form_->OnStartRunning();
  form_->ReportSurfaceSize(window_.RenderWidth(), window_.RenderHeight());
  // Every build of the 3D scene (the first and each re-initialisation) shows
  // the start screen with the language's text.
  form_->onStartScreen = [this](const std::string& text) { ShowStartScreen(text); };
  form_->SimInit();
  window_.SetTitle(form_->Caption());

  int framesLeft = cl_.frames;
  const auto frameMs = static_cast<std::int64_t>(cl_.frameTime * 1000.0 + 0.5);
  std::string caption = form_->Caption();
  while (!quit_) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) HandleEvent(e);
#ifdef VELTRANE_WITH_MENU
    if (ui_ && ui_->QuitRequested()) quit_ = true;
#endif
    if (quit_) break;
    ShowErrors();
    CarryOutDisplayRequest();
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
    }
    RenderFrame(true);
    if (unattended_) {
      if (--framesLeft <= 0) {
        ShowErrors();
        bool ok = cl_.preview.empty() ? WriteScreenshot() : WritePreview();
        Close();
        return ok ? 0 : 1;
      }
      continue;
    }
    window_.Swap();
    if (!ticking) SDL_WaitEventTimeout(nullptr, 100);  // idle without spinning
  }
  Close();
  return 0;
}

}  // namespace
}  // namespace veltrane

int main(int argc, char** argv) {
  using namespace veltrane;
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::string error;
  auto cl = window::ParseCommandLine(args, error);
  if (!cl) {
    Fail(error);
    std::fputs(window::UsageText("veltrane").c_str(), stderr);
    return 2;
  }
  if (cl->help) {
    std::fputs(window::UsageText("veltrane").c_str(), stdout);
    return 0;
  }
  if (cl->version) {
    std::printf("veltrane %s\n", VELTRANE_VERSION);
    return 0;
  }
  if (!cl->model.empty() && CommandLineFile(cl->model).empty()) {
    Fail("no model file " + cl->model);
    return 2;
  }
  if (!cl->landscape.empty() && CommandLineFile(cl->landscape).empty()) {
    Fail("no landscape file " + cl->landscape);
    return 2;
  }
  try {
    Trace trace;
    if (!cl->traceFile.empty()) trace = Trace::ToFile(cl->traceFile);
    std::filesystem::path folder = cl->configDir.empty() ? SettingsStore::DefaultFolder()
                                                          : std::filesystem::path(cl->configDir);
    SettingsStore settings(folder);
    Program program(*cl, trace, settings);
    return program.Run();
  } catch (const std::exception& e) {
    Fail(e.what());
    return 1;
  }
}
