#include "loaders/geo_file.h"

#include <array>
#include <cmath>
#include <string_view>

#include "loaders/file_names.h"
#include "loaders/load_error.h"
#include "loaders/par_file.h"
#include "loaders/primitives.h"
#include "loaders/text_reader.h"
#include "sim/math_u.h"

namespace veltrane::loaders {
namespace {

constexpr double kPi = 3.14159265358979323846;

enum Keyword : int {
  kObject,
  kShadow,
  kBody,
  kPropeller,
  kChannel,
  kWheel,
  kTwoWheel,
  kTexture,
  kColor,
  kAlpha,
  kBlurrColor,
  kOutlineColor,
  kLines,
  kTriangles,
  kQuads,
  kScale,
  kCull,
  kEnd,
  kKeywordCount,
};

constexpr std::array<std::string_view, kKeywordCount> kKeywords = {
    "OBJECT",    "SHADOW",    "BODY",  "PROPELLER", "CHANNEL",     "WHEEL",
    "TWO_WHEEL", "TEXTURE",   "COLOR", "ALPHA",     "BLURR_COLOR", "OUTLINE_COLOR",
    "LINES",     "TRIANGLES", "QUADS", "SCALE",     "CULL",        "END"};

// The keyword a token spells, or -1 (numbers and other words).
int KeywordOf(std::string_view token) {
  if (token == kEndOfFileToken) return kEnd;
  for (std::size_t i = 0; i < kKeywords.size(); ++i)
    if (kKeywords[i] == token) return static_cast<int>(i);
  return -1;
}

bool EndsItem(int keyword) { return keyword == kObject || keyword == kChannel || keyword == kEnd; }

enum class Mode { Lines, Triangles, Quads };

class GeoReader {
 public:
  GeoReader(TextReader& in, bool texturesEnabled) : in_(in), mb_(texturesEnabled) {
    mb_.AppendColor(ColorEntry{0.0, 0.0, 0.0, 1.0});
  }

  void ReadFile() {
    std::string token = in_.ReadToken();
    for (;;) {
      const int kw = KeywordOf(token);
      if (kw == kEnd) return;
      if (kw == kObject) {
        token = ReadObject();
      } else if (kw == kShadow || kw == kChannel) {
        token = SkipSection();
      } else {
        // "SCALE" and anything unexpected at the top level; the latter is
        // ignored so the reader always moves on.
        if (kw == kScale) scale_ = in_.ReadNumber();
        token = in_.ReadToken();
      }
    }
  }

  MeshBuild& Build() { return mb_; }

 private:
  // Reads from the type word up to the token that ends the object; returns that token.
  std::string ReadObject() {
    const int type = KeywordOf(in_.ReadToken());
    if (type != kBody && type != kPropeller && type != kChannel && type != kWheel &&
        type != kTwoWheel)
      return SkipSection();

    const double size = in_.ReadNumber();
    Vec3 axis;
    axis.x = in_.ReadNumber();
    axis.y = in_.ReadNumber();
    axis.z = in_.ReadNumber();
    Vec3 pos;
    pos.x = in_.ReadNumber();
    pos.y = in_.ReadNumber();
    pos.z = in_.ReadNumber();
    const double enabled = std::trunc(in_.ReadNumber());
    in_.ReadNumber();  // not used

    t_ = pos * scale_;
    if (type == kBody || type == kChannel) {
      c_ = {1, 0, 0};
      b_ = {0, 1, 0};
      a_ = {0, 0, 1};
    } else {
      // An axis that cannot be normalised is taken as the file's up axis.
      a_ = VecLength(axis) > 0.0 ? axis : Vec3{0, 0, 1};
      b_ = a_.x != 0.0 ? Vec3{-a_.y / a_.x, 1, 0} : Vec3{1, 0, 0};
      VecNormalize(a_);
      VecNormalize(b_);
      VecCross(a_, b_, c_);
    }

    if (type == kPropeller) {
      if (enabled == 0.0) return SkipSection();
      AddPropellerDisc(size);
    } else if (type == kTwoWheel) {
      AddWheelPair(size);
    }
    return ReadBody();
  }

