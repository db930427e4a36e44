// The main window's flying tasks: the runner fed once a tick, the course in
// the scene, the overlay, the tones, the results file and the best run as
// the ghost.
#include <filesystem>

#include "app/flight_log.h"
#include "app/main_form.h"
#include "app/main_form_scene.h"
#include "app/scene_course.h"
#include "app/tasks/results_store.h"
#include "app/tasks/task_json.h"
#include "app/tasks/task_setup.h"

namespace veltrane {

namespace {

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.lexically_normal().string();
}

}  // namespace

std::string TMainForm::ResultsFile() const {
  if (flights_->folder.empty()) return {};
  std::filesystem::path flights(flights_->folder);
  if (!flights.has_filename()) flights = flights.parent_path();  // "…/flights/"
  return (flights.parent_path() / "results.json").string();
}

std::string TMainForm::ModelIdentity() const {
  return AbsolutePath(DataPath(loadedModelFile_.empty() ? sModellFilename_ : loadedModelFile_));
}

std::string TMainForm::LandscapeIdentity() const { return AbsolutePath(DataPath(sLandFileName_)); }

std::optional<tasks::TaskKind> TMainForm::RunningTask() const {
  if (!task_) return std::nullopt;
  return task_->runner.Kind();
}

const tasks::FlyingTask* TMainForm::CurrentTask() const {
  return task_ ? &task_->runner.Task() : nullptr;
}

void TMainForm::StartTask(tasks::TaskKind kind, double workingTime) {
  EndTask();
  if (!scene_ || Replaying()) return;
  trace_("TMainForm.StartTask " + std::string(tasks::KindName(kind)) + "\r\n");
  if (kind == tasks::TaskKind::Duration) workingTime_ = workingTime;
  const World& land = worldProxy_->Land();
  const tasks::TaskPlaces places = tasks::PlacesFromState(sim_, SceneCourseOf(scene_->info, land));
  const double nose =
      scene_->modelVisual ? tasks::NoseOffset(scene_->modelVisual->Vertices()) : 0.0;
  task_ = std::make_unique<TaskRun>(TaskRun{
      tasks::TaskRunner(kind, places, land, tasks::TaskOptions{workingTime}, nose), nullptr});
  task_->course = std::make_unique<TaskCourse>(root_, sceneFrame_, task_->runner.Task(), land);
  // Each task starts from the model put back at its place.
  Initialisieren1Click();
  ShowTaskGhost();
  UpdateOverlay();
}

void TMainForm::EndTask() {
  if (!task_) return;
  trace_("TMainForm.EndTask\r\n");
  const bool ghost = task_->ghostShown;
  task_.reset();
  if (ghost) HideGhost();
  UpdateOverlay();
}

void TMainForm::ShowTaskGhost() {
  const std::string file = ResultsFile();
  if (!task_ || file.empty()) return;
  tasks::ResultsStore store(file, trace_);
  store.Load();
  const std::optional<std::string> best = store.BestFlight(
      std::string(tasks::KindName(task_->runner.Kind())), ModelIdentity(), LandscapeIdentity());
  if (!best) return;
  ShowGhost(*best);
  task_->ghostShown = GhostShown();
  if (FlightLog::Ghost* g = flights_->ghost.get()) {
    const tasks::TaskRunner& live = task_->runner;
    g->course = std::make_unique<tasks::GhostCourse>(live.Kind(), live.Places(),
                                                     worldProxy_->Land(), live.Options());
    g->tick->SetWorld(&g->course->FlightWorld());
    RewindGhost();
  }
}

void TMainForm::TaskLaunched() {
  if (task_ && task_->runner.Launch(sim_.ModelPosition)) {
    // A fresh attempt: the best run may be the one just flown.
    if (task_->ghostShown) HideGhost();
    ShowTaskGhost();
  }
}

void TMainForm::TaskAbandoned() {
  if (task_) task_->runner.Abandon();
}

void TMainForm::StepTask() {
  if (!task_ || sim_.Flags.Pause || Replaying()) return;
  for (const tasks::TaskEvent& e : task_->runner.Tick(sim_)) {
    trace_("TMainForm.TaskEvent " + std::string(tasks::EventName(e.kind)) + "\r\n");
    if (tasks::Beeps(e.kind)) sound_->TaskBeep(e.kind == tasks::EventKind::Start);
  }
  if (task_->runner.Task().State() == tasks::TaskState::Finished && task_->runner.TakeFinished()) {
    sound_->TaskBeep(true);
    KeepTaskResult();
  }
  task_->course->Update(task_->runner.Task());
}

void TMainForm::KeepTaskResult() {
  const tasks::FlyingTask& t = task_->runner.Task();
  tasks::TaskResult r;
  r.task = tasks::KindName(t.Kind());
  r.model = ModelIdentity();
  r.landscape = LandscapeIdentity();
  const WindSettings& wind = sim_.Air.Settings();
  r.windSpeed = wind.speed;
  r.windFrom = wind.fromDegrees;
  r.date = tasks::ResultsStore::Now();
  r.score = t.Score();
  r.details = tasks::DetailsJson(t);
  // The recording so far, written out, goes with the result.
  flights_->recorder.Flush();
  r.flight = RecordingPath();
  trace_("TMainForm.TaskResult " + r.task + " " +
         (r.score ? tasks::Decimal(*r.score, 2, '.') : std::string("-")) + "\r\n");
  const std::string file = ResultsFile();
  if (!file.empty()) tasks::ResultsStore(file, trace_).Add(r);
}

void TMainForm::UpdateTaskOverlay(int top, int pitch) {
  overlay_.task.clear();
  if (!task_) return;
  int y = top;
  for (std::string& line :
       tasks::TaskOverlayLines(task_->runner, TaskTexts, settings_.Format().decimalSeparator)) {
    overlay_.task.push_back({std::move(line), 6, y, true});
    y += pitch;
  }
}

}  // namespace veltrane
