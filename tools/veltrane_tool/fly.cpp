#include "tools/veltrane_tool/fly.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <limits>

#include "base/clock/clock.h"
#include "record/flight_recorder.h"
#include "record/flight_replay.h"
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
    "airborne,crashed,winch,f0,f1,f2,f3,f4,f5,f6,f7,wind_x,wind_y,wind_z";

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
  const Vec3 air = s.Air.AtModel(s.ModelPosition);
  Num(out, air.x);
  Num(out, air.y);
  Num(out, air.z);
  out << '\n';
}

nlohmann::json VecJson(const Vec3& v) { return nlohmann::json::array({v.x, v.y, v.z}); }

// The script as a transmitter: each function it has set keeps its value.
struct ScriptRadio {
  std::array<std::optional<double>, fn::kCount> held;
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
    case K::Wind:
    case K::Gusts:
    case K::Turbulence: {
      WindSettings wind = s.Air.Settings();
      if (c.kind == K::Wind) {
        wind.speed = c.value;
        wind.fromDegrees = c.strength;
      } else if (c.kind == K::Gusts) {
        wind.gusts = c.count;
      } else {
        wind.turbulence = c.count;
      }
      s.Air.SetWind(wind);
      break;
    }
    case K::Thermal:
      // One thermal where the script says. BubbleZ follows it so that a thermal
      // the flight recycles (1250 m away) comes back no stronger than this one.
      s.Thermals.iBubbles = 1;
      s.Thermals.BubbleZ = c.strength;
      s.Thermals.Thermals[0] = Thermal{c.x, c.y, c.strength, c.radius};
      break;
  }
}

// What fly reports of a flight, gathered tick by tick.
class Summary {
 public:
  Summary(const SimState& s, const World& w, std::ostream* csv) : s_(s), w_(w), csv_(csv) {
    if (csv_) *csv_ << kCsvHeader << '\n';
  }
  // Before each tick: whether the frame starts with a launch.
  void BeforeTick(bool launched) {
    launched_ = launched;
    wasCrashed_ = wasCrashed_ && s_.Crashed;
    winchBefore_ = s_.WinchAttached;
    crashStarted = false;
  }
  void AfterTick(double t, double frame) {
    if ((crashStarted || s_.Crashed) && !wasCrashed_) {
      ++crashes_;
      if (crashTime_.is_null()) crashTime_ = t;
    }
    wasCrashed_ = s_.Crashed;
    if (winchBefore_ && !s_.WinchAttached && !s_.Crashed && !launched_ && winchRelease_.is_null())
      winchRelease_ = t;
    if (s_.Airborne) airborne_ += frame;
    Observe(t);
  }
  void Observe(double t) {
    const double agl =
        s_.ModelPosition.z - w_.GroundHeightAt(s_.ModelPosition.x, s_.ModelPosition.y);
    maxAgl_ = std::max(maxAgl_, agl);
    maxHeight_ = std::max(maxHeight_, s_.ModelPosition.z);
    if (csv_) WriteRow(*csv_, t, s_);
  }
  void Start() { wasCrashed_ = s_.Crashed; }
  nlohmann::json Finish(std::int64_t frames, double frame, double duration,
                        std::int64_t substeps) const {
    nlohmann::json j;
    j["crashed"] = crashes_ > 0;
    j["crash_time"] = crashTime_;
    j["crashes"] = crashes_;
    j["crashed_at_end"] = s_.Crashed;
    j["max_height_agl"] = maxAgl_;
    j["max_height"] = maxHeight_;
    j["final_position"] = VecJson(s_.ModelPosition);
    j["final_velocity"] = VecJson(s_.ModelVelocity);
    j["final_airspeed"] = s_.Airspeed;
    j["final_axis_up"] = VecJson(s_.AxisUp);
    j["airborne_time"] = airborne_;
    j["winch_release_time"] = winchRelease_;
    j["frames"] = frames;
    j["substeps"] = substeps;
    j["frame"] = frame;
    j["duration"] = duration;
    j["iModelStyle"] = s_.iModelStyle;
    j["pilot_position"] = VecJson(s_.PilotPosition);
    j["start_position"] = VecJson(s_.StartPosition);
    j["winch_position"] = VecJson(s_.WinchPosition);
    const WindSettings& wind = s_.Air.Settings();
    j["wind"] = {{"speed", wind.speed},
                 {"from", wind.fromDegrees},
                 {"gusts", wind.gusts},
                 {"turbulence", wind.turbulence},
                 {"seed", wind.turbulenceSeed}};
    return j;
  }