  std::string ReadBody() {
    for (;;) {
      std::string token = in_.ReadToken();
      const KeywordResult k = in_.ReadKeyword(kKeywords, token);
      if (k.IsNumber()) {
        ReadPrimitive(k.value);
        continue;
      }
      if (EndsItem(k.keyword)) return token;
      switch (k.keyword) {
        case kShadow:
          return SkipSection();
        case kAlpha: {
          alpha_ = in_.ReadNumber();
          const ColorEntry c = mb_.Colors()[static_cast<std::size_t>(color_)];
          color_ = mb_.FindColor(c.r, c.g, c.b, alpha_);
          break;
        }
        case kBlurrColor:
        case kOutlineColor:
          for (int i = 0; i < 5; ++i) in_.ReadToken();
          break;
        default:
          ApplyState(k.keyword);  // other object types inside a body are ignored there
          break;
      }
    }
  }

  // Reads over tokens up to the next "OBJECT", "CHANNEL" or "END" (returned);
  // only the reader-state keywords take effect on the way.
  std::string SkipSection() {
    for (;;) {
      std::string token = in_.ReadToken();
      const int kw = KeywordOf(token);
      if (EndsItem(kw)) return token;
      ApplyState(kw);
    }
  }

  void ApplyState(int keyword) {
    switch (keyword) {
      case kTexture:
        textureOn_ = in_.ReadToken() == "ON";
        break;
      case kCull:
        cullOn_ = in_.ReadToken() == "ON";
        break;
      case kColor: {
        const double r = in_.ReadNumber();
        const double g = in_.ReadNumber();
        const double b = in_.ReadNumber();
        in_.ReadToken();
        in_.ReadToken();
        color_ = mb_.FindColor(r, g, b, alpha_);
        break;
      }
      case kLines:
        mode_ = Mode::Lines;
        break;
      case kTriangles:
        mode_ = Mode::Triangles;
        break;
      case kQuads:
        mode_ = Mode::Quads;
        break;
      case kScale:
        scale_ = in_.ReadNumber();
        break;
      default:
        break;
    }
  }

  // An object point in file axes (z up) and model units.
  MeshVertex Map(const Vec3& p) const {
    const Vec3 m = (p.x * c_ + p.y * b_ + p.z * a_) * scale_ + t_;
    return {m.x, m.y, m.z};
  }

  int AddRef(const Vec3& p, bool textured, double u, double v) {
    const int vertex = mb_.AddVertex(Map(p));
    const bool t = textured && textureOn_ && mb_.TexturesEnabled();
    if (t && mb_.Textures().empty()) mb_.AppendTexture({});
    return mb_.AddVertexRef(vertex, t, u, v);
  }

  // Generated shapes follow the texture state like file primitives do.
  int AddGeneratedRef(const Vec3& p) { return AddRef(p, true, 0.0, 0.0); }

  void AddFace(std::initializer_list<int> refs) {
    MeshFace f;
    for (int r : refs) f.corner[static_cast<std::size_t>(f.cornerCount++)] = r;
    f.color = color_;
    f.singleSided = true;
    mb_.AppendFace(f);
  }

  void AddPropellerDisc(double r) {
    const int saved = color_;
    color_ = mb_.FindColor(0.8, 0.8, 0.8, 0.25);
    for (int k = 0; k < 16; ++k) {
      const double a = k / 16.0 * 2 * kPi;
      const double b = (k + 1) / 16.0 * 2 * kPi;
      const int centre = AddGeneratedRef({0, 0, 0});
      const int p = AddGeneratedRef({r * std::cos(a), r * std::sin(a), 0});
      const int q = AddGeneratedRef({r * std::cos(b), r * std::sin(b), 0});
      AddFace({q, p, centre});
      AddFace({centre, p, q});
    }
    color_ = saved;
  }

  void AddWheel(double r, double w) {
    for (int k = 0; k < 12; ++k) {
      const double a = k / 12.0 * 2 * kPi;
      const double b = (k + 1) / 12.0 * 2 * kPi;
      const int hp = AddGeneratedRef({0, 0, w});
      const int rpa = AddGeneratedRef({r * std::cos(a), r * std::sin(a), w});
      const int rpb = AddGeneratedRef({r * std::cos(b), r * std::sin(b), w});
      AddFace({hp, rpa, rpb});
      const int rmb = AddGeneratedRef({r * std::cos(b), r * std::sin(b), -w});
      const int rma = AddGeneratedRef({r * std::cos(a), r * std::sin(a), -w});
      const int hm = AddGeneratedRef({0, 0, -w});
      AddFace({rmb, rma, hm});
      AddFace({rma, rmb, rpb, rpa});
    }
  }

