#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/camera.h"
#include "app/commands.h"
#include "app/load_marker.h"
#include "app/overlay_format.h"
#include "app/platform_services.h"
#include "app/sound_hook.h"
#include "app/tasks/task.h"
#include "app/tasks/task_overlay.h"
#include "base/clock/clock.h"
#include "base/rm/rm.h"
#include "base/settings/locale_language.h"
#include "base/settings/settings_store.h"
#include "base/trace/startup_stages.h"
#include "base/trace/trace.h"
#include "radio/key_form.h"
#include "radio/rc_int_form.h"
#include "sim/sim_state.h"

namespace veltrane {

class SimTick;
class CollisionWorld;
struct FlightLog;

// Virtual-key numbers the main window handles itself.
namespace vk {
constexpr int kEscape = 0x1B;
constexpr int kF12 = 0x7B;
constexpr int kAdd = 0x6B;       // numeric keypad +
constexpr int kSubtract = 0x6D;  // numeric keypad -
// The replay's keys: none of them is a command or a keyboard-control default.
constexpr int kSpace = 0x20;  // pause and go on
constexpr int kF5 = 0x74;     // 10 s back
constexpr int kF6 = 0x75;     // 10 s forward
constexpr int kF7 = 0x76;     // slower
constexpr int kF8 = 0x77;     // faster
constexpr int kF9 = 0x78;     // the pilot takes over
}  // namespace vk

// The 3D view's display options, read by the window at start and on every
// re-initialisation.
struct DisplayOptions {
  bool doFullscreen = false;
  int DisplayWidth = 800;  // full-screen size
  int DisplayHeight = 600;
  int BitCount = 16;
  bool doWaitVBlank = true;
  bool doFlip = true;
  int iDXDrawDriver = 0;
};

// A display switch the window has to carry out (finalise, switch, initialise).
struct DisplayRequest {
  bool fullScreen = false;  // false: back to a window
  int width = 0;
  int height = 0;
};

// One text of the overlay, in pixels from the top left of the surface.
struct OverlayLine {
  std::string text;
  int x = 0;
  int y = 0;
  bool visible = false;
};

// What the renderer draws on top of the scene after each frame.
struct Overlay {
  OverlayLine fps;
  OverlayLine speed;
  OverlayLine height;
  OverlayLine vario;
  OverlayLine wind;               // only while a wind blows
  OverlayLine slowMotion;         // "Zeitlupe 1/2" while the flight runs slower
  OverlayLine replay;             // replay time and speed
  OverlayLine replayKeys;         // what the replay's keys do
  std::vector<OverlayLine> task;  // the flying task's name, clock and score
  int hudBandHeight = 40;         // top band forced to redraw every frame
};

// The check marks of the menu that this window persists.
// Autozoom and follow flight live in CameraSettings.
struct MenuChecks {
  bool Nebel = true;
  bool Panorama = true;      // the landscape's panorama and the sky over it
  bool Bodendetails = true;  // grain on the ground close by
  bool weicheTexturen = true;
  bool Texturen = true;
  bool FPS = false;
  bool GeschwHoehe = false;
  bool ThermikAnzeigen = false;  // the thermals drawn as columns
};

// Texts of the main window that the language files replace (German defaults).
struct MainFormTexts {
  std::string InitText = "Veltrane wird initialisiert";
  std::string FpsLabel = "BPS:";
  std::string SpeedLabel = "Geschwindigkeit:";
  std::string HeightLabel = "Höhe:";
  std::string VarioLabel = "Vario:";
  std::string WindLabel = "Wind:";
  std::string WindFrom = "aus";  // "Wind: 6.0 m/s aus 270°"
  std::string SlowMotionLabel = "Zeitlupe";
  std::string ProgramTitle = "Veltrane";
  std::string ModelNotFound = "Das Flugmodell wurde nicht gefunden: ";
  std::string LandscapeNotFound = "Die Landschaft wurde nicht gefunden: ";
  std::string SettingsNotSaved = "Die Einstellungen konnten nicht gespeichert werden: ";
  std::string ModelWithoutGeometry = "Das Flugmodell hat keine Geometrie: ";
  std::string PanoramaUnreadable = "Das Panoramabild konnte nicht gelesen werden: ";
  std::string SkippedAfterCrash =
      "Beim letzten Start wurde Veltrane beim Laden dieser Datei beendet; sie wird diesmal nicht "
      "geladen: ";
  std::string DefaultInstead = "Stattdessen wird die Voreinstellung geladen: ";
  std::string ReplayLabel = "Wiedergabe:";
  std::string ReplayPaused = "angehalten";
  std::string ReplayEnd = "Ende";
  std::string ReplayKeys =
      "Leertaste: Pause   F5/F6: 10 s zurück/vor   F7/F8: langsamer/schneller   F9: selbst "
      "weiterfliegen";
  std::string ReplayFailed = "Der Flug kann nicht abgespielt werden: ";
  std::string ReplayDiffers =
      "Der Flug lässt sich nicht genau wiederholen (Flugmodell, Landschaft oder Programm "
      "geändert), ab Sekunde ";
  std::string GhostNeedsSameFiles =
      "Als Geist fliegt nur ein Flug mit dem geladenen Flugmodell und der geladenen Landschaft: ";
  std::string RecordingFailed = "Der Flug kann nicht aufgezeichnet werden: ";
};

// The main window without its toolkit: settings, scene building and update,
// camera, commands and keys. The SDL program owns one, forwards events to it
// and draws the scene and overlay it exposes.
class TMainForm {
 public:
  // exePath: the data folder, with or without a trailing '/'.
  TMainForm(std::string exePath, SettingsStore& settings, Trace trace, Clock& clock,
            PlatformServices& services, SoundHook* sound = nullptr);
  ~TMainForm();
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // Graphics check before anything else runs. False: the program must end now.
  bool OnInitalizeAppliciation(int glMajor, int glMinor);

