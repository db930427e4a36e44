#include "app/main_form_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <future>
#include <string_view>

#include "app/flight_log.h"
#include "app/main_form.h"
#include "app/scene_backdrop.h"
#include "base/memory/heap_release.h"
#include "base/rm/mesh_geometry.h"
#include "loaders/file_names.h"
#include "loaders/model_loader.h"
#include "loaders/par_file.h"
#include "loaders/scene_air.h"
#include "loaders/scene_file.h"
#include "loaders/terrain_faces.h"
#include "sim/collision_world.h"
#include "sim/create_world_col.h"
#include "sim/lifecycle.h"
#include "sim/math_u.h"
#include "sim/thermals.h"
#include "sim/tick.h"

namespace veltrane {

namespace {

constexpr const char* kMain = "MainForm";
constexpr double kBackClip = 8000.0;
constexpr int kHudBandHeight = 40;

// "Model\su-26.par" -> "su-26"
std::string BaseName(const std::string& file) {
  std::string name = file;
  const auto slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name = name.substr(0, dot);
  return name;
}

// The cursor shows the hourglass while a file loads, whatever ends the load.
class HourglassScope {
 public:
  HourglassScope(PlatformServices& s, bool menuVisible) : s_(s), restore_(menuVisible) {
    s_.SetCursor(CursorKind::Hourglass);
  }
  ~HourglassScope() { s_.SetCursor(restore_ ? CursorKind::Arrow : CursorKind::Hidden); }