  void AddWheelPair(double r) {
    const int saved = color_;
    color_ = mb_.FindColor(0.1, 0.1, 0.1, 1.0);
    AddWheel(r, r / 3.0);
    t_.y = -t_.y;  // the mirrored wheel; the object's own primitives follow it there
    AddWheel(r, r / 3.0);
    color_ = saved;
  }

  Vec3 ReadPoint() {
    Vec3 p;
    p.x = in_.ReadNumber();
    p.y = in_.ReadNumber();
    p.z = in_.ReadNumber();
    return p;
  }

  void ReadPrimitive(double first) {
    if (mode_ == Mode::Lines) {
      ReadLine(first);
      return;
    }
    const int n = mode_ == Mode::Triangles ? 3 : 4;
    std::array<int, 4> refs{};
    for (int k = 0; k < n; ++k) {
      double u = 0.0, v = 0.0;
      Vec3 p;
      if (textureOn_) {
        u = k == 0 ? first : in_.ReadNumber();
        v = in_.ReadNumber();
        p = ReadPoint();
      } else {
        p.x = k == 0 ? first : in_.ReadNumber();
        p.y = in_.ReadNumber();
        p.z = in_.ReadNumber();
      }
      refs[static_cast<std::size_t>(k)] = AddRef(p, true, u, v);
    }

    MeshFace f;
    f.color = color_;
    f.singleSided = cullOn_;
    f.texture = 0;
    AddCleanedFace(mb_, f, std::span<const int>(refs.data(), static_cast<std::size_t>(n)));
  }

  void ReadLine(double first) {
    std::array<Vec3, 2> ends;
    for (int k = 0; k < 2; ++k) {
      if (textureOn_) {
        if (k != 0) in_.ReadNumber();
        in_.ReadNumber();
        ends[static_cast<std::size_t>(k)] = ReadPoint();
      } else {
        ends[static_cast<std::size_t>(k)].x = k == 0 ? first : in_.ReadNumber();
        ends[static_cast<std::size_t>(k)].y = in_.ReadNumber();
        ends[static_cast<std::size_t>(k)].z = in_.ReadNumber();
      }
    }
    // Side 0.0025 model units after the object's scaling (a zero scale collapses it anyway).
    const double side = scale_ != 0.0 ? 0.0025 / scale_ : 0.0;
    AddLineTube(
        mb_, ends[0], ends[1], [this](const Vec3& p) { return Map(p); }, color_, side);
  }

  TextReader& in_;
  MeshBuild mb_;
  bool textureOn_ = true;
  bool cullOn_ = false;
  double scale_ = 1.0;
  Mode mode_ = Mode::Quads;
  double alpha_ = 1.0;
  int color_ = 0;
  Vec3 c_{1, 0, 0}, b_{0, 1, 0}, a_{0, 0, 1}, t_;
};

}  // namespace

MeshBuild LoadGEO(const std::string& fileName, rm::Root& root, bool texturesEnabled,
                  rm::MeshBuilder& target, SimState& s, const Trace& trace) {
  trace("LoadLib.LoadGEO File: " + fileName + "\r\n");
  TextReader in = TextReader::FromFile(fileName, ReaderFlavour::Model);
  GeoReader reader(in, texturesEnabled);
  reader.ReadFile();
  MeshBuild& mb = reader.Build();

  double clearance = 0.0;
  for (MeshVertex& v : mb.MutableVertices()) {
    const MeshVertex file = v;
    v = {file.y, file.z, -file.x};
    if (-file.z > clearance) clearance = -file.z;
  }
  s.GroundClearance = clearance;

  LoadPAR(s, ChangeExtension(fileName, ".PAR"), trace);

  const int material = mb.FindMaterial(20.0, 0.0, 0.0, 0.0, 0.5, 0.5, 0.5);
  for (MeshFace& f : mb.MutableFaces()) f.material = material;
  if (!mb.Textures().empty()) mb.MutableTextures()[0] = {ChangeExtension(fileName, ".bmp"), false};

  AssembleMesh(mb, root, target);
  return std::move(mb);
}

}  // namespace veltrane::loaders
