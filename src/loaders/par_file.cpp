#include "loaders/par_file.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>

#include "loaders/file_names.h"
#include "loaders/load_error.h"
#include "loaders/text_reader.h"

namespace veltrane::loaders {

namespace {

// One value per line: skip white space and line ends, take the first token,
// ignore the rest of its line.
class ParLines {
 public:
  ParLines(std::string text, const Trace& trace) : text_(std::move(text)), trace_(trace) {
    if (const auto z = text_.find('\x1A'); z != std::string::npos) text_.resize(z);
    if (text_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
  }

  // The end of the file reads as 0; a malformed token keeps `fallback`.
  double Real(double fallback) {
    std::string_view token;
    if (!NextToken(token)) return 0.0;
    if (const auto v = TokenToDouble(token)) {
      ++good_;
      return *v;
    }
    Bad();
    return fallback;
  }

  std::int32_t Integer(std::int32_t fallback) {
    std::string_view token;
    if (!NextToken(token)) return 0;
    std::string_view digits = token;
    // from_chars takes "-" but not "+".
    if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-') digits.remove_prefix(1);
    std::int32_t v = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (ec == std::errc() && end == digits.data() + digits.size()) {
      ++good_;
      return v;
    }
    Bad();
    return fallback;
  }

  // How many values read as numbers so far, and how many values there were.
  int Good() const { return good_; }
  int Read() const { return read_; }

 private:
  bool NextToken(std::string_view& token) {
    while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) <= ' ') {
      if (!SkipLineEnd()) ++pos_;
    }
    if (pos_ >= text_.size()) return false;
    ++read_;
    tokenLine_ = line_;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) > ' ') ++pos_;
    token = std::string_view(text_).substr(start, pos_ - start);
    // The rest of the line is a comment.
    while (pos_ < text_.size() && !SkipLineEnd()) ++pos_;
    return true;
  }

  // Steps over one line end (LF, CR LF or a lone CR, as old Mac files have).
  bool SkipLineEnd() {
    if (text_[pos_] == '\r') {
      ++pos_;
      if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    } else if (text_[pos_] == '\n') {
      ++pos_;
    } else {
      return false;
    }
    ++line_;
    return true;
  }

  void Bad() const {
    trace_("LoadLib.LoadPAR bad number at line " + std::to_string(tokenLine_) + "\r\n");
  }

  std::string text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int tokenLine_ = 1;
  int good_ = 0;
  int read_ = 0;
  const Trace& trace_;
};

void ReadAirplane(ParLines& in, AirplaneParams& p) {
  const AirplaneParams d;
  p.MaxThrust = in.Real(d.MaxThrust);
  p.RudderGain = in.Real(d.RudderGain);
  p.ElevatorGain = in.Real(d.ElevatorGain);
  p.AileronGain = in.Real(d.AileronGain);
  p.MaxLift = in.Real(d.MaxLift);
  p.MinLift = in.Real(d.MinLift);
  p.LiftSlope = in.Real(d.LiftSlope);
  p.StallLiftSlope = in.Real(d.StallLiftSlope);
  p.ProfileDrag = in.Real(d.ProfileDrag);
  p.ParasiteDrag = in.Real(d.ParasiteDrag);
  p.WheelFriction = in.Real(d.WheelFriction);
  p.StallDragSlope = in.Real(d.StallDragSlope);
  p.PitchMomentCoef = in.Real(d.PitchMomentCoef);
  p.WingIncidence = in.Real(d.WingIncidence);
  p.WingSpan = in.Real(d.WingSpan);
  p.WingChord = in.Real(d.WingChord);
  p.WingArea = p.WingSpan * p.WingChord;
  p.CgPosition = in.Real(d.CgPosition);
  p.Mass = in.Real(d.Mass);
  p.YawInertia = in.Real(d.YawInertia);
  p.PitchInertia = in.Real(d.PitchInertia);
  p.RollInertia = in.Real(d.RollInertia);
  p.StabilizerArea = in.Real(d.StabilizerArea);
  p.FinArea = in.Real(d.FinArea);
  p.TailArm = in.Real(d.TailArm);
  p.Dihedral = in.Real(d.Dihedral);
}

