#include "loaders/scene_file.h"

#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <utility>

#include "loaders/file_names.h"
#include "loaders/load_error.h"
#include "loaders/primitives.h"
#include "loaders/scene_layout.h"
#include "loaders/scene_numbers.h"
#include "loaders/scene_sky.h"
#include "loaders/scene_terrain.h"
#include "loaders/text_reader.h"
#include "sim/air/wind_settings.h"

namespace veltrane::loaders {
namespace {

enum Keyword {
  kTexture,
  kColor,
  kAlpha,
  kLines,
  kQuads,
  kCull,
  kSky,
  kAircraftPosition,
  kPilotPosition,
  k3dLandscape,
  kUseTexture,
  kScene,
  kQuadrant,
  kEnd,
  kDim3,
  kPosition,
  kWindpole,
  kWind,
  kF3fCourse,
  kLandingSpot,
  kPanorama,
};

constexpr std::array<std::string_view, 21> kKeywords = {
    "TEXTURE",        "COLOR",        "ALPHA",       "LINES",
    "QUADS",          "CULL",         "SKY",         "AIRCRAFT_POSITION",
    "PILOT_POSITION", "3D_LANDSCAPE", "USE_TEXTURE", "SCENE",
    "QUADRANT",       "END",          "DIM3",        "POSITION",
    "WINDPOLE",       "WIND",         "F3F_COURSE",  "LANDING_SPOT",
    "PANORAMA"};

// Reads the items of one scene file into the terrain's MeshBuild and the layout.
class SceneReader {
 public:
  SceneReader(const std::string& fileName, MeshBuild& mb, SceneInfo& info, const Trace& trace)
      : trace_(trace),
        reader_(TextReader::FromFile(fileName, ReaderFlavour::Scene)),
        folder_(FolderOf(fileName)),
        mb_(mb),
        info_(info) {
    layout_.fileName = fileName;
  }

  void ReadItems() {
    for (;;) {
      const KeywordResult item = reader_.ReadKeyword(kKeywords, pending_);
      pending_.clear();
      if (item.IsNumber()) {
        if (lines_)
          ReadLine(item.value);
        else
          ReadQuad(item.value);
        continue;
      }
      switch (item.keyword) {
        case kEnd:
          return;
        case kTexture:
          ReadTexture();
          break;
        case kColor: {
          const double r = reader_.ReadNumber(), g = reader_.ReadNumber(), b = reader_.ReadNumber();
          reader_.ReadToken();
          reader_.ReadToken();
          color_ = mb_.FindColor(r, g, b, 1.0);
          break;
        }
        case kAlpha: {
          const double a = reader_.ReadNumber();
          const ColorEntry c = mb_.Colors()[static_cast<std::size_t>(color_)];
          color_ = mb_.FindColor(c.r, c.g, c.b, a);
          break;
        }
        case kLines:
          lines_ = true;
          break;
        case kQuads:
          lines_ = false;
          break;
        case kCull:
          cull_ = reader_.ReadToken() == "ON";
          break;
        case kSky:
          sky_.height = reader_.ReadNumber();
          sky_.halfWidth = reader_.ReadNumber();
          skyName_ = reader_.ReadToken();
          break;
        case kAircraftPosition:
          ReadPlace(info_.StartX, info_.StartY);
          break;
        case kPilotPosition:
          ReadPlace(info_.PilotX, info_.PilotY);
          break;
        case k3dLandscape:
          layout_.heightmapFile = PictureFile(reader_.ReadToken());
          break;
        case kUseTexture:
          reader_.ReadToken();
          break;
        case kScene:
          layout_.size = RoundNumber("SCENE");
          layout_.tileLength = RoundNumber("SCENE");
          layout_.step = RoundNumber("SCENE");
          layout_.haveScene = true;
          break;
        case kQuadrant:
          ReadQuadrant();
          break;
        case kDim3:
          break;
        case kPosition: {
          const double x = reader_.ReadNumber(), y = reader_.ReadNumber(), z = reader_.ReadNumber();
          offset_ = {x, z, y};
          break;
        }
        case kWindpole: {
          const double x = reader_.ReadNumber(), y = reader_.ReadNumber();
          reader_.ReadNumber();  // its height: the pole stands on the ground, as the pilot does
          windpole_ = {x, y};
          break;
        }
        case kWind:
          ReadWind();
          break;
        case kF3fCourse: {
          const double x = reader_.ReadNumber(), y = reader_.ReadNumber();
          const double facing = reader_.ReadNumber();
          course_ = SceneInfo::Course{x, y, facing};
          break;
        }
        case kLandingSpot: {
          const double x = reader_.ReadNumber(), y = reader_.ReadNumber();
          reader_.ReadNumber();  // its height: the spot lies on the ground
          landingSpot_ = {x, y};
          break;
        }
        case kPanorama:
          info_.PanoramaFile = PictureFile(reader_.ReadToken());
          break;
        default:
          break;
      }
    }
  }

