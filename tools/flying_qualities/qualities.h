#pragma once

#include <limits>
#include <string>
#include <vector>

namespace veltrane::qualities {

// What a model pilot expects of a model depends on its kind.
enum class Kind {
  Trainer,
  Sport,
  Aerobatic,
  Warbird,
  ParkFlyer,
  Jet,
  ThermalGlider,
  Sailplane,
  HandLaunchGlider,
  MotorGlider,
  SlopeRacer,
  SlopeGlider,
  HeliTrainer,
  HeliSport,
};

const char* KindName(Kind k);
bool IsHelicopter(Kind k);
bool IsGlider(Kind k);  // flown off the winch; a motor glider counts once its motor is off
bool HasEngine(Kind k);

// A shipped model by its file under the data folder, and how it is flown in the checks.
struct ShippedModel {
  std::string file;  // "Model/su-26.par"
  Kind kind;
  // Powered models: the take-off and climb-out at full throttle, as a flight script,
  // and the time at which it has reached height and the checks there begin.
  std::string climb;
  double level;
  double cruiseThrottle;       // throttle function value for the hands-off check
  double winchPush;            // elevator held on the winch line
  double throwElevator = 0.0;  // elevator held from the hand throw on
};
const std::vector<ShippedModel>& ShippedModels();

// One telemetry sample of a flight.
struct Sample {
  double t, x, y, z, vx, vy, vz, airspeed;
  double fx, fy, fz, ux, uy, uz, rx, ry, rz;
  double groundHeight;
  bool airborne, crashed, winch;
  double Agl() const { return z - groundHeight; }
};

struct Flight {
  std::vector<Sample> samples;
  bool crashed = false;
  double winchReleaseTime = -1.0;  // -1: never released by itself
};

// Flies a model (a path) over a landscape with a flight script, through the
// headless tool's own flight loop (the program's tick and flight models).
Flight Fly(const std::string& model, const std::string& landscape, double duration,
           const std::string& script);

// A steady glide: distance per energy height lost, the energy height's sink rate and
// the mean airspeed, so that what is left of the phugoid does not bias them.
struct Glide {
  double ratio = std::numeric_limits<double>::quiet_NaN();
  double sink = std::numeric_limits<double>::quiet_NaN();   // m/s
  double speed = std::numeric_limits<double>::quiet_NaN();  // m/s
};

// The speed oscillation after an elevator pulse in a steady glide.
struct Phugoid {
  double period = std::numeric_limits<double>::quiet_NaN();    // s
  double damping = std::numeric_limits<double>::quiet_NaN();   // damping ratio
  double expected = std::numeric_limits<double>::quiet_NaN();  // s: pi * sqrt(2) * V / g
  int swings = 0;                                              // half swings measured
  bool shrinking = false;  // each swing smaller than the one before
};

// Figures of one model; NaN where a figure does not apply to its kind.
struct Figures {
  static constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  double takeoffDistance = kNaN;  // m from the start to 1 m above the ground, full throttle
  double climbRate = kNaN;        // m/s: full throttle (airplanes) or full collective (helicopters)
  double stallSpeed = kNaN;       // m/s, from mass, wing area and MaxLift
  double glideRatio = kNaN;       // distance per height lost, engine off and stick neutral
  double hoverCollective = kNaN;  // collective function value that holds a hover
  double rollRate = kNaN;         // deg/s at full aileron or full roll cyclic
  double settlingTime = kNaN;     // s until the airspeed (helicopter: height) stays settled
  double minSpeedRatio = kNaN;    // lowest airspeed after the release / stall speed
  double winchHeight = kNaN;      // m above the ground reached on the winch
  double hoverSpread = kNaN;      // m: largest distance from the hover point over 10 s
  bool landed = false;            // touched down at idle without a crash (powered models)
  bool holdsInverted = false;     // flies 3 s upside down with a push, losing at most 8 m
  bool uprightHandsOff = false;   // helicopter: upright for 5 s with all sticks neutral
  // Gliders, engine off: the steady glide with the stick neutral, the best ratio and the
  // least sink over several elevator trims, the phugoid, and whether it flies on by
  // itself after the winch and after a hand launch (no crash, wings within 30 degrees).
  Glide neutral, bestGlide, minSink;
  Phugoid phugoid;
  bool winchHandsOff = false;
  bool handLaunchHandsOff = false;
  // Hands off after the winch: half the spread of the pitch angle (degrees) over an
  // early and a late window of the glide; the swings of the launch should die out.
  double winchPitchSwingEarly = kNaN;
  double winchPitchSwingLate = kNaN;
};

// Runs the checking flights of one model.
Figures Measure(const ShippedModel& m, const std::string& dataDir,
                const std::string& landscape = "Landscape/world.scn");

// The table of figures, one row per model, in Markdown.
std::string Table(const std::vector<std::pair<ShippedModel, Figures>>& rows);

}  // namespace veltrane::qualities