  void FormCreate();      // reads the settings, disables the screen saver
  void OnStartRunning();  // trace, then onUpdateLanguage(iLanguage)
  void FormClose();       // writes the settings, restores the screen saver

  // The 3D view's life: SimInit runs DXDrawInitialize, then DXDrawInitializeSurface.
  void SimInit();
  void DXDrawInitialize();
  void DXDrawInitializeSurface();
  void DXDrawFinalize();

  // One frame: radio, physics, crash handling, sound, UpdateGraphics.
  void DXTimerTimer();
  bool TimerEnabled() const { return timerEnabled_; }
  // Dialogs that change simulation settings stop the frame timer while they are open;
  // the first tick afterwards measures the whole gap, capped like any other.
  void SetTimerEnabled(bool enabled) { timerEnabled_ = enabled; }
  // The window reports whether it can draw now (not minimised, surfaces fine).
  void SetCanDraw(bool canDraw) { canDraw_ = canDraw; }
  // The scene update of one frame; the renderer draws afterwards.
  void UpdateGraphics();
  // The per-frame radio read: interface, keys, clamp.
  void ReadRadio();

  // The user interface's dialogs and quitting, for the commands that need
  // them; null without a user interface.
  void SetCommandHost(CommandHost* host) { host_ = host; }
  CommandHost* Host() const { return host_; }

