#include "loaders/mdl_file.h"

#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "loaders/file_names.h"
#include "loaders/load_error.h"
#include "loaders/text_reader.h"
#include "sim/math_u.h"

namespace veltrane::loaders {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Far beyond any model; keeps a broken count from running the generators for hours.
constexpr long long kMaxSegments = 100'000;
constexpr std::size_t kMaxFileBytes = std::size_t{512} << 20;

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw LoadError("Error: cannot open file " + path);
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<unsigned long long>(size) > kMaxFileBytes)
    throw LoadError("Error: cannot read file " + path);
  in.seekg(0, std::ios::beg);
  std::string text(static_cast<std::size_t>(size), '\0');
  if (!in.read(text.data(), size)) throw LoadError("Error: cannot read file " + path);
  return text;
}

// Values separated by blanks, tabs and line ends; each record ends by
// skipping to the start of the next line, so the rest of a line is a comment.
class MdlLines {
 public:
  MdlLines(std::string text, std::string fileName)
      : text_(std::move(text)), fileName_(std::move(fileName)) {
    if (const auto z = text_.find('\x1A'); z != std::string::npos)
      text_.resize(z);  // old end-of-file mark
    if (text_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
  }

  // Lines end in LF, CR LF or a lone CR, whichever system wrote the file.
  void SkipLine() {
    while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r') ++pos_;
    if (pos_ < text_.size()) {
      if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
      ++pos_;
      ++line_;
    }
  }

  int Line() const { return tokenLine_; }

  double Number(const char* what) {
    const std::string_view token = Token(what);
    if (const auto v = TokenToDouble(token)) return *v;
    Fail("number expected for " + std::string(what) + " but found \"" +
         TextReader::Excerpt(std::string(token)) + "\"");
  }

  long long Integer(const char* what, long long min, long long max) {
    const std::string_view token = Token(what);
    const auto v = TokenToDouble(token);
    if (!v || *v != std::floor(*v))
      Fail("whole number expected for " + std::string(what) + " but found \"" +
           TextReader::Excerpt(std::string(token)) + "\"");
    if (*v < static_cast<double>(min) || *v > static_cast<double>(max))
      Fail(std::string(what) + " " + TextReader::Excerpt(std::string(token)) +
           " is out of range (" + std::to_string(min) + " to " + std::to_string(max) + ")");
    return static_cast<long long>(*v);
  }

  // The text from here to the end of the line (without the line end).
  std::string_view RestOfLine() const {
    std::size_t end = pos_;
    while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
    return std::string_view(text_).substr(pos_, end - pos_);
  }

  [[noreturn]] void Fail(const std::string& message) const {
    throw LoadError("Error in line " + std::to_string(tokenLine_) + " of " + fileName_ + ": " +
                    message);
  }

 private:
  std::string_view Token(const char* what) {
    while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) <= ' ') {
      if (text_[pos_] == '\n' ||
          (text_[pos_] == '\r' && (pos_ + 1 >= text_.size() || text_[pos_ + 1] != '\n')))
        ++line_;
      ++pos_;
    }
    tokenLine_ = line_;
    if (pos_ >= text_.size()) Fail(std::string("the file ends where ") + what + " should be");
    const std::size_t start = pos_;
    while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) > ' ') ++pos_;
    return std::string_view(text_).substr(start, pos_ - start);
  }

  std::string text_;
  std::string fileName_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int tokenLine_ = 1;
};

// Alpha of a colour line: the longest leading part of the rest of the line
// that is a number; 1.0 when there is none.
double AlphaFromRest(std::string_view rest) {
  while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  for (std::size_t n = std::min<std::size_t>(rest.size(), 64); n > 0; --n)
    if (const auto v = TokenToDouble(rest.substr(0, n))) return *v;
  return 1.0;
}

// File axes (a, b, c), c up, to display axes.
MeshVertex ToDisplay(double a, double b, double c) { return {-a, c, -b}; }

struct Part {
  int type = 0;
  long long segments = 0;
  Vec3 axis;
  Vec3 centre;
  double radius = 0.0;
  double width = 0.0;
  int color = 0;
  int line = 0;
};

// One generated vertex, with its reference of the same index.
int AddGenerated(MeshBuild& mb, const Vec3& p) {
  const int v = mb.AppendVertex(p);
  mb.AppendVertexRef(v, false, 0.0, 0.0);
  return v;
}

void AddFace(MeshBuild& mb, std::initializer_list<int> corners, int color) {
  MeshFace f;
  f.cornerCount = 0;
  for (int c : corners) f.corner[static_cast<std::size_t>(f.cornerCount++)] = c;
  f.color = color;
  f.singleSided = true;
  mb.AppendFace(f);
}