void ReadHelicopter(ParLines& in, AirplaneParams& shared, HelicopterParams& h) {
  h = HelicopterParams{};
  shared.Mass = in.Real(0.0);
  h.HeliInertia.z = in.Real(0.0);
  h.HeliInertia.y = in.Real(0.0);
  h.HeliInertia.x = in.Real(0.0);
  h.RotationalDamping = in.Real(0.0);
  h.ExpoPitch = in.Real(0.0);
  h.ExpoRoll = in.Real(0.0);
  h.ExpoYaw = in.Real(0.0);
  h.ExpoCollective = in.Real(0.0);
  h.RotorRadius = in.Real(0.0);
  h.BladeArea = in.Real(0.0);
  h.RotorRpm = in.Real(0.0);
  h.CollectiveGain = in.Real(0.0);
  h.PitchCyclicGain = in.Real(0.0);
  h.RollCyclicGain = in.Real(0.0);
  h.RotorHeight = in.Real(0.0);
  h.InPlaneFlowFactor = in.Real(0.0);
  h.TailRotorRadius = in.Real(0.0);
  h.TailRotorArea = in.Real(0.0);
  h.TailRotorRpm = in.Real(0.0);
  h.TailPitchGain = in.Real(0.0);
  h.TailPitchTrim = in.Real(0.0);
  h.TailRotorArm = in.Real(0.0);
  h.SideFlowFactor = in.Real(0.0);
  h.GyroGain = in.Real(0.0);
  h.GyroStickReduction = in.Real(0.0);
  shared.LiftSlope = in.Real(0.0);
  shared.MaxLift = in.Real(0.0);
  shared.MinLift = in.Real(0.0);
  shared.ProfileDrag = in.Real(0.0);
  h.BladeDragSlope = in.Real(0.0);
  shared.ParasiteDrag = in.Real(0.0);

  // The table holds kMaxContacts entries; more would overrun it.
  h.ContactCount = std::clamp(in.Integer(0), 0, kMaxContacts);
  for (int i = 0; i < h.ContactCount; ++i) {
    HeliContact& c = h.Contacts[static_cast<std::size_t>(i)];
    c.Position.x = in.Real(0.0);
    c.Position.y = in.Real(0.0);
    c.Position.z = in.Real(0.0);
    c.ContactFriction = in.Real(0.0);
    c.ContactStiffness = in.Real(0.0);
    c.ContactDamping = in.Real(0.0);
    c.ContactMaxForce = in.Real(0.0);
  }
}

void UseAirplaneDefaults(SimState& s) {
  s.iModelStyle = 0;
  s.Airplane = AirplaneParams{};
}

}  // namespace

void LoadPAR(SimState& s, const std::string& fileName, const Trace& trace) {
  const std::string path = ResolveCaseInsensitive(fileName);
  if (!FileExists(path)) {
    UseAirplaneDefaults(s);
    return;
  }
  trace("LoadLib.LoadPAR File: " + fileName + "\r\n");

  std::ifstream file(path, std::ios::binary);
  std::ostringstream buf;
  if (file) buf << file.rdbuf();
  if (!file || file.bad()) {
    // Half-read parameters would fly unpredictably; fall back as for no file.
    trace("LoadLib.LoadPAR cannot read file\r\n");
    UseAirplaneDefaults(s);
    return;
  }

  // Read into a copy: a file that is no parameter file at all (an empty file,
  // a sound or a picture renamed) must not leave a model with every value 0.
  ParLines in(buf.str(), trace);
  SimState read = s;
  read.iModelStyle = in.Integer(0);
  if (read.iModelStyle == 0) {
    trace("LoadLib.LoadPAR iModelStyle = Airplane\r\n");
    ReadAirplane(in, read.Airplane);
  } else if (read.iModelStyle == 1) {
    trace("LoadLib.LoadPAR iModelStyle = Helicopter\r\n");
    ReadHelicopter(in, read.Airplane, read.Heli);
  }
  // A parameter file has numbers; one with none, or mostly words and binary,
  // is something else under a parameter file's name. (A file with only its
  // style line is a short file, read as one.)
  if (in.Good() == 0 || 2 * in.Good() < in.Read())
    throw LoadError("Error: " + fileName +
                    " is not a flight-model parameter file: no parameter could be read");
  s.iModelStyle = read.iModelStyle;
  s.Airplane = read.Airplane;
  s.Heli = read.Heli;
}

}  // namespace veltrane::loaders
