#pragma once

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrane::tool {

// One line of a flight script: "TIME COMMAND [ARGS]".
struct ScriptCommand {
  enum class Kind {
    Set,  // function, value
    Init,
    Restart,
    Handstart,
    Winch,
    Pause,           // on
    AutoInit,        // on
    Indestructible,  // on
    Pilot,           // key
    Thermals,        // count, strength
    Thermal,         // x, y, strength, radius
    Wind,            // value: speed (m/s at 10 m), strength: where it blows from (degrees)
    Gusts,           // count: percent
    Turbulence,      // count: percent
  };
  double time = 0.0;
  Kind kind = Kind::Init;
  int function = 0;
  double value = 0.0;
  bool on = false;
  char key = 0;
  int count = 0;
  double strength = 0.0;
  double x = 0.0, y = 0.0;  // world position of a placed thermal
  double radius = 0.0;
  int line = 0;  // where it came from, for messages
};

// A script that cannot be run; what() names the line.
class ScriptError : public std::runtime_error {
 public:
  ScriptError(int line, const std::string& message)
      : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

// Radius of a placed thermal when the script gives none, as the scattered ones.
constexpr double kDefaultThermalRadius = 60.0;

// Reads every command; blank lines and "#" comments are skipped. Times must be
// finite, not negative and must not go backwards. Throws ScriptError at the
// first bad line.
std::vector<ScriptCommand> ParseScript(std::istream& in);
std::vector<ScriptCommand> ParseScriptText(const std::string& text);

// "rudder", "throttle", ... or "0".."7"; -1 when it is neither.
int FunctionIndex(const std::string& name);

}  // namespace veltrane::tool
