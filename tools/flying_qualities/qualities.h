#pragma once

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
  double cruiseThrottle;   // throttle function value for the hands-off check
  double winchPush;        // elevator held on the winch line
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

// Figures of one model; NaN where a figure does not apply to its kind.
struct Figures {
  double takeoffDistance;  // m from the start to 1 m above the ground, full throttle
  double climbRate;        // m/s: full throttle (airplanes) or full collective (helicopters)
  double stallSpeed;       // m/s, from mass, wing area and MaxLift
  double glideRatio;       // distance per height lost, engine off and stick neutral
  double hoverCollective;  // collective function value that holds a hover
  double rollRate;         // deg/s at full aileron or full roll cyclic
  double settlingTime;     // s until the airspeed (helicopter: height) stays settled
  double minSpeedRatio;    // lowest airspeed after the release / stall speed
  double winchHeight;      // m above the ground reached on the winch
  double hoverSpread;      // m: largest distance from the hover point over 10 s
  bool landed;             // touched down at idle without a crash (powered models)
  bool holdsInverted;      // flies 3 s upside down with a push, losing at most 8 m
  bool uprightHandsOff;    // helicopter: upright for 5 s with all sticks neutral
};

// Runs the checking flights of one model.
Figures Measure(const ShippedModel& m, const std::string& dataDir,
                const std::string& landscape = "Landscape/world.scn");

// The table of figures, one row per model, in Markdown.
std::string Table(const std::vector<std::pair<ShippedModel, Figures>>& rows);

}  // namespace veltrane::qualities
