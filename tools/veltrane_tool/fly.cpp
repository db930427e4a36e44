#include "tools/veltrane_tool/fly.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/clock/clock.h"
#include "sim/airplane.h"
#include "sim/helicopter.h"
#include "sim/lifecycle.h"
#include "sim/thermals.h"
#include "sim/tick.h"
#include "tools/veltrane_tool/landscape.h"
#include "tools/veltrane_tool/model_files.h"
#include "tools/veltrane_tool/tool_error.h"

namespace veltrane::tool {

const char* const kCsvHeader =
    "t,x,y,z,vx,vy,vz,airspeed,fx,fy,fz,ux,uy,uz,rx,ry,rz,ground_height,thermal_lift,"
    "airborne,crashed,winch,f0,f1,f2,f3,f4,f5,f6,f7";

namespace {

// %.17g reads back to the same double.
void Num(std::ostream& out, double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  out << ',' << buf;
}

void WriteRow(std::ostream& out, double t, const SimState& s) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.17g", t);
  out << buf;
  for (const Vec3* v : {&s.ModelPosition, &s.ModelVelocity}) {
    Num(out, v->x);
    Num(out, v->y);
    Num(out, v->z);
  }
  Num(out, s.Airspeed);
  for (const Vec3* v : {&s.AxisForward, &s.AxisUp, &s.AxisRight}) {
    Num(out, v->x);
    Num(out, v->y);
    Num(out, v->z);
  }
  Num(out, s.GroundHeight);
  Num(out, s.ThermalLift);
  out << ',' << int(s.Airborne) << ',' << int(s.Crashed) << ',' << int(s.WinchAttached);
  for (double f : s.FunctionValue) Num(out, f);
  out << '\n';
}

nlohmann::json VecJson(const Vec3& v) { return nlohmann::json::array({v.x, v.y, v.z}); }

// The script as a transmitter: each function it has set keeps its value.
struct ScriptRadio {
  std::array<std::optional<double>, 8> held;
  void Read(SimState& s) const {
    for (std::size_t i = 0; i < held.size(); ++i)
      if (held[i]) s.FunctionValue[i] = *held[i];
  }
};

void Apply(const ScriptCommand& c, SimState& s, const World& w, ScriptRadio& radio,
           const Trace& trace) {
  using K = ScriptCommand::Kind;
  switch (c.kind) {
    case K::Set:
      radio.held[c.function] = c.value;
      break;
    case K::Init:
      Reinitialise(s, w, trace, false);
      break;
    case K::Restart:
      RestartFlight(s, w, trace);
      break;
    case K::Handstart:
      Handstart(s, trace);
      break;
    case K::Winch:
      AttachWinch(s);
      break;
    case K::Pause:
      s.Flags.Pause = c.on;
      break;
    case K::AutoInit:
      s.Flags.AutoInit = c.on;
      break;
    case K::Indestructible:
      s.Flags.Autorestart = c.on;
      break;
    case K::Pilot:
      Standort(s, w, c.key, trace);
      break;
    case K::Thermals:
      s.Thermals.iBubbles = c.count;
      s.Thermals.BubbleZ = c.strength;
      RandomizeThermal(s, s.ModelPosition.x, s.ModelPosition.y, trace);
      break;
    case K::Thermal:
      // One thermal where the script says. BubbleZ follows it so that a thermal
      // the flight recycles (1250 m away) comes back no stronger than this one.
      s.Thermals.iBubbles = 1;
      s.Thermals.BubbleZ = c.strength;
      s.Thermals.Thermals[0] = Thermal{c.x, c.y, c.strength, c.radius};
      break;
  }
}

}  // namespace