// Rim directions t and s around the axis d; both zero for a zero axis, which
// puts every rim point on the hub.
void RimAxes(const Vec3& d, Vec3& t, Vec3& s) {
  if (VecLength(d) == 0.0) {
    t = s = Vec3{0.0, 0.0, 0.0};
    return;
  }
  const Vec3 h = (d.x != 0.0 || d.y != 0.0) ? Vec3{0.0, 0.0, 1.0} : Vec3{1.0, 0.0, 0.0};
  VecCross(d, h, s);
  VecCross(d, s, t);
  VecNormalize(s);
  VecNormalize(t);
}

Vec3 RimPoint(const Vec3& hub, const Part& p, const Vec3& t, const Vec3& s, long long k) {
  const double q = 2.0 * kPi * static_cast<double>(k) / static_cast<double>(p.segments);
  return hub + p.radius * (std::cos(q) * t + std::sin(q) * s);
}

// A part with a zero axis keeps its points (later vertex numbers count them)
// but gets no faces: they would have no area.
void BuildDisc(MeshBuild& mb, const Part& p, int discColor) {
  const bool faces = VecLength(p.axis) != 0.0;
  Vec3 t, s;
  RimAxes(p.axis, t, s);
  const int hub = AddGenerated(mb, p.centre);
  const int rim0 = hub + 1;
  for (long long k = 0; k < p.segments; ++k) AddGenerated(mb, RimPoint(p.centre, p, t, s, k));
  const auto rim = [&](long long k) { return rim0 + static_cast<int>(k); };
  if (!faces) return;
  for (long long k = p.segments - 1; k >= 1; --k) {
    AddFace(mb, {hub, rim(k), rim(k - 1)}, discColor);
    AddFace(mb, {rim(k - 1), rim(k), hub}, discColor);
  }
  AddFace(mb, {hub, rim(0), rim(p.segments - 1)}, discColor);
  AddFace(mb, {rim(p.segments - 1), rim(0), hub}, discColor);
}

void BuildWheel(MeshBuild& mb, const Part& p) {
  const bool faces = VecLength(p.axis) != 0.0;
  Vec3 d = p.axis;
  if (faces) VecNormalize(d);
  Vec3 t, s;
  RimAxes(d, t, s);
  const Vec3 hubAPos = p.centre + p.width * d;
  const int hubA = AddGenerated(mb, hubAPos);
  for (long long k = 0; k < p.segments; ++k) AddGenerated(mb, RimPoint(hubAPos, p, t, s, k));
  const int hubB = AddGenerated(mb, p.centre);
  for (long long k = 0; k < p.segments; ++k) AddGenerated(mb, RimPoint(p.centre, p, t, s, k));
  const auto a = [&](long long k) { return hubA + 1 + static_cast<int>(k); };
  const auto b = [&](long long k) { return hubB + 1 + static_cast<int>(k); };
  const long long last = p.segments - 1;
  if (!faces) return;
  for (long long k = last; k >= 1; --k) {
    AddFace(mb, {hubA, a(k), a(k - 1)}, p.color);
    AddFace(mb, {b(k - 1), b(k), hubB}, p.color);
    AddFace(mb, {a(k - 1), a(k), b(k), b(k - 1)}, p.color);
  }
  AddFace(mb, {hubA, a(0), a(last)}, p.color);
  AddFace(mb, {b(last), b(0), hubB}, p.color);
  AddFace(mb, {a(last), a(0), b(0), b(last)}, p.color);
}

}  // namespace