  SceneLayout& Layout() { return layout_; }
  SkyDome Sky() const {
    SkyDome d = sky_;
    if (d.height != 0.0) d.textureFile = PictureFile(skyName_);
    return d;
  }
  void ResetOffset() { offset_ = {}; }
  // x, y from the centre of the terrain, as the file gives them; none without WINDPOLE.
  const std::optional<std::pair<double, double>>& Windpole() const { return windpole_; }
  // The task places as the file gives them (from the centre of the terrain).
  const std::optional<SceneInfo::Course>& F3fCourse() const { return course_; }
  const std::optional<std::pair<double, double>>& LandingSpot() const { return landingSpot_; }

 private:
  // Folder of the scene file + name + ".bmp", as it is spelled on disk.
  std::string PictureFile(const std::string& name) const {
    return ResolveCaseInsensitive(folder_ + name + ".bmp");
  }

  int FindOrAddTexture(const std::string& name, bool transparent) {
    const std::string file = PictureFile(name);
    const auto& list = mb_.Textures();
    for (std::size_t i = 0; i < list.size(); ++i)
      if (list[i].file == file) return static_cast<int>(i);
    return mb_.AppendTexture(TextureEntry{file, transparent});
  }

  // The word after a texture name: used up when it is "TRANSPARENT", else the next item.
  bool ReadTransparent() {
    std::string w = reader_.ReadToken();
    if (w == "TRANSPARENT") return true;
    pending_ = std::move(w);
    return false;
  }

  void ReadTexture() {
    const std::string w1 = reader_.ReadToken();
    if (w1 == kEndOfFileToken) {
      pending_ = w1;
      return;
    }
    if (w1 == "OFF") {
      textureOn_ = false;
      pending_ = reader_.ReadToken();
      return;
    }
    if (w1 == "MANUAL") {
      pending_ = reader_.ReadToken();
      return;
    }
    const std::string w2 = reader_.ReadToken();
    const bool transparent = w2 == "TRANSPARENT";
    if (!transparent) pending_ = w2;
    textureOn_ = true;
    texture_ = FindOrAddTexture(w1, transparent);
  }