 private:
  PlatformServices& s_;
  bool restore_ = true;
};

struct ModelParameters {
  AirplaneParams airplane;
  HelicopterParams heli;
  std::int32_t style = 0;
  double groundClearance = 0.0;
};

ModelParameters SaveModelParameters(const SimState& s) {
  return {s.Airplane, s.Heli, s.iModelStyle, s.GroundClearance};
}

void RestoreModelParameters(SimState& s, const ModelParameters& p) {
  s.Airplane = p.airplane;
  s.Heli = p.heli;
  s.iModelStyle = p.style;
  s.GroundClearance = p.groundClearance;
}

}  // namespace

TMainForm::~TMainForm() = default;

bool TMainForm::SceneReady() const { return canDraw_ && scene_ && sceneFrame_; }

void TMainForm::SimInit() {
  flights_->replay.reset();
  flights_->clock.replaying = false;
  veltrane::SimInit(sim_, CurrentWorld(), *tick_, trace_, [this] { DXDrawInitialize(); });
  DXDrawInitializeSurface();
  StartRecording();
}

void TMainForm::CreateLights() {
  struct Row {
    rm::Vector position;
    rm::LightType type;
    float colour;
  };
  const Row rows[] = {
      {{10000, 3000, 10000}, rm::LightType::ParallelPoint, 0.15f},
      {{-10000, 3000, 10000}, rm::LightType::ParallelPoint, 0.12f},
      {{10000, 3000, -10000}, rm::LightType::ParallelPoint, 0.12f},
      {{-10000, 3000, -10000}, rm::LightType::ParallelPoint, 0.10f},
      {{0, 10000, -1500}, rm::LightType::Ambient, 0.30f},
  };
  for (const Row& r : rows) {
    auto frame = root_.CreateFrame(sceneFrame_);
    frame->SetPosition(r.position);
    auto light = root_.CreateLight(r.type, r.colour, r.colour, r.colour);
    sceneFrame_->AddLight(light);
    frame->AddLight(light);
    scene_->lightFrames.push_back(frame);
  }
  // The main light shares the ambient light's frame.
  scene_->mainLight = root_.CreateLight(rm::LightType::ParallelPoint, 1.0f, 1.0f, 1.0f);
  sceneFrame_->AddLight(scene_->mainLight);
  scene_->lightFrames.back()->AddLight(scene_->mainLight);
}

// Terrain and sky into a new world frame, and the collision model over the terrain.
void TMainForm::BuildWorld(const std::string& fileName) {
  const bool found = BeginLandscape(fileName);
  PlaceLandscape(fileName, ReadLandscape(fileName, found, sim_.Random));
}

bool TMainForm::BeginLandscape(const std::string& fileName) {
  const std::string path = DataPath(fileName);
  if (!loaders::FileExists(path)) return false;
  marker_.Begin(LoadMarker::Kind::Landscape, fileName);
  root_.SetSearchPath(loaders::FolderOf(path));
  return true;
}

TMainForm::LandscapeRead TMainForm::ReadLandscape(const std::string& fileName, bool found,
                                                  ProgramRandom random) {
  LandscapeRead r;
  r.terrain = root_.CreateMeshBuilder();
  r.sky = root_.CreateMeshBuilder();
  const std::string path = DataPath(fileName);
  r.found = found;
  std::vector<std::shared_ptr<rm::Texture>> terrainTextures;
  if (r.found) {
    const Trace trace([&r](std::string_view line) { r.trace.emplace_back(line); });
    try {
      // The terrain goes from the loader's tables straight into the renderer's
      // streams and the collision model, never held as builder faces.
      collision::CollisionModel ground;
      {
        loaders::SceneBuilds tables;
        tables.assembleTerrain = false;
        loaders::LoadSCN(path, root_, checks_.Texturen, r.info, r.grid, *r.sky, *r.terrain, random,
                         trace, &tables);
        const loaders::MeshBuildFaces faces(tables.terrain, root_,
                                            {tables.shift, 0.0f, tables.shift});
        r.terrain->SetPrebuiltGeometry(
            std::make_shared<rm::MeshGeometry>(rm::BuildMeshGeometry(faces)), faces.Box());
        ground = WorldColTriangles(faces);
        terrainTextures = faces.Textures();
      }
      // The tables are gone: the tree's scratch takes their place, not more.
      ground.finalize();
      r.collision = std::make_unique<CollisionWorld>(std::move(ground));
    } catch (const std::exception& e) {
      r.error = e.what();
      r.terrain = root_.CreateMeshBuilder();
      r.sky = root_.CreateMeshBuilder();
      r.collision.reset();
      terrainTextures.clear();
    }
  }
  r.randomAfter = random.State();
  if (!r.collision) r.collision = std::make_unique<CollisionWorld>(CreateWorldCol(*r.terrain));
  if (r.found && r.error.empty() && !r.info.PanoramaFile.empty() && checks_.Texturen)
    r.panorama = LoadPanorama(root_, r.info.PanoramaFile, r.panoramaError);
  // A landscape that did not load leaves flat ground to the wind, as to the flight.
  r.air = r.found && r.error.empty() ? loaders::TerrainFromScene(r.info, r.grid)
                                     : std::make_shared<TerrainGrid>();
  ReleaseFreedHeap();  // the loader's tables and the tree's scratch
  // The collision model has what it needs; the renderer needs the landscape once.
  for (const auto& visual : {r.terrain, r.sky}) {
    visual->SetReleaseAfterUpload(true);
    for (const rm::Face& f : visual->Faces())
      if (f.texture) f.texture->releaseAfterUpload = true;
  }
  for (const auto& t : terrainTextures)
    if (t) t->releaseAfterUpload = true;
  return r;
}

void TMainForm::PlaceLandscape(const std::string& fileName, LandscapeRead read) {
  for (const std::string& line : read.trace) trace_(line);
  sim_.Random.SetState(read.randomAfter);
  if (!read.found) PushError(Texts.LandscapeNotFound + DataPath(fileName));
  if (!read.error.empty()) PushError(read.error);
  if (!read.panoramaError.empty()) PushError(Texts.PanoramaUnreadable + read.panoramaError);
  if (read.found) marker_.End(LoadMarker::Kind::Landscape);
  Scene& sc = *scene_;
  sc.worldFrame = root_.CreateFrame(sceneFrame_);
  sc.terrainVisual = std::move(read.terrain);
  sc.skyVisual = std::move(read.sky);
  sc.backdrop = MakeBackdrop(*sc.skyVisual, std::move(read.panorama), read.info);
  sc.info = read.info;
  sc.grid = std::move(read.grid);
  sc.worldCollision = std::move(read.collision);
  sim_.Air.SetTerrain(std::move(read.air));
  const double poleX = sc.info.WindpoleX, poleY = sc.info.WindpoleY;
  sc.windsock = std::make_unique<Windsock>(
      root_, sc.worldFrame, Vec3{poleX, poleY, CurrentWorld().GroundHeightAt(poleX, poleY)});
  sc.thermals = std::make_unique<ThermalColumns>(root_, sc.worldFrame);
  if (stages_) stages_->Mark("landscape and collision model built");
}

void TMainForm::PrefetchLandscape() {
  if (prefetch_) return;
  auto p = std::make_unique<LandscapePrefetch>();
  p->file = sLandFileName_;
  p->textures = checks_.Texturen;
  // The scene is first built right after the thermals are scattered.
  ProgramRandom random = sim_.Random;
  for (int i = ThermalRandomDraws(sim_.Thermals); i > 0; --i) random.Next();
  p->randomBefore = random.State();
  const bool found = BeginLandscape(p->file);
  p->read = std::async(std::launch::async, [this, file = p->file, found, random] {
    return ReadLandscape(file, found, random);
  });
  prefetch_ = std::move(p);
}

void TMainForm::DXDrawInitialize() {
  trace_("TMainForm.DXDrawInitialize\r\n");
  // The landscape is read on a worker while the start screen is drawn: the
  // one needs the files and the processor, the other the GL. Its trace lines
  // are written where they always came, after "CreateWorldFrame".
  std::future<LandscapeRead> landscape;
  if (prefetch_ && prefetch_->file == sLandFileName_ && prefetch_->textures == checks_.Texturen &&
      prefetch_->randomBefore == sim_.Random.State())
    landscape = std::move(prefetch_->read);
  prefetch_.reset();  // one that no longer fits is waited for and dropped
  if (!landscape.valid()) {
    const bool landFound = BeginLandscape(sLandFileName_);
    landscape = std::async(std::launch::async,
                           [this, file = sLandFileName_, landFound, random = sim_.Random] {
                             return ReadLandscape(file, landFound, random);
                           });
  }
  if (onStartScreen) onStartScreen(Texts.InitText);
  scene_ = std::make_unique<Scene>();
  sceneFrame_ = root_.CreateFrame(nullptr);
  viewport_ = rm::Viewport{};
  device_ = rm::Device{};
  CreateLights();

  trace_("TMainForm.DXDrawInitialize SetScene\r\n");
  sceneFrame_->SetSceneBackgroundRGB(0.89f, 0.98f, 1.0f);
  sceneFrame_->SetSceneFogEnable(checks_.Nebel);
  sceneFrame_->SetSceneFogColor({227.0f / 255.0f, 250.0f / 255.0f, 1.0f});
  sceneFrame_->SetSceneFogMode(rm::FogMode::Linear);
  sceneFrame_->SetSceneFogParams(5.0f, 5000.0f, 0.5f);

  trace_("TMainForm.DXDrawInitialize CreateWorldFrame\r\n");
  PlaceLandscape(sLandFileName_, landscape.get());
  windLandscape_ = sLandFileName_;  // the wind of the last session stays
  Scene& sc = *scene_;

  const World& w = CurrentWorld();
  const double px = settings_.ReadFloat(kMain, "pManPos.fX", sc.info.PilotX);
  const double py = settings_.ReadFloat(kMain, "pManPos.fY", sc.info.PilotY);
  const double pz = settings_.ReadFloat(kMain, "pManPos.fZ", w.GroundHeightAt(px, py) + 2.0);
  ApplyScenePlaces(sim_, w, px, py, sc.info.StartX, sc.info.StartY);
  sim_.PilotPosition = {px, py, pz};

  sc.worldFrame->AddVisual(sc.terrainVisual);
  sc.worldFrame->AddVisual(sc.skyVisual);
  ShowViewPieces();

  viewport_.camera = root_.CreateFrame(sceneFrame_);
  viewport_.camera->SetOrientation({0.0f, -0.2f, 1.0f}, {0.0f, 1.0f, 0.0f});
  viewport_.camera->SetPosition(rm::ToLayer(sim_.PilotPosition));

  sc.modelFrame = root_.CreateFrame(sceneFrame_);
  sc.modelFrame->SetPosition(rm::ToLayer(sim_.ModelPosition));
  sc.modelFrame->SetOrientation({0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f});
  sc.modelVisual = root_.CreateMeshBuilder();

  trace_("TMainForm.DXDrawInitialize CreateShadow\r\n");
  sc.modelShadow = root_.CreateShadow(
      sc.modelVisual, sc.mainLight,
      {static_cast<float>(sim_.ModelPosition.x), static_cast<float>(sim_.GroundHeight),
       static_cast<float>(sim_.ModelPosition.y)},
      {0.0f, 1.0f, 0.0f});
  sc.modelShadow->SetOptions(true);
  sc.modelFrame->AddVisual(sc.modelShadow);

  LoadAirplane(sModellFilename_);
  if (stages_) stages_->Mark("model loaded");

  trace_("TMainForm.DXDrawInitialize DXTimer.Enable\r\n");
  timerEnabled_ = true;
  fpsMeter_.Reset(clock_.NowMs());
}

void TMainForm::DXDrawInitializeSurface() {
  trace_("TMainForm.DXDrawInitializeSurface\r\n");
  SetCameraZoom(cam_.Zoom);
  viewport_.SetBack(static_cast<float>(kBackClip));
  UpdateTextureQuality();
  trace_("TMainForm.DXDrawInitializeSurface SetRenderMode\r\n");
  device_.SetRenderMode(rm::render_mode::kProgramDefault);
}

void TMainForm::DXDrawFinalize() {
  trace_("TMainForm.DXDrawFinalize\r\n");
  timerEnabled_ = false;
  EndTask();
  HideGhost();
  if (scene_) scene_->worldCollision.reset();
}

void TMainForm::UpdateTextureQuality() {
  using Q = rm::TextureQuality;
  const bool soft = checks_.weicheTexturen;
  device_.SetTextureQuality(mipmapping_ ? (soft ? Q::MipLinear : Q::MipNearest)
                                        : (soft ? Q::Linear : Q::Nearest));
}

void TMainForm::SetMipmapping(bool value) {
  mipmapping_ = value;
  UpdateTextureQuality();
}

void TMainForm::NebelClick() {
  checks_.Nebel = !checks_.Nebel;
  if (sceneFrame_) sceneFrame_->SetSceneFogEnable(checks_.Nebel);
}

void TMainForm::weicheTexturenClick() {
  checks_.weicheTexturen = !checks_.weicheTexturen;
  UpdateTextureQuality();
}

void TMainForm::TexturenClick() {
  checks_.Texturen = !checks_.Texturen;
  if (!scene_) return;
  if (!sModellFilename_.empty()) LoadAirplane(sModellFilename_);
  if (!sLandFileName_.empty()) LoadWorld(sLandFileName_);
}

void TMainForm::SetCameraZoom(double zoom) {
  rm::Box box;
  if (scene_ && scene_->modelVisual) box = scene_->modelVisual->GetBox();
  const Vec3 lo{box.min.x, box.min.y, box.min.z};
  const Vec3 hi{box.max.x, box.max.y, box.max.z};
  const double d = VecLength(sim_.ModelPosition - sim_.PilotPosition);
  const ViewportZoom z = CameraZoom(d, lo, hi, zoom);
  viewport_.SetFront(static_cast<float>(z.front));
  viewport_.SetField(static_cast<float>(z.field));
}

void TMainForm::PlaceCamera() {
  if (viewport_.camera) viewport_.camera->SetPosition(rm::ToLayer(sim_.PilotPosition));
}

void TMainForm::LoadAirplane(const std::string& fileName) {
  trace_("TMainForm.LoadAirplane File: " + fileName + "\r\n");
  if (!scene_) return;
  if (!loadingForReplay_) LiveCommand();
  HourglassScope hourglass(services_, menuIsVisible_);
  Scene& sc = *scene_;
  // Loaded beside the current model, which stays in place (flying, and as the
  // remembered file) unless the new one loads with faces to show.
  auto visual = root_.CreateMeshBuilder();
  const ModelParameters before = SaveModelParameters(sim_);
  const std::string path = DataPath(fileName);
  root_.SetSearchPath(loaders::FolderOf(path));
  std::string error;
  loaders::ModelFiles loaded;
  try {
    marker_.Begin(LoadMarker::Kind::Model, fileName);
    loaded =
        loaders::LoadModelFiles(path, root_, checks_.Texturen, exePath_, *visual, sim_, trace_);
    if (loaded.loadedFiles.empty() && !loaders::FileExists(path)) {
      error = Texts.ModelNotFound + path;
    } else if (loaded.loadedFiles.empty()) {
      // A parameter file without geometry flies unseen, as ever; but it must
      // be a parameter file (this throws for a sound, a picture, noise).
      SimState scratch = sim_;
      loaders::LoadPAR(scratch, path, trace_);
    } else if (visual->FaceCount() == 0) {
      error = Texts.ModelWithoutGeometry + loaded.loadedFiles.back();
    }
  } catch (const std::exception& e) {
    error = e.what();
  }
  marker_.End(LoadMarker::Kind::Model);
  if (!error.empty()) {
    RestoreModelParameters(sim_, before);
    PushError(error);
    if (!loadedModelFile_.empty()) {
      sModellFilename_ = loadedModelFile_;
    } else {
      // Nothing flew yet (the remembered file failed at start): the default model, once.
      const std::string failed = fileName;  // may be sModellFilename_ itself
      const std::string fallback = exePath_ + "Model/su-26.par";
      sModellFilename_ = loaders::FileExists(DataPath(fallback)) ? fallback : "Model/su-26.par";
      if (failed != sModellFilename_ && loaders::FileExists(DataPath(sModellFilename_)))
        LoadAirplane(sModellFilename_);
    }
    return;
  }
  loadedModelFile_ = fileName;
  captionModel_ = BaseName(fileName);
  caption_ = Texts.ProgramTitle + " - " + captionModel_;
  services_.SetWindowCaption(caption_);
  if (!loaded.soundFile.empty()) sound_->LoadSound(loaded.soundFile, sim_);
  sc.modelFrame->DeleteVisual(sc.modelVisual);
  sc.modelVisual = visual;
  sc.modelFrame->AddVisual(sc.modelVisual);
  sc.modelShadow->SetVisual(sc.modelVisual);
  EndTask();
  HideGhost();  // it wears the old model's mesh
  StartRecording();
}

void TMainForm::LoadWorld(const std::string& fileName) {
  trace_("TMainForm.LoadWorld File: " + fileName + "\r\n");
  if (!scene_) return;
  if (!loadingForReplay_) LiveCommand();
  EndTask();  // its course stands on the landscape that goes
  HideGhost();
  HourglassScope hourglass(services_, menuIsVisible_);
  Scene& sc = *scene_;
  sc.worldFrame->DeleteVisual(sc.terrainVisual);
  sc.worldFrame->DeleteVisual(sc.skyVisual);
  sceneFrame_->DeleteChild(sc.worldFrame);
  sc.worldFrame.reset();
  sc.worldCollision.reset();
  sc.windsock.reset();
  sc.thermals.reset();

  BuildWorld(fileName);
  sc.worldFrame->AddVisual(sc.terrainVisual);
  sc.worldFrame->AddVisual(sc.skyVisual);
  ShowViewPieces();

  // A landscape made for a wind brings it along when it is opened; a replay
  // brings the recorded wind itself.
  if (fileName != windLandscape_ && !loadingForReplay_ && sc.info.Wind) {
    WindSettings wind = sim_.Air.Settings();
    wind.speed = sc.info.Wind->speed;
    wind.fromDegrees = sc.info.Wind->fromDegrees;
    sim_.Air.SetWind(wind.Clamped());
  }
  windLandscape_ = fileName;

  const World& w = CurrentWorld();
  ApplyScenePlaces(sim_, w, sc.info.PilotX, sc.info.PilotY, sc.info.StartX, sc.info.StartY);
  PlaceCamera();
  InitFlight(sim_, w, trace_);
  UpdateCameraControll();
  StartRecording();
}

void TMainForm::UpdateGraphics() {
  if (!SceneReady()) return;
  Scene& sc = *scene_;
  const CameraPose pose = CameraFrameStep(cam_, sim_, CurrentWorld());
  viewport_.camera->SetPosition(rm::ToLayer(pose.position));
  SetCameraZoom(pose.zoom);
  viewport_.camera->SetOrientation(rm::ToLayer(pose.direction), {0.0f, 1.0f, 0.0f});

  sc.modelShadow->SetPlane(
      {static_cast<float>(sim_.ModelPosition.x), static_cast<float>(sim_.GroundHeight + 0.01),
       static_cast<float>(sim_.ModelPosition.y)},
      {0.0f, 1.0f, 0.0f});
  sc.modelFrame->SetPosition(rm::ToLayer(sim_.ModelPosition));
  sc.modelFrame->SetOrientation(rm::ToLayer(sim_.AxisForward * -1.0), rm::ToLayer(sim_.AxisUp));

  if (sc.windsock) sc.windsock->Show(sim_.Air.MeanAt(sc.windsock->Top()));
  if (sc.thermals)
    sc.thermals->Update(sim_.Thermals, sim_.ModelPosition, CurrentWorld(), checks_.ThermikAnzeigen);
  StepGhost();
  viewport_.ForceUpdate(0, 0, surfaceWidth_, kHudBandHeight);
  UpdateOverlay();
}

void TMainForm::UpdateOverlay() {
  overlay_.hudBandHeight = kHudBandHeight;
  overlay_.fps = {FpsLine(Texts.FpsLabel, fpsMeter_.Rate()), surfaceWidth_ - 60, 6, checks_.FPS};
  const int pitch = static_cast<int>(RoundHalfEven(1.2 * textHeight_));
  const bool show = checks_.GeschwHoehe;
  const double height = sim_.ModelPosition.z -
                        CurrentWorld().GroundHeightAt(sim_.ModelPosition.x, sim_.ModelPosition.y);
  overlay_.speed = {SpeedLine(Texts.SpeedLabel, VecLength(sim_.ModelVelocity)), 6, 6, show};
  overlay_.height = {HeightLine(Texts.HeightLabel, height), 6, 6 + pitch, show};
  overlay_.vario = {VarioLine(Texts.VarioLabel, sim_.ModelVelocity.z + sim_.ThermalLift,
                              settings_.Format().decimalSeparator),
                    6, 6 + 2 * pitch, show};
  const WindSettings& wind = sim_.Air.Settings();
  const bool showWind = show && !wind.Still();
  overlay_.wind = {showWind ? WindLine(Texts.WindLabel, Texts.WindFrom, wind.speed,
                                       wind.fromDegrees, settings_.Format().decimalSeparator)
                            : std::string(),
                   6, 6 + 3 * pitch, showWind};
  const bool replaying = Replaying();
  std::string replay;
  if (replaying) {
    char line[96];
    std::snprintf(line, sizeof line, " %.1f / %.1f s   %gx", ReplaySeconds(),
                  static_cast<double>(flights_->replay->rec.DurationMs()) / 1000.0, ReplaySpeed());
    replay = Texts.ReplayLabel + line;
    if (flights_->replay->cursor->AtEnd())
      replay += "   " + Texts.ReplayEnd;
    else if (ReplayPaused())
      replay += "   " + Texts.ReplayPaused;
  }
  // Below the speed lines when they show, so neither hides the other.
  const int slowY = 6 + (show ? (showWind ? 4 : 3) : 0) * pitch;
  const bool slow = SlowMotion() > 1;
  overlay_.slowMotion = {Texts.SlowMotionLabel + " 1/" + std::to_string(SlowMotion()), 6, slowY,
                         slow};
  const int replayY = slowY + (slow ? pitch : 0);
  overlay_.replay = {replay, 6, replayY, replaying};
  overlay_.replayKeys = {Texts.ReplayKeys, 6, replayY + pitch, replaying};
  UpdateTaskOverlay(replayY + (replaying ? 2 : 0) * pitch, pitch);
}

}  // namespace veltrane