MeshBuild LoadMDL(const std::string& fileName, rm::Root& root, rm::MeshBuilder& target, SimState& s,
                  const Trace& trace) {
  trace("LoadLib.LoadMDL File: " + fileName + "\r\n");
  const std::string path = ResolveCaseInsensitive(fileName);
  MdlLines in(ReadWholeFile(path), fileName);
  const auto maxCount = static_cast<long long>(MeshBuild::kMaxEntries);

  in.SkipLine();  // title
  AirplaneParams ap = s.Airplane;
  double* const fields[] = {
      &ap.MaxThrust,       &ap.RudderGain,     &ap.ElevatorGain,  &ap.AileronGain,
      &ap.MaxLift,         &ap.MinLift,        &ap.LiftSlope,     &ap.StallLiftSlope,
      &ap.ProfileDrag,     &ap.ParasiteDrag,   &ap.WheelFriction, &ap.StallDragSlope,
      &ap.PitchMomentCoef, &ap.WingIncidence,  &ap.WingSpan,      &ap.WingChord,
      &ap.CgPosition,      &ap.Mass,           &ap.YawInertia,    &ap.PitchInertia,
      &ap.RollInertia,     &ap.StabilizerArea, &ap.FinArea,       &ap.TailArm,
      &ap.Dihedral};
  for (double* f : fields) {
    *f = in.Number("a flight parameter");
    in.SkipLine();
    if (f == &ap.WingChord) ap.WingArea = ap.WingSpan * ap.WingChord;
  }
  const double groundClearance = in.Number("the ground clearance");
  in.SkipLine();
  const long long smooth = in.Integer("the smooth flag", INT32_MIN, INT32_MAX);
  in.SkipLine();

  MeshBuild mb(false);
  const long long colorCount = in.Integer("the colour count", 0, maxCount - 1);
  in.SkipLine();
  for (long long i = 0; i < colorCount; ++i) {
    in.Integer("the colour index", INT32_MIN, INT32_MAX);
    const double r = in.Number("red");
    const double g = in.Number("green");
    const double b = in.Number("blue");
    const double alpha = AlphaFromRest(in.RestOfLine());
    in.SkipLine();
    mb.AppendColor(ColorEntry{r / 256.0, g / 256.0, b / 256.0, alpha});
  }
  const int discColor = mb.AppendColor(ColorEntry{0.8, 0.8, 0.8, 0.25});

  const long long vertexCount = in.Integer("the vertex count", 0, maxCount);
  in.SkipLine();
  for (long long i = 0; i < vertexCount; ++i) {
    in.Integer("the vertex index", INT32_MIN, INT32_MAX);
    const double a = in.Number("a vertex coordinate");
    const double b = in.Number("a vertex coordinate");
    const double c = in.Number("a vertex coordinate");
    in.SkipLine();
    AddGenerated(mb, ToDisplay(a, b, c));
  }

  const long long partCount = in.Integer("the part count", 0, maxCount);
  in.SkipLine();
  for (long long i = 0; i < partCount; ++i) {
    in.Integer("the part index", INT32_MIN, INT32_MAX);
    Part p;
    p.type = static_cast<int>(in.Integer("the part type", INT32_MIN, INT32_MAX));
    if (p.type == 0 || p.type == 2) {
      p.segments = in.Integer("the segment count", 1, kMaxSegments);
      const double ax = in.Number("the part axis"), ay = in.Number("the part axis"),
                   az = in.Number("the part axis");
      const double cx = in.Number("the part centre"), cy = in.Number("the part centre"),
                   cz = in.Number("the part centre");
      p.axis = ToDisplay(ax, ay, az);
      p.centre = ToDisplay(cx, cy, cz);
      p.radius = in.Number("the radius");
      if (p.type == 2) {
        p.width = in.Number("the wheel width");
        p.color = static_cast<int>(in.Integer("the wheel colour", 1, discColor + 1)) - 1;
      }
      if (VecLength(p.axis) == 0.0)
        trace("LoadLib.LoadMDL part " + std::to_string(i + 1) + " in line " +
              std::to_string(in.Line()) + " has a zero axis; its faces are skipped\r\n");
    }
    in.SkipLine();
    if (p.type == 0) BuildDisc(mb, p, discColor);
    if (p.type == 2) BuildWheel(mb, p);
  }

  const long long faceCount = in.Integer("the face count", 0, maxCount);
  in.SkipLine();
  const long long vertexTotal = static_cast<long long>(mb.Vertices().size());
  for (long long i = 0; i < faceCount; ++i) {
    in.Integer("the face index", INT32_MIN, INT32_MAX);
    MeshFace f;
    f.cornerCount = static_cast<int>(in.Integer("the corner count", 0, 4));
    for (int k = 0; k < f.cornerCount; ++k)
      f.corner[static_cast<std::size_t>(k)] =
          static_cast<int>(in.Integer("a vertex number", 1, vertexTotal)) - 1;
    f.color = static_cast<int>(in.Integer("the face colour", 1, discColor + 1)) - 1;
    f.singleSided = true;
    in.SkipLine();
    mb.AppendFace(f);
  }

  const int material = mb.FindMaterial(20.0, 0.0, 0.0, 0.0, 0.5, 0.5, 0.5);
  for (MeshFace& f : mb.MutableFaces()) f.material = material;
  if (!mb.Faces().empty()) mb.MutableFaces().back().singleSided = smooth != 0;

  AssembleMesh(mb, root, target);
  s.Airplane = ap;
  s.GroundClearance = groundClearance;
  s.iModelStyle = 0;
  return mb;
}

}  // namespace veltrane::loaders
