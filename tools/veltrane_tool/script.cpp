#include "tools/veltrane_tool/script.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <sstream>

#include "sim/functions.h"

namespace veltrane::tool {
namespace {

constexpr std::array<const char*, fn::kCount> kFunctionNames = {
    "rudder", "elevator", "aileron", "throttle", "tail", "nick", "roll", "pitch"};

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// A script word as a message quotes it: in quotes, at most about 80 characters.
std::string Quote(const std::string& token) {
  return "\"" + (token.size() <= 80 ? token : token.substr(0, 77) + "...") + "\"";
}

// Locale-independent, whole-token number parsing.
bool ParseNumber(const std::string& token, double& out) {
  const char* end = token.data() + token.size();
  const auto [ptr, ec] = std::from_chars(token.data(), end, out);
  return ec == std::errc() && ptr == end && std::isfinite(out);
}

bool ParseInt(const std::string& token, int& out) {
  const char* end = token.data() + token.size();
  const auto [ptr, ec] = std::from_chars(token.data(), end, out);
  return ec == std::errc() && ptr == end;
}

bool ParseOnOff(const std::string& token, bool& on) {
  const std::string t = Lower(token);
  if (t == "on") return on = true, true;
  if (t == "off") return on = false, true;
  return false;
}

ScriptCommand ParseLine(const std::vector<std::string>& tok, int line) {
  auto fail = [line](const std::string& what) { return ScriptError(line, what); };
  ScriptCommand c;
  c.line = line;
  if (!ParseNumber(tok[0], c.time) || c.time < 0.0)
    throw fail("bad time " + Quote(tok[0]) + " (a number of seconds, at least 0)");
  if (tok.size() < 2) throw fail("a command must follow the time");
  const std::string cmd = Lower(tok[1]);
  const std::size_t args = tok.size() - 2;
  auto want_args = [&](std::size_t n, const char* usage) {
    if (args != n) throw fail(std::string("usage: TIME ") + usage);
  };
  auto on_off = [&](ScriptCommand::Kind kind, const char* usage) {
    want_args(1, usage);
    c.kind = kind;
    if (!ParseOnOff(tok[2], c.on)) throw fail("expected on or off, got " + Quote(tok[2]));
  };

  if (cmd == "set") {
    want_args(2, "set FUNCTION VALUE");
    c.kind = ScriptCommand::Kind::Set;
    c.function = FunctionIndex(tok[2]);
    if (c.function < 0) throw fail("unknown function " + Quote(tok[2]));
    if (!ParseNumber(tok[3], c.value)) throw fail("bad value " + Quote(tok[3]));
    // Function values are stick positions; the tick would clamp anything else silently.
    if (!(c.value >= -1.0 && c.value <= 1.0))
      throw fail("value " + Quote(tok[3]) + " of " + tok[2] + " is outside -1 to 1");
  } else if (cmd == "init") {
    want_args(0, "init");
    c.kind = ScriptCommand::Kind::Init;
  } else if (cmd == "restart") {
    want_args(0, "restart");
    c.kind = ScriptCommand::Kind::Restart;
  } else if (cmd == "handstart") {
    want_args(0, "handstart");
    c.kind = ScriptCommand::Kind::Handstart;
  } else if (cmd == "winch") {
    want_args(0, "winch");
    c.kind = ScriptCommand::Kind::Winch;
  } else if (cmd == "pause") {
    on_off(ScriptCommand::Kind::Pause, "pause on|off");
  } else if (cmd == "autoinit") {
    on_off(ScriptCommand::Kind::AutoInit, "autoinit on|off");
  } else if (cmd == "indestructible") {
    on_off(ScriptCommand::Kind::Indestructible, "indestructible on|off");
  } else if (cmd == "pilot") {
    want_args(1, "pilot KEY");
    c.kind = ScriptCommand::Kind::Pilot;
    if (tok[2].size() != 1 || std::string("234689").find(tok[2][0]) == std::string::npos)
      throw fail("pilot key must be one of 2 3 4 6 8 9, got " + Quote(tok[2]));
    c.key = tok[2][0];
  } else if (cmd == "thermals") {
    want_args(2, "thermals COUNT STRENGTH");
    c.kind = ScriptCommand::Kind::Thermals;
    if (!ParseInt(tok[2], c.count) || c.count < 0 || c.count > 160)
      throw fail("thermal count must be a whole number 0..160, got " + Quote(tok[2]));
    if (!ParseNumber(tok[3], c.strength)) throw fail("bad thermal strength " + Quote(tok[3]));
  } else if (cmd == "thermal") {
    if (args != 3 && args != 4) throw fail("usage: TIME thermal X Y STRENGTH [RADIUS]");
    c.kind = ScriptCommand::Kind::Thermal;
    if (!ParseNumber(tok[2], c.x) || !ParseNumber(tok[3], c.y))
      throw fail("bad thermal position " + Quote(tok[2] + " " + tok[3]));
    if (!ParseNumber(tok[4], c.strength)) throw fail("bad thermal strength " + Quote(tok[4]));
    c.radius = kDefaultThermalRadius;
    // The lift formula needs a real radius; zero would leave a thermal that lifts nowhere.
    if (args == 4 && (!ParseNumber(tok[5], c.radius) || c.radius <= 0.0))
      throw fail("thermal radius must be a number above 0, got " + Quote(tok[5]));
  } else if (cmd == "wind") {
    want_args(2, "wind SPEED FROM_DEGREES");
    c.kind = ScriptCommand::Kind::Wind;
    if (!ParseNumber(tok[2], c.value) || c.value < 0.0 || c.value > 20.0)
      throw fail("wind speed must be 0 to 20 m/s, got " + Quote(tok[2]));
    if (!ParseNumber(tok[3], c.strength) || c.strength < 0.0 || c.strength >= 360.0)
      throw fail("wind direction must be 0 to 359 degrees, got " + Quote(tok[3]));
  } else if (cmd == "gusts" || cmd == "turbulence") {
    want_args(1, cmd == "gusts" ? "gusts PERCENT" : "turbulence PERCENT");
    c.kind = cmd == "gusts" ? ScriptCommand::Kind::Gusts : ScriptCommand::Kind::Turbulence;
    if (!ParseInt(tok[2], c.count) || c.count < 0 || c.count > 100)
      throw fail(cmd + " must be a whole percentage 0..100, got " + Quote(tok[2]));
  } else {
    throw fail("unknown command " + Quote(tok[1]));
  }
  return c;
}

}  // namespace

int FunctionIndex(const std::string& name) {
  if (name.size() == 1 && name[0] >= '0' && name[0] <= '7') return name[0] - '0';
  const std::string n = Lower(name);
  for (std::size_t i = 0; i < kFunctionNames.size(); ++i)
    if (n == kFunctionNames[i]) return static_cast<int>(i);
  return -1;
}

std::vector<ScriptCommand> ParseScript(std::istream& in) {
  std::vector<ScriptCommand> out;
  std::string text;
  int line = 0;
  while (std::getline(in, text)) {
    ++line;
    if (const auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
    std::istringstream words(text);
    std::vector<std::string> tok;
    for (std::string w; words >> w;) tok.push_back(w);
    if (tok.empty()) continue;
    ScriptCommand c = ParseLine(tok, line);
    // Out-of-order times are almost surely a typo; running them "sorted" would
    // silently fly a different script.
    if (!out.empty() && c.time < out.back().time)
      throw ScriptError(line, "time goes backwards (" + Quote(tok[0]) + " after line " +
                                  std::to_string(out.back().line) + ")");
    out.push_back(c);
  }
  return out;
}

std::vector<ScriptCommand> ParseScriptText(const std::string& text) {
  std::istringstream in(text);
  return ParseScript(in);
}

}  // namespace veltrane::tool
