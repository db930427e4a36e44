// Start-up and close of the windowed program, and its messages.

#include "platform/window/program.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>

#include "app/user_folders.h"
#include "platform/sound/program_sound.h"
#include "platform/window/data_folder.h"
#include "platform/window/display_choice.h"
#include "platform/window/message_box.h"

namespace veltrane::window {

void Fail(const std::string& message) { std::fprintf(stderr, "veltrane: %s\n", message.c_str()); }

std::string CommandLineFile(const std::string& name) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path p = fs::absolute(name, ec);
  if (ec || !fs::is_regular_file(p, ec)) return {};
  return p.lexically_normal().string();
}

std::string DataFolder(const CommandLine& cl) {
  return ChooseDataFolder(cl.dataDir, std::getenv("VELTRANE_DATA_DIR"), ExecutableFolder());
}

int Program::Run() {
  if (!Start()) return 1;
  return Loop();
}

bool Program::Start() {
  // Unattended runs stay silent and need no audio device; otherwise the device
  // opens beside the window instead of after it.
  std::future<std::unique_ptr<sound::OpenAlDevice>> output;
  if (!unattended_)
    output = std::async(std::launch::async,
                        [trace = trace_] { return sound::ProgramSound::OpenDefaultOutput(trace); });
  if (!OpenWindow()) return false;
  stages_.Mark("window open");
  services_ = std::make_unique<SdlPlatformServices>(window_.Handle(), !unattended_);
  if (output.valid()) sound_ = std::make_unique<sound::ProgramSound>(trace_, output.get(), false);
  stages_.Mark("sound ready");
  std::string dataFolder = DataFolder(cl_);
  form_ = std::make_unique<TMainForm>(dataFolder, settings_, trace_, ActiveClock(), *services_,
                                      sound_.get());
  if (!form_->OnInitalizeAppliciation(window_.GlMajor(), window_.GlMinor())) return false;
  form_->FormCreate();
  if (!cl_.model.empty()) form_->SetModelFileName(CommandLineFile(cl_.model));
  if (!cl_.landscape.empty()) form_->SetLandFileName(CommandLineFile(cl_.landscape));
  stages_.Mark("main window created");
  // The landscape is the longest part of the start: it loads on a worker
  // while the radio, the interface and the renderer are made.
  form_->PrefetchLandscape();
  stages_.Mark("landscape load started");
  // Unattended pictures are no flights worth keeping.
  form_->SetFlightsFolder(unattended_ ? "" : UserDataFolder("flights"));
  if (const std::string missing = MissingDataFolders(ExecutableFolder(), DataFolder(cl_));
      !missing.empty())
    form_->ReportError(missing);
  radio_ = std::make_unique<platform::ProgramRadio>(settings_, trace_, cl_.testJoystick);
  form_->SetActiveInterface(&radio_->Form().Active(), radio_->Form().ActiveIndex);
  stages_.Mark("radio ready");

  ApplyDisplayOptions();
  SDL_ShowWindow(window_.Handle());
  KeepShownWindowOnDisplay(window_.Handle(), DisplayIndex(form_->Display().iDXDrawDriver));
  focused_ = (SDL_GetWindowFlags(window_.Handle()) & SDL_WINDOW_INPUT_FOCUS) != 0;
  std::string err;
  stages_.Mark("window shown");
  if (!imgui_.Init(window_)) Fail("the user interface layer did not start; no overlay");
  stages_.Mark("interface layer ready");
  if (!renderer_.Init(err)) {
    Fail("the renderer did not start: " + err);
    Close();
    return false;
  }
  stages_.Mark("renderer ready");
#ifdef VELTRANE_WITH_MENU
  pictures_ = std::make_unique<platform::GlPictureTextures>();
  auto* programSound = dynamic_cast<sound::ProgramSound*>(sound_.get());
  ui_ = std::make_unique<ui::MainWindowUi>(
      *form_, settings_, *services_, *pictures_, sound_.get(),
      [this, programSound](bool on, int volume) {
        if (programSound) programSound->Apply(on, volume, form_->State());
      },
      trace_);
  ui_->SetRadio(&radio_->Form());
  ui_->onLanguageFonts = [this](int index, const std::string& texts) {
    imgui_.RequestLanguageFonts(index, texts);
  };
#endif
  stages_.Mark("interface ready");
  form_->OnStartRunning();
  form_->SetStartupStages(&stages_);
  form_->ReportSurfaceSize(window_.RenderWidth(), window_.RenderHeight());
  // Every build of the 3D scene (the first and each re-initialisation) shows
  // the start screen with the language's text.
  form_->onStartScreen = [this](const std::string& text) { ShowStartScreen(text); };
  form_->SimInit();
  if (!cl_.replay.empty())
    form_->ReplayFlight(CommandLineFile(cl_.replay).empty() ? cl_.replay
                                                            : CommandLineFile(cl_.replay));
  window_.SetTitle(form_->Caption());
  return true;
}

void Program::ShowErrors(bool toStderr) {
  while (auto m = form_->TakeErrorMessage()) {
    // After a signal no box is shown any more; the last words still reach stderr.
    const bool boxShown =
        !unattended_ && !TerminationRequested() && ShowMessageBox("Veltrane", *m, {"OK"});
    if (toStderr || !boxShown) Fail(*m);
  }
}

bool Program::Close() {
  if (closed_ || !form_) return true;
  closed_ = true;
#ifdef VELTRANE_WITH_MENU
  if (ui_) ui_->WriteSettings();
#endif
  if (radio_) radio_->Destroy(settings_);
  ShowErrors();  // what came before, so that what follows is about the close
  form_->FormClose();
  // Lost settings are told while the window still stands.
  const bool saved = !form_->HasErrorMessage();
  ShowErrors(true);
  form_->DXDrawFinalize();
  if (sound_) sound_->Finalize();
#ifdef VELTRANE_WITH_MENU
  ui_.reset();
  if (pictures_) pictures_->Clear();  // while the context still exists
#endif
  return saved;
}

}  // namespace veltrane::window