  bool crashStarted = false;  // the tick's sound hook sets it

 private:
  const SimState& s_;
  const World& w_;
  std::ostream* csv_;
  nlohmann::json crashTime_ = nullptr, winchRelease_ = nullptr;
  int crashes_ = 0;
  double maxAgl_ = -std::numeric_limits<double>::infinity(), maxHeight_ = maxAgl_;
  double airborne_ = 0.0;
  bool wasCrashed_ = false, winchBefore_ = false, launched_ = false;
};

// The script's commands as the recorder writes them; false for those that only
// set a control (the frames carry those).
void RecordCommand(record::FlightRecorder& r, const ScriptCommand& c, const SimState& s) {
  using K = ScriptCommand::Kind;
  using C = record::CommandCode;
  switch (c.kind) {
    case K::Set:
      break;
    case K::Init:
      r.Command(C::Init);
      break;
    case K::Restart:
      r.Command(C::Restart);
      break;
    case K::Handstart:
      r.Command(C::Handstart);
      break;
    case K::Winch:
      r.Command(C::Winch);
      break;
    case K::Pause:
      r.Command(C::Pause, c.on);
      break;
    case K::AutoInit:
      r.Command(C::AutoInit, c.on);
      break;
    case K::Indestructible:
      r.Command(C::Indestructible, c.on);
      break;
    case K::Pilot:
      r.Command(C::Pilot, static_cast<std::uint8_t>(c.key));
      break;
    case K::Thermals:
    case K::Thermal:
    case K::Wind:
    case K::Gusts:
    case K::Turbulence:
      r.StateChanged(s);
      break;
  }
}

record::FlightHeader HeaderFor(const SimState& s, const std::string& model,
                               const std::string& landscape) {
  namespace fs = std::filesystem;
  record::FlightHeader h = record::HeaderFromState(s);
  h.programVersion = "veltrane-tool";
  h.startedAt = static_cast<std::int64_t>(std::time(nullptr));
  h.modelFile = fs::absolute(model).string();
  h.modelHash = record::HashFile(model);
  if (!landscape.empty()) {
    h.landscapeFile = fs::absolute(landscape).string();
    h.landscapeHash = record::HashFile(landscape);
  }
  return h;
}

// The flight models as the program runs them, each sub-step counted for the summary.
void CountSubsteps(SimTick& tick, std::int64_t& substeps) {
  tick.airplaneStep = [&substeps](SimState& st, const World& w) {
    ++substeps;
    MoveAirplane(st, w);
  };
  tick.heliStep = [&substeps](SimState& st, const World& w) {
    ++substeps;
    MoveHelicopter(st, w);
  };
}

}  // namespace

