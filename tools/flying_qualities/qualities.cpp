#include "qualities.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <sstream>

#include "base/trace/trace.h"
#include "sim/sim_state.h"
#include "tools/veltrane_tool/fly.h"
#include "tools/veltrane_tool/model_files.h"
#include "tools/veltrane_tool/script.h"

namespace veltrane::qualities {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kFrame = 0.02;
constexpr double kRadToDeg = 180.0 / std::numbers::pi;

// Flights that are not about the runway fly over flat ground, so that a long glide
// ends on a field instead of in the hills around the airfield.
const char* const kFlat = "";

std::string Num(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

std::vector<Sample> ParseCsv(const std::string& text) {
  std::vector<Sample> out;
  std::istringstream in(text);
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<double> v;
    std::istringstream cells(line);
    std::string cell;
    while (std::getline(cells, cell, ',')) v.push_back(std::stod(cell));
    if (v.size() < 22) continue;
    out.push_back({v[0],  v[1],  v[2],  v[3],  v[4],        v[5],        v[6],
                   v[7],  v[8],  v[9],  v[10], v[11],       v[12],       v[13],
                   v[14], v[15], v[16], v[17], v[19] > 0.5, v[20] > 0.5, v[21] > 0.5});
  }
  return out;
}

double Horizontal(const Sample& a, const Sample& b) { return std::hypot(b.x - a.x, b.y - a.y); }

// First sample at or after time t (the last one when the flight is shorter).
const Sample& At(const Flight& f, double t) {
  for (const Sample& s : f.samples)
    if (s.t >= t - 1e-9) return s;
  return f.samples.back();
}

// Seconds after `from` until the airspeed stays within 10 % (at least 0.7 m/s) of
// its mean over the last five seconds of the flight.
double SettlingTime(const Flight& f, double from, double to) {
  double sum = 0.0;
  int n = 0;
  for (const Sample& s : f.samples)
    if (s.t >= to - 5.0 && s.t <= to) {
      sum += s.airspeed;
      ++n;
    }
  if (n == 0) return kNaN;
  const double mean = sum / n, band = std::max(0.1 * mean, 0.7);
  double last = from;
  for (const Sample& s : f.samples)
    if (s.t >= from && s.t <= to && std::fabs(s.airspeed - mean) > band) last = s.t;
  return last - from;
}

double MinSpeed(const Flight& f, double from, double to) {
  double v = std::numeric_limits<double>::infinity();
  for (const Sample& s : f.samples)
    if (s.t >= from && s.t <= to) v = std::min(v, s.airspeed);
  return v;
}

// Distance flown per metre of height lost while gliding between the times, at least
// 5 m above the ground.
double GlideRatio(const Flight& f, double from, double to) {
  const Sample* first = nullptr;
  const Sample* last = nullptr;
  for (const Sample& s : f.samples)
    if (s.t >= from && s.t <= to && s.Agl() > 5.0 && !s.crashed) {
      if (!first) first = &s;
      last = &s;
    }
  if (!first || last == first || first->z - last->z < 1.0) return kNaN;
  double flown = 0.0;
  for (const Sample* s = first; s != last; ++s) flown += Horizontal(s[0], s[1]);
  return flown / (first->z - last->z);
}

// Fastest turn of the wings about the nose between the times, deg/s: the right wing
// tip moves towards the old up axis when the model rolls.
double RollRate(const Flight& f, double from, double to) {
  double best = 0.0;
  for (std::size_t i = 1; i < f.samples.size(); ++i) {
    const Sample& a = f.samples[i - 1];
    const Sample& b = f.samples[i];
    if (a.t < from || b.t > to) continue;
    const double d = b.rx * a.ux + b.ry * a.uy + b.rz * a.uz;
    best = std::max(best, std::fabs(std::asin(std::clamp(d, -1.0, 1.0))) / (b.t - a.t));
  }
  return best * kRadToDeg;
}

// Height plus the height the airspeed could buy: in still air it falls steadily in a
// glide while the phugoid trades the two.
double EnergyHeight(const Sample& s) { return s.z + s.airspeed * s.airspeed / (2.0 * 9.81); }

// The glide between the times, at least 5 m above the ground; NaN unless 20 s of it.
Glide SteadyGlide(const Flight& f, double from, double to) {
  const Sample* first = nullptr;
  const Sample* last = nullptr;
  for (const Sample& s : f.samples) {
    if (s.t < from || s.t > to) continue;
    if (s.Agl() <= 5.0 || s.crashed) break;
    if (!first) first = &s;
    last = &s;
  }
  Glide g;
  if (!first || last->t - first->t < 20.0) return g;
  double flown = 0.0, speed = 0.0;
  for (const Sample* s = first; s != last; ++s) {
    flown += Horizontal(s[0], s[1]);
    speed += s->airspeed;
  }
  const double lost = EnergyHeight(*first) - EnergyHeight(*last);
  g.speed = speed / static_cast<double>(last - first);
  g.sink = lost / (last->t - first->t);
  if (lost > 0.0) g.ratio = flown / lost;
  return g;
}

// The airspeed's turning points from `from` on, while it stays 5 m above the ground;
// the swings between them are the phugoid's half periods.
Phugoid PhugoidAfter(const Flight& f, double from) {
  std::vector<std::pair<double, double>> turns;  // time, airspeed
  const std::vector<Sample>& v = f.samples;
  for (std::size_t i = 1; i + 1 < v.size(); ++i) {
    if (v[i].t < from) continue;
    if (v[i].Agl() <= 5.0 || v[i].crashed) break;
    const double d0 = v[i].airspeed - v[i - 1].airspeed, d1 = v[i + 1].airspeed - v[i].airspeed;
    if ((d0 > 0.0 && d1 <= 0.0) || (d0 < 0.0 && d1 >= 0.0))
      turns.emplace_back(v[i].t, v[i].airspeed);
  }
  Phugoid p;
  std::vector<double> swing;
  for (std::size_t k = 1; k < turns.size() && swing.size() < 8; ++k) {
    const double a = std::fabs(turns[k].second - turns[k - 1].second);
    // Below a few centimetres per second the swings drown in the step's rounding.
    if (a < 0.03 || (!swing.empty() && a < 0.02 * swing.front())) break;
    swing.push_back(a);
  }
  p.swings = static_cast<int>(swing.size());
  if (swing.size() < 3) return p;
  p.period = 2.0 * (turns[swing.size()].first - turns[0].first) / static_cast<double>(swing.size());
  p.shrinking = true;
  for (std::size_t k = 1; k < swing.size(); ++k)
    p.shrinking = p.shrinking && swing[k] < swing[k - 1];
  // Logarithmic decrement over whole periods (two half swings apart).
  double delta = 0.0;
  for (std::size_t k = 2; k < swing.size(); ++k) delta += std::log(swing[k - 2] / swing[k]);
  delta /= static_cast<double>(swing.size() - 2);
  p.damping = delta / std::sqrt(4.0 * std::numbers::pi * std::numbers::pi + delta * delta);
  return p;
}

// No crash, and the wings within 30 degrees of level all the way: no spiral, no spin.
bool WingsLevelWithoutCrash(const Flight& f, double from) {
  if (f.crashed) return false;
  for (const Sample& s : f.samples)
    if (s.t >= from && s.airborne && std::fabs(s.rz) > 0.5) return false;
  return true;
}

// Half the spread of the pitch angle between the times while airborne, degrees.
double PitchSwing(const Flight& f, double from, double to) {
  double lo = kNaN, hi = kNaN;
  for (const Sample& s : f.samples) {
    if (s.t < from || s.t > to || !s.airborne) continue;
    const double pitch = std::asin(std::clamp(s.fz, -1.0, 1.0)) * kRadToDeg;
    lo = std::isnan(lo) ? pitch : std::min(lo, pitch);
    hi = std::isnan(hi) ? pitch : std::max(hi, pitch);
  }
  return (hi - lo) / 2.0;
}

double FirstTimeAbove(const Flight& f, double agl) {
  for (const Sample& s : f.samples)
    if (s.t > 0.0 && s.Agl() >= agl) return s.t;
  return kNaN;
}

bool LandedWithoutCrash(const Flight& f, double after) {
  if (f.crashed) return false;
  for (std::size_t i = 1; i < f.samples.size(); ++i)
    if (f.samples[i].t > after && f.samples[i - 1].airborne && !f.samples[i].airborne) return true;
  return false;
}

SimState Loaded(const std::string& path) {
  SimState s;
  tool::LoadModel(s, path, Trace());
  return s;
}

const std::string kCalm = "0 thermals 0 0\n";

// Glides after the winch release r: first hands off, then at each elevator trim, the
// phugoid of the launch given time to die away; then a pulse of up elevator in the
// neutral glide starts the phugoid that is measured.
void MeasureGlides(const std::string& model, const std::string& launch, double r, Figures& out) {
  constexpr double kTrimAt = 10.0, kSettle = 40.0, kWindow = 40.0;
  const double from = r + kTrimAt + kSettle, to = from + kWindow;
  for (double e : {-0.1, -0.05, 0.0, 0.05, 0.1}) {
    const Flight f =
        Fly(model, kFlat, to, launch + Num(r + kTrimAt) + " set elevator " + Num(e) + "\n");
    const Glide g = SteadyGlide(f, from, to);
    if (e == 0.0) out.neutral = g;
    if (!std::isnan(g.ratio) && !(g.ratio <= out.bestGlide.ratio)) out.bestGlide = g;
    if (!std::isnan(g.sink) && !(g.sink >= out.minSink.sink)) out.minSink = g;
  }
  const double pulse = r + kTrimAt + kSettle;
  const Flight f =
      Fly(model, kFlat, pulse + 40.0,
          launch + Num(pulse) + " set elevator -0.3\n" + Num(pulse + 0.3) + " set elevator 0\n");
  out.phugoid = PhugoidAfter(f, pulse + 0.3);
  if (!std::isnan(out.neutral.speed))
    out.phugoid.expected = std::numbers::pi * std::sqrt(2.0) * out.neutral.speed / 9.81;
}

void MeasureAirplane(const ShippedModel& m, const std::string& model, const std::string& world,
                     const SimState& params, Figures& out) {
  const AirplaneParams& p = params.Airplane;
  out.stallSpeed = std::sqrt(p.Mass * 9.81 / (0.6125 * p.WingArea * p.MaxLift));
  // Which stick rolls it: aileron, or rudder on a model that has none.
  const std::string roll = p.AileronGain != 0.0 ? "aileron" : "rudder";
  double level = 0.0;  // time from which the checks at height start
  std::string climb;   // the script that takes it there

  if (HasEngine(m.kind)) {
    climb = kCalm + m.climb;
    level = m.level;
    const Flight up = Fly(model, world, level, climb);
    const double off = FirstTimeAbove(up, 1.0);
    if (!std::isnan(off)) {
      out.takeoffDistance = Horizontal(up.samples.front(), At(up, off));
      const Sample& a = At(up, off + 2.0);
      const Sample& b = At(up, off + 7.0);
      out.climbRate = (b.z - a.z) / (b.t - a.t);
    }
    // Throttle back to cruise with the stick neutral: the path settles.
    const Flight cruise = Fly(model, kFlat, level + 45.0,
                              climb + Num(level) + " set elevator 0\n" + Num(level) +
                                  " set throttle " + Num(m.cruiseThrottle) + "\n");
    out.settlingTime = SettlingTime(cruise, level, level + 45.0);
    out.minSpeedRatio = MinSpeed(cruise, level, level + 45.0) / out.stallSpeed;
    // Idle and neutral from higher up, so the phugoid of the change has died out before
    // it glides down onto the field and lands.
    const double idle = level + 8.0;
    // A good glider needs minutes to come down from there.
    const double down = IsGlider(m.kind) ? 300.0 : 150.0;
    const Flight glide =
        Fly(model, kFlat, idle + down,
            climb + Num(idle) + " set elevator 0\n" + Num(idle) + " set throttle -1\n");
    out.landed = LandedWithoutCrash(glide, idle);
    if (!IsGlider(m.kind)) out.glideRatio = GlideRatio(glide, idle + 15.0, idle + down);
  }
  if (IsGlider(m.kind)) {
    const std::string line =
        kCalm + "0 set throttle -1\n0 winch\n0 set elevator " + Num(m.winchPush) + "\n";
    const Flight pull = Fly(model, kFlat, 40, line);
    if (pull.winchReleaseTime >= 0.0) {
      const double r = pull.winchReleaseTime;
      const std::string launch = line + Num(r) + " set elevator 0\n";
      const Flight f = Fly(model, kFlat, r + 60.0, launch);
      out.winchHeight = 0.0;
      for (const Sample& s : f.samples) out.winchHeight = std::max(out.winchHeight, s.Agl());
      out.minSpeedRatio = MinSpeed(f, r + 0.1, r + 20.0) / out.stallSpeed;
      out.settlingTime = SettlingTime(f, r, r + 40.0);
      out.glideRatio = GlideRatio(f, r + 20.0, r + 60.0);
      MeasureGlides(model, launch, r, out);
      out.winchHandsOff = WingsLevelWithoutCrash(f, r);
      // Two successive windows once the zoom and its stall are over.
      out.winchPitchSwingEarly = PitchSwing(f, r + 20.0, r + 40.0);
      out.winchPitchSwingLate = PitchSwing(f, r + 40.0, r + 60.0);
      const Flight thrown = Fly(
          model, kFlat, 40.0, kCalm + "0 handstart\n0 set elevator " + Num(m.throwElevator) + "\n");
      out.handLaunchHandsOff = WingsLevelWithoutCrash(thrown, 0.0);
      if (!HasEngine(m.kind)) {
        climb = launch;
        level = r + 5.0;
      }
    }
  }
  if (climb.empty()) return;
  const Flight rolled =
      Fly(model, kFlat, level + 2.0, climb + Num(level) + " set " + roll + " 1\n");
  out.rollRate = RollRate(rolled, level, level + 2.0);
  if (m.kind == Kind::Aerobatic) {
    // Half a roll at full aileron, stopped with opposite aileron once the wings are
    // level upside down; then a steady push holds it there.
    double over = kNaN;
    for (const Sample& s : rolled.samples)
      if (s.t > level && s.uz < -0.95) {
        over = s.t;
        break;
      }
    out.holdsInverted = false;
    if (std::isnan(over)) return;
    // The roll is stopped with full opposite aileron for a tenth of a second; when to
    // start that depends on how fast it rolls, so the moments are tried as a pilot
    // would find them, every frame or so.
    for (double stop = over - 0.3; stop <= over + 1e-9 && !out.holdsInverted; stop += 0.02) {
      if (stop <= level) continue;
      const std::string half =
          climb + Num(level) + " set aileron 1\n" + Num(stop) + " set aileron -1\n";
      for (double push = 0.3; push <= 0.8 + 1e-9; push += 0.05) {
        const Flight inv = Fly(model, kFlat, stop + 5.0,
                               half + Num(stop) + " set elevator " + Num(push) + "\n" +
                                   Num(stop + 0.1) + " set aileron 0\n");
        // Three seconds upside down, from when the wings come level, losing no more than
        // 8 m; an open stick cannot hold the wings level for much longer.
        const Sample* from = nullptr;
        for (const Sample& s : inv.samples)
          if (s.t > stop && s.uz < -0.8) {
            from = &s;
            break;
          }
        bool held = from != nullptr && !inv.crashed;
        for (const Sample& s : inv.samples)
          if (held && s.t >= from->t && s.t <= from->t + 3.0 &&
              (s.uz > -0.8 || s.z < from->z - 8.0))
            held = false;
        if (held) {
          out.holdsInverted = true;
          break;
        }
      }
    }
  }
}

void MeasureHelicopter(const std::string& model, Figures& out) {
  // Bisect the collective for a hover with the skids about a metre up.
  const double target = 1.3;
  double lo = -1.0, hi = 1.0;
  auto height = [&](double c) {
    const Flight f = Fly(model, kFlat, 12, "0 set pitch " + Num(c) + "\n");
    return f.crashed ? -1.0 : f.samples.back().Agl();
  };
  for (int k = 0; k < 14; ++k) {
    const double c = 0.5 * (lo + hi);
    (height(c) > target ? hi : lo) = c;
  }
  out.hoverCollective = 0.5 * (lo + hi);
  const Flight hover = Fly(model, kFlat, 25, "0 set pitch " + Num(out.hoverCollective) + "\n");
  if (!hover.crashed) {
    const Sample& c = At(hover, 15.0);
    out.hoverSpread = 0.0;
    out.uprightHandsOff = true;
    for (const Sample& s : hover.samples) {
      if (s.t < 15.0) continue;
      out.hoverSpread = std::max(
          out.hoverSpread,
          std::sqrt(std::pow(s.x - c.x, 2) + std::pow(s.y - c.y, 2) + std::pow(s.z - c.z, 2)));
    }
    double last = 0.0;
    for (const Sample& s : hover.samples)
      if (std::fabs(s.vz) > 0.1) last = s.t;
    out.settlingTime = last;
  }
  // Full collective climbs; then hands off at the hover collective it stays upright.
  const std::string up = "0 set pitch 1\n4 set pitch " + Num(out.hoverCollective) + "\n";
  const Flight climb = Fly(model, kFlat, 9, up);
  out.climbRate = (At(climb, 4.0).z - At(climb, 2.0).z) / 2.0;
  for (const Sample& s : climb.samples)
    if (s.t >= 4.0 && s.uz < 0.9) out.uprightHandsOff = false;
  if (climb.crashed) out.uprightHandsOff = false;
  const Flight rolled = Fly(model, kFlat, 5, up + "4 set roll 1\n");
  out.rollRate = RollRate(rolled, 4.0, 5.0);
}

}  // namespace

