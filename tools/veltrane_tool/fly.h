#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/trace/trace.h"
#include "sim/air/wind_settings.h"
#include "sim/sim_state.h"
#include "sim/world.h"
#include "tools/veltrane_tool/landscape.h"
#include "tools/veltrane_tool/script.h"

namespace veltrane::tool {

struct FlyOptions {
  std::string model;
  std::string landscape;  // empty: flat ground
  double frame = 0.02;    // seconds per tick
  double duration = 10.0;
  // GroundClearance to use instead of the model file's (a .par carries none).
  std::optional<double> clearance;
  // Records the flight to this file (the program's format); the controls are
  // then rounded to single precision, as the program rounds them.
  std::string record;
  // The air: the landscape's usual wind, else still, unless a wind is given.
  WindSettings wind;
  bool windGiven = false;
};

// What a caller adds to a flight: a world of its own over the landscape, and a
// look at every command and tick.
class FlightWatch {
 public:
  virtual ~FlightWatch() = default;
  // Once model, landscape, places and wind are set, before SimInit: the world
  // the flight runs in (it must outlive the flight).
  virtual const World& Prepare(SimState& s, const Landscape& land) = 0;
  // After a script command took effect, before the tick that starts at t.
  virtual void Commanded(const ScriptCommand& c, const SimState& s, double t) = 0;
  // After SimInit (t = 0) and after every tick; true ends the flight there.
  virtual bool Ticked(const SimState& s, double t) = 0;
};

// Re-simulates a recorded flight on its model and landscape and checks every
// snapshot. The summary is fly's, with "reproduced", "first_difference" (the
// flight time of the first snapshot that differs, or null), "snapshots" and
// "complete" (false: the file was cut off).
nlohmann::json Replay(const std::string& file, std::ostream* csv, const Trace& trace);

// Header of the telemetry CSV.
extern const char* const kCsvHeader;

// Loads model and landscape, runs SimInit and then the real tick on a manual
// clock, one tick per frame, applying each script command just before the
// first tick at or after its time. Writes a CSV row at t = 0 and after every
// tick when csv is given. Returns the summary. Throws ToolError (bad options,
// missing files) and the loaders' errors.
nlohmann::json Fly(const FlyOptions& options, const std::vector<ScriptCommand>& script,
                   std::ostream* csv, const Trace& trace, FlightWatch* watch = nullptr);

}  // namespace veltrane::tool