  // Commands; commands.h maps the menu and the keys to them.
  void Initialisieren1Click();
  void PauseClick();
  void Windenstart1Click();
  void Handstart1Click();
  void AutorestartClick();  // "indestructible model"
  void AutoInitClick();
  // The vario check item: the user's choice, or on for a model without an engine.
  bool VarioOn() const;
  void VarioClick();
  void AutozoomClick();
  void Hinterherflug1Click();
  void GeschwHoeheClick();
  void FPSClick();
  void ThermikAnzeigenClick();
  void Vergssern1Click();     // zoom in
  void Verkleinern1Click();   // zoom out
  void ModelNeuLadenClick();  // Ctrl+M
  void LandNeuLadenClick();   // Ctrl+L
  void NebelClick();
  void PanoramaClick();
  void BodendetailsClick();
  void weicheTexturenClick();
  void TexturenClick();
  void SetMipmapping(bool value);
  void UpdateTextureQuality();
  // Loads the model; a file that does not load (or has no faces) leaves the
  // current model flying and remembered, with the reason as an error message.
  void LoadAirplane(const std::string& fileName);
  void LoadWorld(const std::string& fileName);
  void SetMenuVisible(bool visible);
  void SetDisplay(const DisplayRequest& request);
  void StoreWindow();
  void RestoreWindow();

  // Keys. FormKeyPress takes typed characters (digits move the pilot);
  // FormKeyDown the shortcut keys and Esc, which the window must not also pass
  // as a character; FormKeyUp the release of F12.
  void FormKeyPress(char key);
  void FormKeyDown(int vk, bool ctrl);
  void FormKeyUp(int vk);

  // Recorded flights. Each flight (start, re-initialisation, a launch, a new
  // model or landscape) goes to a file of its own in the flights folder.
  void SetFlightsFolder(std::string folder);
  // While the program starts: the stages of building the scene are marked there.
  void SetStartupStages(StartupStages* stages) { stages_ = stages; }
  // Starts reading the landscape now named on a worker, so that it loads while
  // the interface is built; the scene's first build takes the result when the
  // file, the texture choice and the random numbers it would draw are still
  // the same, and reads it again otherwise.
  void PrefetchLandscape();
  const std::string& FlightsFolder() const;
  bool RecordFlights() const;
  void SetRecordFlights(bool on);
  void RecordFlightsClick() { SetRecordFlights(!RecordFlights()); }
  // The file being written now; empty when nothing is recorded.
  std::string RecordingPath() const;
  // The model flies the recorded flight; a file that cannot be replayed gives a message.
  void ReplayFlight(const std::string& path);
  bool Replaying() const;
  double ReplaySeconds() const;
  double ReplaySpeed() const;
  bool ReplayPaused() const;
  void ReplayTogglePause();
  void ReplaySeek(std::int64_t ms);
  void ReplayFaster(bool faster);
  // The flight goes on live from the replayed state.
  void TakeOver();
  // A recorded flight of the loaded model and landscape flies beside the live
  // one, semi-transparent, from the start of each live flight.
  void ShowGhost(const std::string& path);
  void HideGhost();
  bool GhostShown() const;
  const SimState* GhostState() const;
  // The hint for a first flight, shown from the first start until the first
  // key press; a settings key keeps it from showing again.
  bool FirstFlightHelp() const { return firstFlightHelp_; }
  // Slow motion: the flight runs at 1/divisor of real time (1, 2 or 4), a
  // replay too. Not kept in the settings: a new start flies in real time.
  int SlowMotion() const;
  void SetSlowMotion(int divisor);
  // The thermal settings changed the flight between two frames.
  void FlightStateChanged();

  // Flying tasks. Starting one ends the one running; loading a model or a
  // landscape, or replaying a flight, ends it. Each finished attempt goes to
  // the results file with its recorded flight; the best earlier one of the
  // same task, model and landscape flies beside the model as the ghost.
  void StartTask(tasks::TaskKind kind, double workingTime = 600.0);
  void EndTask();
  std::optional<tasks::TaskKind> RunningTask() const;
  // The attempt under way or last flown; null without a task.
  const tasks::FlyingTask* CurrentTask() const;
  // The duration task's working time last chosen, seconds.
  double WorkingTime() const { return workingTime_; }
  // $XDG_DATA_HOME/veltrane/results.json beside the flights folder; empty
  // when no flight is kept.
  std::string ResultsFile() const;
  // The identities a result is filed under: the files as the recordings name them.
  std::string ModelIdentity() const;
  std::string LandscapeIdentity() const;

