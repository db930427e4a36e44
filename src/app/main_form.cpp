#include "app/main_form.h"

#include <cmath>

#include "app/flight_log.h"
#include "app/main_form_scene.h"
#include "base/pictures/picture_file.h"
#include "loaders/file_names.h"
#include "sim/collision_world.h"
#include "sim/helicopter.h"
#include "sim/lifecycle.h"
#include "sim/tick.h"

namespace veltrane {

TMainForm::TMainForm(std::string exePath, SettingsStore& settings, Trace trace, Clock& clock,
                     PlatformServices& services, SoundHook* sound)
    : exePath_(std::move(exePath)),
      settings_(settings),
      trace_(std::move(trace)),
      clock_(clock),
      services_(services),
      sound_(sound ? sound : &nullSound_),
      flights_(std::make_unique<FlightLog>(clock_)),
      worldProxy_(std::make_unique<WorldProxy>(*this)),
      tick_(std::make_unique<SimTick>(sim_, flights_->clock, trace_, worldProxy_.get())) {
  if (exePath_.empty()) exePath_ = "./";
  if (exePath_.back() != '/') exePath_ += '/';
  root_.SetPictureDecoder([](const std::string& path) -> std::optional<rm::Picture> {
    try {
      return pictures::LoadTexturePicture(path);
    } catch (const std::exception&) {
      return std::nullopt;  // a texture that cannot be read is left out
    }
  });
  tick_->heliStep = MoveHelicopter;
  tick_->hooks.displayReady = [this] { return SceneReady(); };
  tick_->hooks.readRadio = [this] { ReadFrameControls(); };
  tick_->hooks.cameraUpdate = [this] { UpdateCameraControll(); };
  tick_->hooks.soundUpdate = [this](bool crashStarted) { sound_->UpdateSound(sim_, crashStarted); };
  tick_->hooks.sceneUpdate = [this] {
    if (!Replaying()) flights_->recorder.AfterTick(sim_);
    StepTask();
    UpdateGraphics();
  };
}

const World& TMainForm::CurrentWorld() const { return *worldProxy_; }

void TMainForm::PushError(std::string message) { errors_.push_back(std::move(message)); }

std::optional<std::string> TMainForm::TakeErrorMessage() {
  if (errors_.empty()) return std::nullopt;
  std::string m = std::move(errors_.front());
  errors_.pop_front();
  return m;
}

std::optional<DisplayRequest> TMainForm::TakeDisplayRequest() {
  auto r = displayRequest_;
  displayRequest_.reset();
  return r;
}

// Relative names (the built-in ones, or "Model\x.par" from old settings) are
// under the data folder; the case of each name is matched as on Windows.
std::string TMainForm::DataPath(const std::string& file) const {
  if (file.empty()) return file;
  const bool absolute = file.front() == '/';
  return loaders::ResolveCaseInsensitive(absolute ? file : exePath_ + file);
}

void TMainForm::ReportWindowSize(int width, int height) {
  if (display_.doFullscreen || width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
}

void TMainForm::SetWindowSize(int width, int height) {
  width_ = width;
  height_ = height;
  if (windowPlacementSaved_) {
    savedPlacement_.width = width;
    savedPlacement_.height = height;
  }
}

void TMainForm::ReportSurfaceSize(int width, int height) {
  surfaceWidth_ = width;
  surfaceHeight_ = height;
}

void TMainForm::SetActiveInterface(TRcIntForm* rcInterface, int listPosition) {
  activeInterface_ = rcInterface ? rcInterface : &plainInterface_;
  activeListPosition_ = rcInterface ? listPosition : 0;
}

// ---- per frame ----

void TMainForm::ReadRadio() {
  veltrane::ReadRadio(*activeInterface_, activeListPosition_, keyForm_, services_,
                      sim_.FunctionValue);
}

void TMainForm::DXTimerTimer() {
  if (!timerEnabled_ || sim_.Flags.Pause || Replaying()) sound_->HoldFlight();
  if (!timerEnabled_) return;
  if (SceneReady()) fpsMeter_.Frame(clock_.NowMs());
  if (Replaying())
    StepReplay();
  else
    tick_->Tick();
}

// ---- commands ----

void TMainForm::Initialisieren1Click() {
  LiveCommand();
  Reinitialise(sim_, CurrentWorld(), trace_, cam_.Hinterherflug);
  TaskAbandoned();
  UpdateCameraControll();
  StartRecording();
}

void TMainForm::PauseClick() {
  LiveCommand();
  sim_.Flags.Pause = !sim_.Flags.Pause;
  RecordCommand(int(record::CommandCode::Pause), sim_.Flags.Pause);
}

bool TMainForm::VarioOn() const { return sound::VarioWanted(sound_->VarioChoice(), sim_); }

void TMainForm::VarioClick() {
  sound_->SetVarioChoice(VarioOn() ? sound::VarioChoice::Off : sound::VarioChoice::On);
}

void TMainForm::Windenstart1Click() {
  LiveCommand();
  AttachWinch(sim_);
  StartRecording();
  TaskLaunched();
}

void TMainForm::Handstart1Click() {
  LiveCommand();
  Handstart(sim_, trace_);
  StartRecording();
  TaskLaunched();
}

void TMainForm::AutorestartClick() {
  LiveCommand();
  sim_.Flags.Autorestart = !sim_.Flags.Autorestart;
  RecordCommand(int(record::CommandCode::Indestructible), sim_.Flags.Autorestart);
}

void TMainForm::AutoInitClick() {
  LiveCommand();
  sim_.Flags.AutoInit = !sim_.Flags.AutoInit;
  RecordCommand(int(record::CommandCode::AutoInit), sim_.Flags.AutoInit);
}
void TMainForm::GeschwHoeheClick() { checks_.GeschwHoehe = !checks_.GeschwHoehe; }
void TMainForm::FPSClick() { checks_.FPS = !checks_.FPS; }
void TMainForm::ThermikAnzeigenClick() { checks_.ThermikAnzeigen = !checks_.ThermikAnzeigen; }

void TMainForm::AutozoomClick() {
  cam_.AutoZoom = !cam_.AutoZoom;
  SetCameraZoom(cam_.AutoZoom ? cam_.aZoom : cam_.Zoom);
}

void TMainForm::Hinterherflug1Click() {
  ToggleFollowFlight(cam_, sim_, CurrentWorld());
  if (!cam_.Hinterherflug) PlaceCamera();
}

void TMainForm::Vergssern1Click() {
  if (ZoomIn(cam_)) SetCameraZoom(cam_.Zoom);
}

void TMainForm::Verkleinern1Click() {
  if (ZoomOut(cam_)) SetCameraZoom(cam_.Zoom);
}

void TMainForm::ModelNeuLadenClick() {
  if (!sModellFilename_.empty()) LoadAirplane(sModellFilename_);
}

void TMainForm::LandNeuLadenClick() {
  if (!sLandFileName_.empty()) LoadWorld(sLandFileName_);
}

void TMainForm::SetMenuVisible(bool visible) {
  menuIsVisible_ = visible;
  services_.SetCursor(visible ? CursorKind::Arrow : CursorKind::Hidden);
}

void TMainForm::SetDisplay(const DisplayRequest& request) {
  // The sending menu item's name: "NFenster", or "N" and the size.
  trace_(std::string("TMainForm.SetDisplay Sender: N") +
         (request.fullScreen ? std::to_string(request.width) + "x" + std::to_string(request.height)
                             : std::string("Fenster")) +
         "\r\n");
  // A window request in window mode changes nothing.
  if (!request.fullScreen && !display_.doFullscreen) return;
  displayRequest_ = request;
}

void TMainForm::StoreWindow() {
  windowPlacementSaved_ = services_.GetWindowPlacement(savedPlacement_);
}

void TMainForm::RestoreWindow() {
  if (!windowPlacementSaved_) return;
  services_.SetWindowPlacement(savedPlacement_);
  width_ = savedPlacement_.width;
  height_ = savedPlacement_.height;
  windowPlacementSaved_ = false;
}

// ---- keys ----

void TMainForm::FormKeyPress(char key) {
  trace_("TMainForm.FormKeyPress\r\n");
  firstFlightHelp_ = false;
  switch (key) {
    case '2':
    case '3':
    case '4':
    case '6':
    case '8':
    case '9':
      LiveCommand();
      Standort(sim_, CurrentWorld(), key, trace_);
      RecordCommand(int(record::CommandCode::Pilot), key);
      PlaceCamera();
      break;
    case 27:  // Esc: back to a window
      SetDisplay(DisplayRequest{});
      break;
    default:
      break;
  }
}

void TMainForm::FormKeyDown(int key, bool ctrl) {
  firstFlightHelp_ = false;  // the first key press ends the hint
  if (ctrl) {
    if (const AppCommand* c = CommandForKey(key, true)) RunCommand(*c, *this);
    return;
  }
  if (Replaying()) {
    switch (key) {
      case vk::kSpace:
        ReplayTogglePause();
        return;
      case vk::kF5:
        ReplaySeek(-10000);
        return;
      case vk::kF6:
        ReplaySeek(10000);
        return;
      case vk::kF7:
        ReplayFaster(false);
        return;
      case vk::kF8:
        ReplayFaster(true);
        return;
      case vk::kF9:
        TakeOver();
        return;
      default:
        break;
    }
  }
  // Esc produces no character on every platform, so it arrives as a key.
  if (key == vk::kEscape) {
    FormKeyPress('\x1b');
    return;
  }
  if (const AppCommand* c = CommandForKey(key, false)) RunCommand(*c, *this);
}

void TMainForm::FormKeyUp(int key) {
  if (key == vk::kF12) SetMenuVisible(!menuIsVisible_);
}

// ---- camera ----

void TMainForm::UpdateCameraControll() { CameraImmediate(cam_, sim_, CurrentWorld()); }

}  // namespace veltrane