const char* KindName(Kind k) {
  switch (k) {
    case Kind::Trainer:
      return "high-wing trainer";
    case Kind::Sport:
      return "low-wing sport";
    case Kind::Aerobatic:
      return "3D aerobatic";
    case Kind::Warbird:
      return "scale warbird";
    case Kind::ParkFlyer:
      return "park flyer";
    case Kind::Jet:
      return "ducted-fan jet";
    case Kind::ThermalGlider:
      return "thermal glider";
    case Kind::Sailplane:
      return "sailplane";
    case Kind::HandLaunchGlider:
      return "hand-launch glider";
    case Kind::MotorGlider:
      return "motor glider";
    case Kind::SlopeRacer:
      return "slope racer";
    case Kind::SlopeGlider:
      return "slope glider";
    case Kind::HeliTrainer:
      return "helicopter trainer";
    case Kind::HeliSport:
      return "sport helicopter";
  }
  return "";
}

bool IsHelicopter(Kind k) { return k == Kind::HeliTrainer || k == Kind::HeliSport; }
bool IsGlider(Kind k) {
  return k == Kind::ThermalGlider || k == Kind::Sailplane || k == Kind::HandLaunchGlider ||
         k == Kind::MotorGlider || k == Kind::SlopeRacer || k == Kind::SlopeGlider;
}
bool HasEngine(Kind k) { return !IsHelicopter(k) && (!IsGlider(k) || k == Kind::MotorGlider); }