  // Camera.
  void SetCameraZoom(double zoom);
  void UpdateCameraControll();

  // Errors the user has to see (loaders, missing files); the program keeps running.
  bool HasErrorMessage() const { return !errors_.empty(); }
  std::optional<std::string> TakeErrorMessage();
  // A problem found outside the form (start-up checks), shown like its own errors.
  void ReportError(std::string message) { PushError(std::move(message)); }

  // The display switch requested by Esc or the resolution menu, taken by the window.
  std::optional<DisplayRequest> TakeDisplayRequest();

  // The window tells its current size in window mode (ignored while full screen)
  // and the size of the surface it renders into.
  void ReportWindowSize(int width, int height);
  // The window size in force once the window fitted the stored one to the
  // display, in window mode and full screen alike.
  void SetWindowSize(int width, int height);
  void ReportSurfaceSize(int width, int height);
  // Pixel height of the overlay font's blank, for the line pitch.
  void ReportTextHeight(int pixels) { textHeight_ = pixels; }
  // Called during DXDrawInitialize with the start screen's text; the window
  // fills its surface black, draws the text centred in white and presents it.
  std::function<void(const std::string&)> onStartScreen;
  // Applies a user-interface language (the UI layer owns the translations).
  std::function<void(int)> onUpdateLanguage;
  // The translated program title: the window's caption, with the model's file
  // name behind it once a model is loaded.
  void SetMainCaption(const std::string& caption);