nlohmann::json Fly(const FlyOptions& o, const std::vector<ScriptCommand>& script,
                   std::ostream* csv, const Trace& trace) {
  // The clock counts whole milliseconds and the tick caps a frame at 0.1 s;
  // outside that range the flight would not cover the script's time.
  if (!(o.frame >= 0.001 && o.frame <= 0.1))
    throw ToolError("--frame must be from 0.001 to 0.1 seconds");
  if (!(o.duration >= 0.0 && o.duration <= 1e6))
    throw ToolError("--duration must be a number of seconds from 0 to 1000000");
  if (o.model.empty()) throw ToolError("fly needs --model FILE");

  SimState s;
  // The program reads the landscape first (its shades use the shared random
  // generator), then the model.
  Landscape land = o.landscape.empty() ? FlatLandscape() : LoadLandscape(o.landscape, s, trace);
  const World& world = *land.world;
  LoadModel(s, o.model, trace);
  if (o.clearance) s.GroundClearance = *o.clearance;
  ApplyScenePlaces(s, world, land.pilotX, land.pilotY, land.startX, land.startY);

  ManualClock clock;
  SimTick tick(s, clock, trace, &world);
  std::int64_t substeps = 0;
  tick.airplaneStep = [&substeps](SimState& st, const World& w) {
    ++substeps;
    MoveAirplane(st, w);
  };
  tick.heliStep = [&substeps](SimState& st, const World& w) {
    ++substeps;
    MoveHelicopter(st, w);
  };
  ScriptRadio radio;
  bool crash_started = false;
  tick.hooks.displayReady = [] { return true; };
  tick.hooks.readRadio = [&] { radio.Read(s); };
  tick.hooks.soundUpdate = [&](bool started) { crash_started = crash_started || started; };

  clock.Set(0);
  SimInit(s, world, tick, trace);

  nlohmann::json crash_time = nullptr, winch_release_time = nullptr;
  int crashes = 0;
  double max_agl = -std::numeric_limits<double>::infinity(), max_height = max_agl;
  double airborne_time = 0.0;
  auto observe = [&](double t) {
    const double agl = s.ModelPosition.z - world.GroundHeightAt(s.ModelPosition.x, s.ModelPosition.y);
    max_agl = std::max(max_agl, agl);
    max_height = std::max(max_height, s.ModelPosition.z);
    if (csv) WriteRow(*csv, t, s);
  };
  if (csv) *csv << kCsvHeader << '\n';
  observe(0.0);

  // Frames counted, not times summed, so long runs do not drift.
  const auto frames = static_cast<std::int64_t>(std::ceil(o.duration / o.frame - 1e-9));
  std::size_t next = 0;
  bool was_crashed = s.Crashed;
  for (std::int64_t k = 1; k <= frames; ++k) {
    const double t = static_cast<double>(k) * o.frame;
    bool launched = false;
    while (next < script.size() && script[next].time <= t + 1e-9) {
      const ScriptCommand& c = script[next++];
      launched = launched || c.kind == ScriptCommand::Kind::Init ||
                 c.kind == ScriptCommand::Kind::Restart ||
                 c.kind == ScriptCommand::Kind::Handstart;
      Apply(c, s, world, radio, trace);
    }
    was_crashed = was_crashed && s.Crashed;
    const bool winch_before = s.WinchAttached;
    crash_started = false;
    clock.Set(std::llround(t * 1000.0));
    tick.Tick();
    if ((crash_started || s.Crashed) && !was_crashed) {
      ++crashes;
      if (crash_time.is_null()) crash_time = t;
    }
    was_crashed = s.Crashed;
    if (winch_before && !s.WinchAttached && !s.Crashed && !launched &&
        winch_release_time.is_null())
      winch_release_time = t;
    if (s.Airborne) airborne_time += o.frame;
    observe(t);
  }

  nlohmann::json j;
  j["crashed"] = crashes > 0;
  j["crash_time"] = crash_time;
  j["crashes"] = crashes;
  j["crashed_at_end"] = s.Crashed;
  j["max_height_agl"] = max_agl;
  j["max_height"] = max_height;
  j["final_position"] = VecJson(s.ModelPosition);
  j["final_velocity"] = VecJson(s.ModelVelocity);
  j["final_airspeed"] = s.Airspeed;
  j["final_axis_up"] = VecJson(s.AxisUp);
  j["airborne_time"] = airborne_time;
  j["winch_release_time"] = winch_release_time;
  j["frames"] = frames;
  j["substeps"] = substeps;
  j["frame"] = o.frame;
  j["duration"] = static_cast<double>(frames) * o.frame;
  j["iModelStyle"] = s.iModelStyle;
  j["pilot_position"] = VecJson(s.PilotPosition);
  j["start_position"] = VecJson(s.StartPosition);
  j["winch_position"] = VecJson(s.WinchPosition);
  return j;
}

}  // namespace veltrane::tool
