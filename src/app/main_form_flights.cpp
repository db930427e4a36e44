// The main window's recorded flights: the recorder fed by every frame, the
// replay that flies a recorded flight through the same tick, and the ghost.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "app/flight_log.h"
#include "app/main_form.h"
#include "app/main_form_scene.h"
#include "loaders/file_names.h"
#include "record/flight_folder.h"
#include "sim/helicopter.h"
#include "sim/math_u.h"

#ifndef VELTRANE_VERSION
#define VELTRANE_VERSION "unknown"
#endif

namespace veltrane {

namespace {

constexpr std::uint32_t kGhostAlpha = 0x70;
// A replay catches up after a slow frame, but never spends more on one display frame.
constexpr int kMaxReplayStepsPerFrame = 400;
constexpr std::int64_t kMaxRealStepMs = 250;

std::string Absolute(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.lexically_normal().string();
}

}  // namespace

void TMainForm::SetFlightsFolder(std::string folder) { flights_->folder = std::move(folder); }
const std::string& TMainForm::FlightsFolder() const { return flights_->folder; }
bool TMainForm::RecordFlights() const { return flights_->enabled; }

void TMainForm::SetRecordFlights(bool on) {
  flights_->enabled = on;
  if (!on) flights_->recorder.Stop();
  if (on && !flights_->recorder.Recording() && !Replaying() && SceneReady()) StartRecording();
}

std::string TMainForm::RecordingPath() const {
  return flights_->recorder.Recording() ? flights_->recorder.Path() : std::string();
}

void TMainForm::ReadFrameControls() {
  if (Replaying()) {
    sim_.FunctionValue = flights_->replay->cursor->Controls();
    return;
  }
  ReadRadio();
  // Single precision is finer than any transmitter and halves the recording.
  record::RoundControls(sim_);
  flights_->recorder.Frame(sim_);
}

void TMainForm::StartRecording() {
  FlightLog& f = *flights_;
  f.recorder.Stop();
  f.flightStart = sim_.LastTickTime;
  RewindGhost();
  if (!f.enabled || f.folder.empty() || Replaying() || loadingForReplay_) return;
  std::error_code ec;
  std::filesystem::create_directories(f.folder, ec);
  record::PruneFlights(f.folder, record::kFlightsKept - 1);
  record::FlightHeader h = record::HeaderFromState(sim_);
  h.programVersion = VELTRANE_VERSION;
  h.startedAt = static_cast<std::int64_t>(std::time(nullptr));
  h.modelFile = Absolute(DataPath(loadedModelFile_.empty() ? sModellFilename_ : loadedModelFile_));
  h.modelHash = record::HashFile(h.modelFile);
  h.landscapeFile = Absolute(DataPath(sLandFileName_));
  h.landscapeHash = record::HashFile(h.landscapeFile);
  record::RoundControls(sim_);
  if (!f.recorder.Start(record::NewFlightPath(f.folder, static_cast<std::time_t>(h.startedAt)), h,
                        sim_)) {
    // Said once: a folder that cannot be written stops the recording, not the flying.
    PushError(Texts.RecordingFailed + f.recorder.Error());
    f.enabled = false;
  }
}

void TMainForm::RecordCommand(int code, int arg) {
  flights_->recorder.Command(static_cast<record::CommandCode>(code),
                             static_cast<std::uint8_t>(arg));
}

void TMainForm::FlightStateChanged() {
  LiveCommand();
  flights_->recorder.StateChanged(sim_);
}

// ---- replay ----

bool TMainForm::Replaying() const { return flights_->replay != nullptr; }

void TMainForm::ReplayFlight(const std::string& path) {
  trace_("TMainForm.ReplayFlight File: " + path + "\r\n");
  if (!scene_) return;
  // The flight being flown: what it has not written out yet belongs in the replay.
  if (flights_->recorder.Recording() && flights_->recorder.Path() == path)
    flights_->recorder.Stop();
  auto replay = std::make_unique<FlightLog::Replay>();
  try {
    replay->rec = record::ReadRecording(path);
  } catch (const std::exception& e) {
    PushError(Texts.ReplayFailed + e.what());
    return;
  }
  const record::FlightHeader& h = replay->rec.header;
  if (replay->rec.frames.empty()) {
    PushError(Texts.ReplayFailed + path + ": no frame recorded");
    return;
  }
  for (const std::string* file : {&h.modelFile, &h.landscapeFile})
    if (!loaders::FileExists(*file)) {
      PushError(Texts.ReplayFailed +
                (file->empty() ? std::string("no landscape") : Texts.ModelNotFound + *file));
      return;
    }
  if (Replaying()) TakeOver();
  flights_->recorder.Stop();
  EndTask();
  HideGhost();
  loadingForReplay_ = true;
  if (Absolute(DataPath(sLandFileName_)) != h.landscapeFile) {
    sLandFileName_ = h.landscapeFile;
    LoadWorld(sLandFileName_);
  }
  if (Absolute(DataPath(loadedModelFile_)) != h.modelFile) {
    sModellFilename_ = h.modelFile;
    LoadAirplane(sModellFilename_);
  }
  loadingForReplay_ = false;
  if (Absolute(DataPath(loadedModelFile_)) != h.modelFile) {
    StartRecording();  // the load said why; the flight goes on live
    return;
  }
  sim_.GroundClearance = h.groundClearance;
  flights_->clock.replaying = true;
  replay->cursor = std::make_unique<record::ReplayCursor>(replay->rec, sim_, *tick_,
                                                          flights_->clock.recorded, trace_);
  replay->cursor->afterCommand = [this](record::CommandCode) { UpdateCameraControll(); };
  replay->lastReal = clock_.NowMs();
  flights_->replay = std::move(replay);
  UpdateCameraControll();
  PlaceCamera();
  UpdateGraphics();
}

void TMainForm::StepReplay() {
  FlightLog::Replay& r = *flights_->replay;
  const std::int64_t now = clock_.NowMs();
  const std::int64_t real = std::clamp<std::int64_t>(now - r.lastReal, 0, kMaxRealStepMs);
  r.lastReal = now;
  if (!r.paused) r.target += static_cast<double>(real) * ReplaySpeed();
  r.target = std::min(r.target, static_cast<double>(r.rec.DurationMs()));
  bool stepped = false;
  for (int n = 0; n < kMaxReplayStepsPerFrame && !r.cursor->AtEnd() &&
                  r.rec.frames[r.cursor->Position()].clock - r.rec.StartClock() <= r.target;
       ++n) {
    r.cursor->Step();
    stepped = true;
  }
  if (r.cursor->FirstDifference()) {
    char at[32];
    std::snprintf(at, sizeof at, "%.1f",
                  static_cast<double>(*r.cursor->FirstDifference()) / 1000.0);
    PushError(Texts.ReplayDiffers + at);
    TakeOver();
    return;
  }
  // The camera moves once a recorded frame, as in the live flight; between
  // frames only the overlay changes.
  if (!stepped) UpdateOverlay();
}

double TMainForm::ReplaySeconds() const {
  return Replaying() ? static_cast<double>(flights_->replay->cursor->TimeMs()) / 1000.0 : 0.0;
}

double TMainForm::ReplaySpeed() const {
  const double slow = 1.0 / flights_->clock.SlowMotion();
  return Replaying() ? kReplaySpeeds[flights_->replay->speed] * slow : slow;
}

int TMainForm::SlowMotion() const { return flights_->clock.SlowMotion(); }

void TMainForm::SetSlowMotion(int divisor) {
  trace_("TMainForm.SetSlowMotion " + std::to_string(divisor) + "\r\n");
  flights_->clock.SetSlowMotion(divisor);
  UpdateOverlay();
}
bool TMainForm::ReplayPaused() const { return Replaying() && flights_->replay->paused; }

void TMainForm::ReplayTogglePause() {
  if (Replaying()) flights_->replay->paused = !flights_->replay->paused;
  if (Replaying()) UpdateOverlay();
}

void TMainForm::ReplaySeek(std::int64_t ms) {
  if (!Replaying()) return;
  FlightLog::Replay& r = *flights_->replay;
  const std::int64_t to = std::clamp<std::int64_t>(r.cursor->TimeMs() + ms, 0, r.rec.DurationMs());
  r.cursor->SeekTime(to);
  r.target = static_cast<double>(r.cursor->TimeMs());
  UpdateCameraControll();
  UpdateGraphics();
}

void TMainForm::ReplayFaster(bool faster) {
  if (!Replaying()) return;
  int& speed = flights_->replay->speed;
  const int last = static_cast<int>(std::size(kReplaySpeeds)) - 1;
  speed = std::clamp(speed + (faster ? 1 : -1), 0, last);
  UpdateOverlay();
}

void TMainForm::TakeOver() {
  if (!Replaying()) return;
  trace_("TMainForm.TakeOver\r\n");
  flights_->replay.reset();
  flights_->clock.replaying = false;
  // The recorded times come from another run's clock: move them to this one,
  // keeping their differences (the crash delay), so the next frame is a normal one.
  const std::int64_t shift = flights_->clock.NowMs() - sim_.LastTickTime;
  sim_.LastTickTime += shift;
  sim_.PrevTickTime += shift;
  sim_.CrashTime += shift;
  StartRecording();
  UpdateOverlay();
}

void TMainForm::LiveCommand() {
  if (Replaying()) TakeOver();
}

// ---- ghost ----

void TMainForm::ShowGhost(const std::string& path) {
  trace_("TMainForm.ShowGhost File: " + path + "\r\n");
  if (!scene_) return;
  auto g = std::make_unique<FlightLog::Ghost>();
  try {
    g->rec = record::ReadRecording(path);
  } catch (const std::exception& e) {
    PushError(Texts.ReplayFailed + e.what());
    return;
  }
  const record::FlightHeader& h = g->rec.header;
  if (h.modelFile != Absolute(DataPath(loadedModelFile_)) ||
      h.landscapeFile != Absolute(DataPath(sLandFileName_))) {
    PushError(Texts.GhostNeedsSameFiles + path);
    return;
  }
  HideGhost();
  g->state = sim_;
  g->state.GroundClearance = h.groundClearance;
  g->tick = std::make_unique<SimTick>(g->state, g->clock, Trace(), worldProxy_.get());
  g->tick->heliStep = MoveHelicopter;
  FlightLog::Ghost* ghost = g.get();
  g->cursor = std::make_unique<record::ReplayCursor>(g->rec, g->state, *g->tick, g->clock, Trace());
  g->tick->hooks.readRadio = [ghost] { ghost->state.FunctionValue = ghost->cursor->Controls(); };
  // The ghost is the model's own mesh, every face see-through.
  Scene& sc = *scene_;
  g->visual = std::make_shared<rm::MeshBuilder>(*sc.modelVisual);
  for (std::size_t i = 0; i < g->visual->Faces().size(); ++i) {
    const rm::ColorARGB c = g->visual->Faces()[i].color;
    const std::uint32_t a = std::min<std::uint32_t>(rm::AlphaOf(c), kGhostAlpha);
    g->visual->SetFaceColor(i, (c & 0x00FFFFFFu) | (a << 24));
  }
  g->frame = root_.CreateFrame(sceneFrame_);
  g->frame->AddVisual(g->visual);
  flights_->ghost = std::move(g);
  PlaceGhost();
}

void TMainForm::HideGhost() {
  FlightLog& f = *flights_;
  if (!f.ghost) return;
  if (sceneFrame_ && f.ghost->frame) sceneFrame_->DeleteChild(f.ghost->frame);
  f.ghost.reset();
}

bool TMainForm::GhostShown() const { return flights_->ghost != nullptr; }
const SimState* TMainForm::GhostState() const {
  return flights_->ghost ? &flights_->ghost->state : nullptr;
}

// The ghost keeps to the live flight's time since its start.
void TMainForm::StepGhost() {
  FlightLog::Ghost* g = flights_->ghost.get();
  if (!g || Replaying()) return;
  const std::int64_t target = sim_.LastTickTime - flights_->flightStart;
  if (target < g->cursor->TimeMs()) RewindGhost();
  for (int n = 0; n < kMaxReplayStepsPerFrame && !g->cursor->AtEnd() &&
                  g->rec.frames[g->cursor->Position()].clock - g->rec.StartClock() <= target;
       ++n) {
    g->cursor->Step();
    if (g->course) g->course->Tick(g->state);
  }
  PlaceGhost();
}

void TMainForm::RewindGhost() {
  FlightLog::Ghost* g = flights_->ghost.get();
  if (!g) return;
  g->cursor->Rewind();
  if (g->course) g->course->Rewind(g->state);
}

void TMainForm::PlaceGhost() {
  FlightLog::Ghost* g = flights_->ghost.get();
  if (!g) return;
  g->frame->SetPosition(rm::ToLayer(g->state.ModelPosition));
  g->frame->SetOrientation(rm::ToLayer(g->state.AxisForward * -1.0), rm::ToLayer(g->state.AxisUp));
}

}  // namespace veltrane