  // What the window needs to know.
  const DisplayOptions& Display() const { return display_; }
  DisplayOptions& Display() { return display_; }
  bool MenuIsVisible() const { return menuIsVisible_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::string& ExePath() const { return exePath_; }
  const std::string& Caption() const { return caption_; }
  bool SoundAvailable() const { return soundAvailable_; }
  const Overlay& CurrentOverlay() const { return overlay_; }
  int FramesPerSecond() const { return fpsMeter_.Rate(); }

  // The scene the renderer draws. The scene frame is null before DXDrawInitialize.
  rm::Root& Root() { return root_; }
  const std::shared_ptr<rm::Frame>& SceneFrame() const { return sceneFrame_; }
  const std::shared_ptr<rm::Frame>& CameraFrame() const { return viewport_.camera; }
  rm::Viewport& Viewport() { return viewport_; }
  rm::Device& Device() { return device_; }

  // The landscape the flight code sees (a flat plane until one is loaded).
  const World& CurrentWorld() const;
  bool SceneReady() const;

  MainFormTexts Texts;
  tasks::TaskWords TaskTexts;

  // State for the dialogs and tests.
  SimState& State() { return sim_; }
  const SimState& State() const { return sim_; }
  CameraSettings& Zooms() { return cam_; }
  const CameraSettings& Zooms() const { return cam_; }
  MenuChecks& Checks() { return checks_; }
  const MenuChecks& Checks() const { return checks_; }
  bool Mipmapping() const { return mipmapping_; }
  int iLanguage() const { return iLanguage_; }
  void SetLanguageIndex(int index) { iLanguage_ = index; }
  const std::string& sModellFilename() const { return sModellFilename_; }
  const std::string& sLandFileName() const { return sLandFileName_; }
  void SetModelFileName(const std::string& f) { sModellFilename_ = f; }
  void SetLandFileName(const std::string& f) { sLandFileName_ = f; }
  TRcIntForm& ActiveInterface() { return *activeInterface_; }
  // The interface selection later hands in the chosen one (list position 0..4).
  void SetActiveInterface(TRcIntForm* rcInterface, int listPosition);
  TKeyForm& KeyForm() { return keyForm_; }

 private:
  struct Scene;
  struct TaskRun;
  class WorldProxy;
  struct LandscapeRead;
  struct LandscapePrefetch;
  void PushError(std::string message);
  void ReadSettings();
  void SkipFilesThatEndedTheLastRun(bool previousRunEndedAbnormally);
  void WriteSettings();
  void FlushSettings();
  std::string DataPath(const std::string& file) const;
  void CreateLights();
  void BuildWorld(const std::string& fileName);
  // BuildWorld in three steps. BeginLandscape marks the load and sets the
  // search path (false: no such file). ReadLandscape reads the file and
  // builds the collision model and may run on a worker thread (it needs no GL
  // and uses nothing of the form but the random numbers). PlaceLandscape puts
  // the result into the scene.
  bool BeginLandscape(const std::string& fileName);
  // The terrain's shades are drawn from `random`, a copy of the form's
  // generator; PlaceLandscape carries its state on.
  LandscapeRead ReadLandscape(const std::string& fileName, bool found, ProgramRandom random);
  void PlaceLandscape(const std::string& fileName, LandscapeRead read);
  // The sky dome or the backdrop, and the ground's grain, as the menu has them.
  void ShowViewPieces();
  void PlaceCamera();
  void UpdateOverlay();
  void CountFrame();
  void StartRecording();
  void RecordCommand(int code, int arg = 0);
  // A command that changes the flight ends a replay first: the pilot takes over.
  void LiveCommand();
  void StepReplay();
  void StepGhost();
  void RewindGhost();
  void PlaceGhost();
  void ReadFrameControls();
  // The task's share of a tick, and of the launch and re-initialisation commands.
  void StepTask();
  void TaskLaunched();
  void TaskAbandoned();
  void KeepTaskResult();
  void ShowTaskGhost();
  void UpdateTaskOverlay(int top, int pitch);

  std::string exePath_;
  SettingsStore& settings_;
  Trace trace_;
  StartupStages* stages_ = nullptr;
  LoadMarker marker_{settings_, trace_};
  Clock& clock_;
  PlatformServices& services_;
  CommandHost* host_ = nullptr;
  SoundHook nullSound_;
  SoundHook* sound_;

  SimState sim_;
  CameraSettings cam_;
  MenuChecks checks_;
  DisplayOptions display_;
  bool menuIsVisible_ = true;
  bool mipmapping_ = true;
  bool soundAvailable_ = false;
  int width_ = 640;
  int height_ = 479;
  int surfaceWidth_ = 640;
  int surfaceHeight_ = 479;
  int textHeight_ = 13;
  int iLanguage_ = lang::kEnglish;
  std::string sModellFilename_ = "Model/su-26.par";
  std::string loadedModelFile_;  // the model on screen; kept when another fails to load
  // The landscape whose usual wind was last taken: reloading it (textures, the
  // reload command) keeps the wind the user set, opening another brings its own.
  std::string windLandscape_;
  std::string sLandFileName_ = "Landscape/world.scn";
  std::string caption_ = "Veltrane";
  std::string captionModel_;  // file name shown in the caption, empty before a load
  bool windowPlacementSaved_ = false;
  WindowPlacement savedPlacement_;
  bool screenSaverWasActive_ = false;
  bool timerEnabled_ = false;
  bool canDraw_ = true;
  bool firstFlightHelp_ = false;

  TRcIntForm plainInterface_;
  TRcIntForm* activeInterface_ = &plainInterface_;
  int activeListPosition_ = 0;
  TKeyForm keyForm_;

  Overlay overlay_;
  FrameRateMeter fpsMeter_;

  std::deque<std::string> errors_;
  std::optional<DisplayRequest> displayRequest_;
  rm::Root root_;
  rm::Viewport viewport_;
  rm::Device device_;
  std::shared_ptr<rm::Frame> sceneFrame_;
  std::unique_ptr<Scene> scene_;
  std::unique_ptr<FlightLog> flights_;
  bool loadingForReplay_ = false;
  std::unique_ptr<WorldProxy> worldProxy_;
  std::unique_ptr<SimTick> tick_;
  std::unique_ptr<TaskRun> task_;
  double workingTime_ = 600.0;
  // Last, so that a read still under way ends before anything it uses goes.
  std::unique_ptr<LandscapePrefetch> prefetch_;
};

}  // namespace veltrane