Flight Fly(const std::string& model, const std::string& landscape, double duration,
           const std::string& script) {
  tool::FlyOptions o;
  o.model = model;
  o.landscape = landscape;
  o.frame = kFrame;
  o.duration = duration;
  std::ostringstream csv;
  const nlohmann::json j = tool::Fly(o, tool::ParseScriptText(script), &csv, Trace());
  Flight f;
  f.samples = ParseCsv(csv.str());
  f.crashed = j["crashed"].get<bool>();
  if (!j["winch_release_time"].is_null())
    f.winchReleaseTime = j["winch_release_time"].get<double>();
  return f;
}

Figures Measure(const ShippedModel& m, const std::string& dataDir, const std::string& landscape) {
  Figures out;
  const std::string model = dataDir + "/" + m.file;
  const SimState params = Loaded(model);
  if (IsHelicopter(m.kind))
    MeasureHelicopter(model, out);
  else
    MeasureAirplane(m, model, dataDir + "/" + landscape, params, out);
  return out;
}

std::string Table(const std::vector<std::pair<ShippedModel, Figures>>& rows) {
  std::ostringstream o;
  o << "| model | kind | take-off m | climb m/s | stall m/s | glide ratio / hover coll. | "
       "roll deg/s | settling s | min speed / stall | winch m | landed | inverted | hover m | "
       "neutral glide, sink m/s (m/s) | best glide (m/s) | min sink m/s (m/s) | phugoid s "
       "(expected) | "
       "phugoid damping | swings shrink | hands off: winch / hand |\n"
       "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n";
  auto cell = [](double v, int decimals) {
    if (std::isnan(v)) return std::string("-");
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return std::string(buf);
  };
  auto pair = [&](double v, int decimals, double in) {
    return std::isnan(v) ? std::string("-") : cell(v, decimals) + " (" + cell(in, 1) + ")";
  };
  for (const auto& [m, f] : rows) {
    const std::string name = m.file.substr(m.file.find('/') + 1);
    const bool glider = IsGlider(m.kind);
    o << "| " << name << " | " << KindName(m.kind) << " | " << cell(f.takeoffDistance, 0) << " | "
      << cell(f.climbRate, 1) << " | " << cell(f.stallSpeed, 1) << " | "
      << (IsHelicopter(m.kind) ? "coll. " + cell(f.hoverCollective, 3) : cell(f.glideRatio, 1))
      << " | " << cell(f.rollRate, 0) << " | " << cell(f.settlingTime, 1) << " | "
      << cell(f.minSpeedRatio, 2) << " | " << cell(f.winchHeight, 0) << " | "
      << (HasEngine(m.kind) ? (f.landed ? "yes" : "NO") : "-") << " | "
      << (m.kind == Kind::Aerobatic ? (f.holdsInverted ? "yes" : "NO") : "-") << " | "
      << cell(f.hoverSpread, 2) << " | "
      << (std::isnan(f.neutral.ratio) ? std::string("-")
                                      : cell(f.neutral.ratio, 1) + ", " + cell(f.neutral.sink, 2) +
                                            " (" + cell(f.neutral.speed, 1) + ")")
      << " | " << pair(f.bestGlide.ratio, 1, f.bestGlide.speed) << " | "
      << pair(f.minSink.sink, 2, f.minSink.speed) << " | "
      << pair(f.phugoid.period, 1, f.phugoid.expected) << " | " << cell(f.phugoid.damping, 3)
      << " | " << (glider ? (f.phugoid.shrinking ? "yes" : "NO") : "-") << " | "
      << (glider ? std::string(f.winchHandsOff ? "yes" : "NO") + " / " +
                       (f.handLaunchHandsOff ? "yes" : "NO")
                 : std::string("-"))
      << " |\n";
  }
  return o.str();
}

}  // namespace veltrane::qualities