  void ReadQuadrant() {
    const std::int32_t tx = RoundNumber("QUADRANT");
    const std::int32_t ty = RoundNumber("QUADRANT");
    const std::int32_t nx = RoundNumber("QUADRANT");
    const std::int32_t ny = RoundNumber("QUADRANT");
    const std::string name = reader_.ReadToken();
    const int index = FindOrAddTexture(name, ReadTransparent());
    if (nx <= 0 || ny <= 0) return;
    const std::int64_t lastX = std::int64_t{tx} + nx - 1, lastY = std::int64_t{ty} + ny - 1;
    if (tx < 0 || ty < 0 || lastX >= SceneLayout::kTiles || lastY >= SceneLayout::kTiles)
      throw LoadError("Error: QUADRANT " + std::to_string(tx) + " " + std::to_string(ty) + " " +
                      std::to_string(nx) + " " + std::to_string(ny) + " lies outside the " +
                      std::to_string(SceneLayout::kTiles) + " x " +
                      std::to_string(SceneLayout::kTiles) + " tile map in " + layout_.fileName);
    for (std::int64_t x = tx; x <= lastX; ++x)
      for (std::int64_t y = ty; y <= lastY; ++y)
        layout_.tileMap[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = index;
  }

  // Speed and direction; a speed the wind cannot have is left out with a trace
  // line, so a landscape with a slip in it still loads and keeps the wind as it is.
  void ReadWind() {
    const double speed = reader_.ReadNumber();
    const double from = reader_.ReadNumber();
    if (!(speed >= 0.0 && speed <= WindSettings::kMaxSpeed) || !std::isfinite(from)) {
      trace_("LoadLib.LoadSCN WIND ignored: speed 0 to " +
             std::to_string(static_cast<int>(WindSettings::kMaxSpeed)) +
             " m/s and a direction expected\r\n");
      info_.Wind.reset();
      return;
    }
    double d = std::fmod(from, 360.0);
    if (d < 0.0) d += 360.0;
    if (d >= 360.0) d = 0.0;  // a tiny negative angle rounds up to 360
    info_.Wind = SceneInfo::UsualWind{speed, d};
  }

  std::int32_t RoundNumber(const char* what) {
    const double v = reader_.ReadNumber();
    return RoundToInt(v, what, reader_.LastNumberText());
  }

  // "AUTOMATIC" keeps the start value; otherwise x, y, z. Files written on
  // systems with a decimal comma carry it here, so "," reads like ".".
  void ReadPlace(double& x, double& y) {
    const std::string first = reader_.ReadToken();
    if (first == "AUTOMATIC") return;
    const double fx = reader_.ReadNumber(first, true);
    const double fy = reader_.ReadNumber({}, true);
    reader_.ReadNumber({}, true);
    x = fx;
    y = fy;
  }

  MeshVertex Frame(const Vec3& p) const {
    return MeshVertex{p.x + offset_.x, p.z + offset_.y, p.y + offset_.z};
  }

  // One corner: u, v while the texture state is on, then x, y, z; `first` is its first value.
  struct Corner {
    double u = 0.0, v = 0.0;
    Vec3 p;
  };
  Corner ReadCorner(const double* first) {
    auto next = [&] {
      if (first) {
        const double f = *first;
        first = nullptr;
        return f;
      }
      return reader_.ReadNumber();
    };
    Corner c;
    if (textureOn_) {
      c.u = next();
      c.v = next();
    }
    c.p.x = next();
    c.p.y = next();
    c.p.z = next();
    return c;
  }

  void ReadQuad(double first) {
    std::array<Corner, 4> corners;
    for (std::size_t k = 0; k < 4; ++k) corners[k] = ReadCorner(k == 0 ? &first : nullptr);
    const bool transparent = textureOn_ &&
                             static_cast<std::size_t>(texture_) < mb_.Textures().size() &&
                             mb_.Textures()[static_cast<std::size_t>(texture_)].transparent;
    // See-through pictures such as trees would show as solid rectangles without textures.
    if (transparent && !mb_.TexturesEnabled()) return;

    MeshFace face;
    face.color = color_;
    face.singleSided = cull_;
    face.texture = texture_;
    face.material = mb_.FindMaterial(6.0, 0.0, 0.0, 0.0, 0.5, 0.5, 0.5);
    std::array<int, 4> refs{};
    for (std::size_t k = 0; k < 4; ++k)
      refs[k] = mb_.AddVertexRef(mb_.AddVertex(Frame(corners[k].p)), textureOn_, corners[k].u,
                                 corners[k].v);
    AddCleanedFace(mb_, face, refs);
  }

  void ReadLine(double first) {
    const Corner a = ReadCorner(&first);
    const Corner b = ReadCorner(nullptr);
    AddLineTube(
        mb_, a.p, b.p, [this](const Vec3& p) { return Frame(p); }, color_);
  }

  const Trace& trace_;
  TextReader reader_;
  std::string folder_;
  MeshBuild& mb_;
  SceneInfo& info_;
  SceneLayout layout_;
  std::string pending_;  // a token read ahead that starts the next item

  bool textureOn_ = false;
  int texture_ = 0;
  bool cull_ = true;
  bool lines_ = false;
  int color_ = 0;
  Vec3 offset_;  // T, in display axes
  SkyDome sky_;
  std::string skyName_;
  std::optional<std::pair<double, double>> windpole_;
  std::optional<SceneInfo::Course> course_;
  std::optional<std::pair<double, double>> landingSpot_;
};

// A task place off the terrain (or not a number) is left out with a trace
// line: the landscape still loads, and the task falls back to its own place.
bool OnTerrain(double x, double y, std::int64_t size, const char* what, const Trace& trace) {
  const auto half = static_cast<double>(size);
  if (std::abs(x) <= half && std::abs(y) <= half) return true;  // false for NaN
  trace(std::string("LoadLib.LoadSCN ") + what + " ignored: it lies off the terrain\r\n");
  return false;
}

void PlaceTaskItems(const SceneReader& reader, std::int64_t size, SceneInfo& info,
                    const Trace& trace) {
  const auto shift = static_cast<double>(size);
  if (const auto& c = reader.F3fCourse(); c && OnTerrain(c->x, c->y, size, "F3F_COURSE", trace)) {
    if (std::isfinite(c->facingDegrees)) {
      double d = std::fmod(c->facingDegrees, 360.0);
      if (d < 0.0) d += 360.0;
      if (d >= 360.0) d = 0.0;
      info.F3fCourse = SceneInfo::Course{c->x + shift, c->y + shift, d};
    } else {
      trace("LoadLib.LoadSCN F3F_COURSE ignored: its direction is not a number\r\n");
    }
  }
  if (const auto& p = reader.LandingSpot();
      p && OnTerrain(p->first, p->second, size, "LANDING_SPOT", trace))
    info.LandingSpot = std::pair{p->first + shift, p->second + shift};
}

}  // namespace

void LoadSCN(const std::string& fileName, rm::Root& root, bool texturesEnabled, SceneInfo& info,
             HeightGrid& grid, rm::MeshBuilder& sky, rm::MeshBuilder& terrain,
             ProgramRandom& random, const Trace& trace, SceneBuilds* builds) {
  trace("LoadLib.LoadSCN File: " + fileName + "\r\n");
  info.PilotX = 0.0;
  info.PilotY = 0.0;
  info.StartX = 5.0;
  info.StartY = 5.0;
  info.Wind.reset();
  info.F3fCourse.reset();
  info.LandingSpot.reset();
  info.PanoramaFile.clear();

  MeshBuild terrainBuild(texturesEnabled);
  terrainBuild.FindColor(0.0, 0.0, 0.0, 1.0);  // colour 0: opaque black
  SceneReader reader(fileName, terrainBuild, info, trace);
  reader.ReadItems();
  reader.ResetOffset();
  const SceneLayout& layout = reader.Layout();
  layout.Validate();

  BuildScene(layout, terrainBuild, info, grid, random, trace);
  if (const auto& pole = reader.Windpole()) {
    info.WindpoleX = pole->first + static_cast<double>(layout.size);
    info.WindpoleY = pole->second + static_cast<double>(layout.size);
  } else {
    info.WindpoleX = info.PilotX + SceneInfo::kWindpoleRight;
    info.WindpoleY = info.PilotY;
  }
  PlaceTaskItems(reader, layout.size, info, trace);

  MeshBuild skyBuild(texturesEnabled);
  skyBuild.FindColor(0.0, 0.0, 0.0, 1.0);
  AddSky(reader.Sky(), skyBuild, trace);

  // Both are assembled only once everything has been read, so a failure leaves them empty.
  terrainBuild.DropSearchIndex();
  const auto shift = static_cast<float>(layout.size);
  if (!builds || builds->assembleTerrain) {
    AssembleMesh(terrainBuild, root, terrain);
    terrain.Translate(shift, 0.0f, shift);
  } else {
    CheckMeshBuild(terrainBuild);  // a broken table fails the load as it would assembled
  }
  AssembleMesh(skyBuild, root, sky);
  sky.Translate(shift, 0.0f, shift);

  if (builds) {
    builds->terrain = std::move(terrainBuild);
    builds->sky = std::move(skyBuild);
    builds->shift = shift;
  }
}

std::optional<SceneInfo::UsualWind> ReadSceneWind(const std::string& fileName) {
  try {
    SceneInfo info;
    MeshBuild scratch(false);
    scratch.FindColor(0.0, 0.0, 0.0, 1.0);
    const Trace quiet;
    SceneReader reader(fileName, scratch, info, quiet);
    reader.ReadItems();
    return info.Wind;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace veltrane::loaders