nlohmann::json Fly(const FlyOptions& o, const std::vector<ScriptCommand>& script, std::ostream* csv,
                   const Trace& trace, FlightWatch* watch) {
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
  WindSettings wind = o.wind;
  if (!o.windGiven && land.wind) {
    wind.speed = land.wind->speed;
    wind.fromDegrees = land.wind->fromDegrees;
  }
  s.Air.SetWind(wind.Clamped());
  const World& flightWorld = watch ? watch->Prepare(s, land) : world;

  ManualClock clock;
  SimTick tick(s, clock, trace, &flightWorld);
  std::int64_t substeps = 0;
  CountSubsteps(tick, substeps);
  ScriptRadio radio;
  record::FlightRecorder recorder;
  const bool recording = !o.record.empty();
  Summary summary(s, world, csv);
  tick.hooks.displayReady = [] { return true; };
  tick.hooks.readRadio = [&] {
    radio.Read(s);
    if (!recording) return;
    record::RoundControls(s);
    recorder.Frame(s);
  };
  tick.hooks.soundUpdate = [&](bool started) {
    summary.crashStarted = summary.crashStarted || started;
  };
  tick.hooks.sceneUpdate = [&] { recorder.AfterTick(s); };

  clock.Set(0);
  SimInit(s, flightWorld, tick, trace);
  if (recording) {
    record::RoundControls(s);
    if (!recorder.Start(o.record, HeaderFor(s, o.model, o.landscape), s))
      throw ToolError(recorder.Error());
  }

  summary.Observe(0.0);
  summary.Start();
  bool done = watch && watch->Ticked(s, 0.0);

  // Frames counted, not times summed, so long runs do not drift.
  const auto frames = static_cast<std::int64_t>(std::ceil(o.duration / o.frame - 1e-9));
  std::size_t next = 0;
  std::int64_t k = 1;
  for (; k <= frames && !done; ++k) {
    const double t = static_cast<double>(k) * o.frame;
    bool launched = false;
    while (next < script.size() && script[next].time <= t + 1e-9) {
      const ScriptCommand& c = script[next++];
      launched = launched || c.kind == ScriptCommand::Kind::Init ||
                 c.kind == ScriptCommand::Kind::Restart || c.kind == ScriptCommand::Kind::Handstart;
      Apply(c, s, flightWorld, radio, trace);
      if (recording) RecordCommand(recorder, c, s);
      if (watch) watch->Commanded(c, s, t - o.frame);
    }
    summary.BeforeTick(launched);
    clock.Set(std::llround(t * 1000.0));
    tick.Tick();
    summary.AfterTick(t, o.frame);
    done = watch && watch->Ticked(s, t);
  }
  recorder.Stop();
  if (recording && !recorder.Error().empty()) throw ToolError(recorder.Error());
  const std::int64_t flown = k - 1;
  return summary.Finish(flown, o.frame, static_cast<double>(flown) * o.frame, substeps);
}

nlohmann::json Replay(const std::string& file, std::ostream* csv, const Trace& trace) {
  record::Recording rec;
  try {
    rec = record::ReadRecording(file);
  } catch (const record::FormatError& e) {
    throw ToolError(e.what());
  }
  const record::FlightHeader& h = rec.header;
  SimState s;
  Landscape land =
      h.landscapeFile.empty() ? FlatLandscape() : LoadLandscape(h.landscapeFile, s, trace);
  const World& world = *land.world;
  LoadModel(s, h.modelFile, trace);
  s.GroundClearance = h.groundClearance;
  ApplyScenePlaces(s, world, land.pilotX, land.pilotY, land.startX, land.startY);
  s.Air.SetWind(h.wind);

  ManualClock clock;
  SimTick tick(s, clock, trace, &world);
  std::int64_t substeps = 0;
  CountSubsteps(tick, substeps);
  record::ReplayCursor cursor(rec, s, tick, clock, trace);
  Summary summary(s, world, csv);
  tick.hooks.displayReady = [] { return true; };
  tick.hooks.readRadio = [&] { s.FunctionValue = cursor.Controls(); };
  tick.hooks.soundUpdate = [&](bool started) {
    summary.crashStarted = summary.crashStarted || started;
  };

  summary.Observe(0.0);
  summary.Start();
  std::size_t eventIndex = 0;
  double previous = 0.0;
  while (!cursor.AtEnd()) {
    bool launched = false;
    for (;
         eventIndex < rec.events.size() && rec.events[eventIndex].beforeFrame <= cursor.Position();
         ++eventIndex) {
      const record::CommandCode c = rec.events[eventIndex].code;
      launched =
          launched || (rec.events[eventIndex].kind == record::Tag::Command &&
                       (c == record::CommandCode::Init || c == record::CommandCode::InitFollow ||
                        c == record::CommandCode::Restart || c == record::CommandCode::Handstart));
    }
    summary.BeforeTick(launched);
    cursor.Step();
    const double t = static_cast<double>(cursor.TimeMs()) / 1000.0;
    summary.AfterTick(t, t - previous);
    previous = t;
  }
  const auto frames = static_cast<std::int64_t>(rec.frames.size());
  const double duration = static_cast<double>(rec.DurationMs()) / 1000.0;
  nlohmann::json j = summary.Finish(frames, frames ? duration / static_cast<double>(frames) : 0.0,
                                    duration, substeps);
  j["reproduced"] = !cursor.FirstDifference().has_value();
  j["first_difference"] =
      cursor.FirstDifference()
          ? nlohmann::json(static_cast<double>(*cursor.FirstDifference()) / 1000.0)
          : nlohmann::json(nullptr);
  j["snapshots"] = rec.checks.size();
  j["complete"] = rec.complete;
  return j;
}

}  // namespace veltrane::tool
