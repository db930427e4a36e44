#include "tools/veltrane_tool/command_line.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>
#include <optional>

#include "base/trace/trace.h"
#include "tools/veltrane_tool/fly.h"
#include "tools/veltrane_tool/inspect.h"
#include "tools/veltrane_tool/probe.h"
#ifdef VELTRANE_TOOL_RADIO
#include "tools/veltrane_tool/radio.h"
#endif
#include "tools/veltrane_tool/script.h"
#include "tools/veltrane_tool/task.h"
#include "tools/veltrane_tool/tool_error.h"

namespace veltrane::tool {

const char* const kUsage =
    R"(usage:
  veltrane-tool fly --model FILE [--landscape FILE] --script FILE
                    [--frame SECONDS] [--duration SECONDS] [--clearance METRES]
                    [--wind SPEED[,FROM_DEGREES]] [--gusts PERCENT]
                    [--turbulence PERCENT] [--seed N]
                    [--csv FILE] [--record FILE] [--trace FILE]
  veltrane-tool task f3f|duration|limbo --model FILE [--landscape FILE] --script FILE
                    [--wind SPEED[,FROM_DEGREES]] [--working-time MINUTES]
                    [--frame S] [--duration S] [--csv FILE] [fly's other options]
  veltrane-tool replay FILE [--csv FILE] [--trace FILE]
  veltrane-tool inspect FILE
  veltrane-tool probe --landscape FILE [--wind SPEED[,FROM_DEGREES]] X Y [Z]
  veltrane-tool radio --interface none|joystick|pic [--port NAME] [--protocol 0|1]
                      [--config-dir DIR] [--frames N] [--frame-time S] [--trace FILE]
  veltrane-tool radio --list
  veltrane-tool --help

fly      Flies a model headless with the program's own tick and flight models and
         prints a JSON summary (crashed, crash_time, crashes, max_height_agl,
         final_position, final_velocity, airborne_time, winch_release_time,
         frames, substeps, ...).
  --model FILE       flight model: .par, .mdl, .geo or .x; the geometry files
                     beside it are loaded as the program does (they set
                     GroundClearance), a .par alone gives parameters only.
  --landscape FILE   .scn scene; without it the ground is flat at height 0 and
                     pilot and start stand at (0, 0).
  --script FILE      time-stamped commands, see below.
  --frame SECONDS    fixed frame time of each tick, 0.001 to 0.1 (default 0.02).
  --duration SECONDS how long to fly (default 10).
  --clearance METRES GroundClearance (0 to 100) instead of the one the geometry gives
                     (a .par without geometry beside it has none: 0).
  --wind SPEED[,FROM_DEGREES]  wind of SPEED m/s (0 to 20) 10 m above the terrain,
                     blowing from FROM_DEGREES (0 = from +y, 90 = from +x;
                     default 0); near the ground it weakens, over slopes it rises
                     and sinks. Without it the landscape's usual wind (its WIND
                     item) blows, and without that the air is still.
  --gusts PERCENT    slow changes of the wind's speed and direction, 0 to 100.
  --turbulence PERCENT  Dryden turbulence, 0 to 100 (100: the vertical gusts'
                     standard deviation is a tenth of the wind 6 m up).
  --seed N           seed of the gusts and the turbulence (default 1): the same
                     seed gives the same air.
  --csv FILE         telemetry: a row at t = 0 after SimInit and after every tick;
                     wind_x, wind_y, wind_z are the air's velocity at the model.
  --record FILE      records the flight in the program's format (the controls
                     are rounded to single precision, as the program does).
  --trace FILE       every trace line the program writes ("-" for stderr).

  SimInit runs at t = 0, ticks at t = frame, 2 frame, ...; a command at time T
  takes effect just before the first tick at a time >= T.

  Script: one command a line, "TIME COMMAND [ARGS]", "#" starts a comment.
    TIME set FUNCTION VALUE   hold a transmitter value from now on; FUNCTION is
                              0..7 or rudder, elevator, aileron, throttle, tail,
                              nick, roll, pitch
    TIME init | restart | handstart | winch
    TIME pause on|off | autoinit on|off | indestructible on|off
    TIME pilot KEY            pilot-position key 2, 3, 4, 6, 8 or 9
    TIME thermals COUNT STRENGTH   COUNT 0..160 thermals of up to STRENGTH m/s,
                              scattered around the model
    TIME thermal X Y STRENGTH [RADIUS]   exactly one thermal, centred at the
                              world position (X, Y): STRENGTH m/s at its centre,
                              half of that RADIUS metres out (default 60)
    TIME wind SPEED FROM_DEGREES   the wind from now on (as --wind)
    TIME gusts PERCENT | turbulence PERCENT
  The summary's "wind" gives the settings in force at the end.
  A bad line is reported with its number and the tool exits with status 1.

task     Flies a task as fly does, with the program's own rules of the task
         watching every tick, and prints one JSON object: "task", "state"
         ("running", "finished" or "ended": stopped without a score), "score",
         "events", "course", "details" and "wind". The flight stops once the run
         is over, else after --duration.
  f3f       slope race: bases A and B 100 m apart across the wind through the
            pilot (A on the left facing into the wind, +y in still air); 30 s
            after the launch to enter over A from outside (else the clock starts
            then); ten legs, each ended by crossing the far base outward. The
            score is the time; a crash ends the run without one.
  duration  flight time from the launch to the first touchdown scores a point
            a second up to the working time (--working-time MINUTES, 3 to 15,
            default 10) and loses one a second beyond it; the landing at rest
            100 points within 1 m of the start point, 5 less for every metre or
            part of one beyond, 0 beyond 15 m or after a crash.
  limbo     two poles 10 m apart with a tape from 6 m, across +y 60 m in front
            of the pilot, part of the collision world; each clean pass under the
            tape between the poles lowers it 0.5 m once the model is 5 m clear.
            A touch, a crash or a pass at 0.5 m ends the run; the score is the
            number of passes.
  A launch is a "handstart" or "winch" command, or the first tick off the
  ground; "init" or "restart" after it ends the run. Events: {"t": seconds,
  "event": NAME} with NAME launch, start, base_a, base_b, leg ("n", "time":
  the leg's seconds), finish ("time"), pass ("height"), touch, landing
  ("distance": metres from the model to the spot, "points"), crash.
  Crossings are timed between ticks along the straight path.
replay   Flies a recorded flight again on its model, landscape and wind (all
         taken from the recording), prints fly's
         summary with "reproduced", "first_difference" (flight time in s of the
         first snapshot that differs), "snapshots" and "complete" (false: the file
         was cut off; it is replayed to its last whole frame). A flight that does
         not reproduce (another model file, another program version) ends with
         status 3 and the time of the first difference on stderr.
inspect  Prints as JSON what the loader made of a .par, .mdl, .geo, .x or .scn
         file: parameters by name (a .geo or .x takes them from the .par beside
         it); for geometry also GroundClearance, the collected "build" (.x: null)
         and the assembled "mesh"; for scenes "scene", "terrain", "sky" and
         "wind" ({"speed", "from"} as the scene names it, or null).
radio    Opens a transmitter interface as the program does, with the calibration
         and assignment of settings.ini in --config-dir (default the user's), and
         prints one JSON object a frame: {"t", "count", "channels" (raw values),
         "functions" (the eight function values after the mapping and the clamp)}.
         --frames N frames (default 1), --frame-time S apart (default 0.02).
         pic: --port overrides the stored port, --protocol the stored protocol; a
         port that cannot be opened still gives frames, with a trace line on stderr
         (or in --trace FILE). --list prints the serial ports and joysticks seen.
probe    Prints {"ground_height_at": H} of a landscape at (X, Y), and with Z also
         "ground_height_below" from the point (X, Y, Z). With --wind also
         "wind": [x, y, z], the steady air velocity in m/s (no gusts, no
         turbulence) at (X, Y, Z), or 10 m above the terrain without Z.
)";

namespace {

// Metres from the model's origin down to its lowest point; no model is taller.
constexpr double kMaxClearance = 100.0;

std::string Number2Text(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

double Number(const std::string& option, const std::string& text) {
  double v = 0.0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, v);
  if (ec != std::errc() || ptr != end || !std::isfinite(v))
    throw ToolError(option + ": not a number: \"" +
                    (text.size() <= 80 ? text : text.substr(0, 77) + "...") + "\"");
  return v;
}

// A number that must lie in [lo, hi] to mean anything.
double NumberIn(const std::string& option, const std::string& text, double lo, double hi) {
  const double v = Number(option, text);
  if (v < lo || v > hi)
    throw ToolError(option + ": " + text.substr(0, 80) + " is outside " + Number2Text(lo) + " to " +
                    Number2Text(hi));
  return v;
}

// "SPEED" or "SPEED,FROM_DEGREES".
void WindOption(const std::string& option, const std::string& text, WindSettings& wind) {
  const std::size_t comma = text.find(',');
  wind.speed = NumberIn(option, text.substr(0, comma), 0.0, WindSettings::kMaxSpeed);
  wind.fromDegrees = 0.0;
  if (comma != std::string::npos) {
    wind.fromDegrees = NumberIn(option, text.substr(comma + 1), 0.0, 360.0);
    if (wind.fromDegrees == 360.0) wind.fromDegrees = 0.0;
  }
}

int Percent(const std::string& option, const std::string& text) {
  const double v = NumberIn(option, text, 0.0, 100.0);
  if (v != std::floor(v))
    throw ToolError(option + ": a whole percentage, got " + text.substr(0, 80));
  return static_cast<int>(v);
}

struct Args {
  const std::vector<std::string>& a;
  std::size_t i = 1;
  bool More() const { return i < a.size(); }
  const std::string& Next() { return a[i++]; }
  const std::string& Value(const std::string& option) {
    if (!More()) throw ToolError(option + " needs a value");
    return Next();
  }
};

// A task flies with fly's options and its own.
int Fly(Args& args, std::ostream& out, TaskOptions* task = nullptr) {
  FlyOptions o;
  std::string script_file, csv_file, trace_file;
  while (args.More()) {
    const std::string opt = args.Next();
    if (opt == "--model")
      o.model = args.Value(opt);
    else if (opt == "--landscape")
      o.landscape = args.Value(opt);
    else if (opt == "--script")
      script_file = args.Value(opt);
    else if (opt == "--frame")
      o.frame = Number(opt, args.Value(opt));
    else if (opt == "--duration")
      o.duration = Number(opt, args.Value(opt));
    else if (opt == "--clearance")
      o.clearance = NumberIn(opt, args.Value(opt), 0.0, kMaxClearance);
    else if (opt == "--wind") {
      WindOption(opt, args.Value(opt), o.wind);
      o.windGiven = true;
    } else if (opt == "--gusts")
      o.wind.gusts = Percent(opt, args.Value(opt));
    else if (opt == "--turbulence")
      o.wind.turbulence = Percent(opt, args.Value(opt));
    else if (opt == "--seed")
      o.wind.turbulenceSeed =
          static_cast<std::uint32_t>(NumberIn(opt, args.Value(opt), 0.0, 4294967295.0));
    else if (opt == "--csv")
      csv_file = args.Value(opt);
    else if (opt == "--record")
      o.record = args.Value(opt);
    else if (opt == "--trace")
      trace_file = args.Value(opt);
    else if (task && opt == "--working-time")
      task->workingTime = NumberIn(opt, args.Value(opt), 3.0, 15.0) * 60.0;
    else
      throw ToolError("fly: unknown option \"" + opt + "\"");
  }
  if (o.model.empty()) throw ToolError("fly needs --model FILE");
  if (script_file.empty()) throw ToolError("fly needs --script FILE");
  RequireFile(o.model, "model file");
  RequireFile(script_file, "script file");
  std::ifstream script_in(script_file);
  if (!script_in) throw ToolError("cannot read script file: " + script_file);
  std::vector<ScriptCommand> script;
  try {
    script = ParseScript(script_in);
  } catch (const ScriptError& e) {
    throw ToolError(script_file + ": " + e.what());
  }
  std::ofstream csv;
  if (!csv_file.empty()) {
    csv.open(csv_file, std::ios::trunc);
    if (!csv) throw ToolError("cannot write CSV file: " + csv_file);
  }
  Trace trace;
  if (!trace_file.empty()) {
    try {
      trace = Trace::ToFile(trace_file);
    } catch (const std::exception& e) {
      throw ToolError("cannot write trace file " + trace_file + ": " + e.what());
    }
  }
  std::ostream* csv_out = csv_file.empty() ? nullptr : &csv;
  nlohmann::json summary;
  if (task) {
    task->fly = o;
    summary = FlyTask(*task, script, csv_out, trace);
  } else {
    summary = tool::Fly(o, script, csv_out, trace);
  }
  if (csv) {
    csv.flush();
    if (!csv) throw ToolError("writing the CSV file failed: " + csv_file);
  }
  out << summary.dump(2) << '\n';
  return 0;
}

int TaskCommand(Args& args, std::ostream& out) {
  const std::string name = args.Value("task");
  const std::optional<tasks::TaskKind> kind = tasks::KindFromName(name);
  if (!kind)
    throw ToolError("task: unknown task \"" + name.substr(0, 80) + "\" (f3f, duration or limbo)");
  TaskOptions task;
  task.kind = *kind;
  return Fly(args, out, &task);
}

int ReplayCommand(Args& args, std::ostream& out, std::ostream& err) {
  std::string file, csv_file, trace_file;
  while (args.More()) {
    const std::string opt = args.Next();
    if (opt == "--csv")
      csv_file = args.Value(opt);
    else if (opt == "--trace")
      trace_file = args.Value(opt);
    else if (file.empty() && (opt.empty() || opt[0] != '-'))
      file = opt;
    else
      throw ToolError("replay: unknown option \"" + opt + "\"");
  }
  if (file.empty()) throw ToolError("replay needs a FILE");
  RequireFile(file, "recorded flight");
  std::ofstream csv;
  if (!csv_file.empty()) {
    csv.open(csv_file, std::ios::trunc);
    if (!csv) throw ToolError("cannot write CSV file: " + csv_file);
  }
  Trace trace;
  if (!trace_file.empty()) trace = Trace::ToFile(trace_file);
  const nlohmann::json summary = tool::Replay(file, csv_file.empty() ? nullptr : &csv, trace);
  out << summary.dump(2) << '\n';
  if (!summary["complete"].get<bool>())
    err << "veltrane-tool: " << file << " was cut off; replayed up to its last whole frame\n";
  if (!summary["reproduced"].get<bool>()) {
    err << "veltrane-tool: " << file << " does not reproduce: the first difference is at "
        << Number2Text(summary["first_difference"].get<double>()) << " s\n";
    return 3;
  }
  return 0;
}

int InspectCommand(Args& args, std::ostream& out) {
  if (!args.More()) throw ToolError("inspect needs a FILE");
  const std::string file = args.Next();
  if (args.More()) throw ToolError("inspect takes one FILE");
  out << Inspect(file).dump(2) << '\n';
  return 0;
}

int ProbeCommand(Args& args, std::ostream& out) {
  std::string landscape;
  std::vector<double> coords;
  std::optional<WindSettings> wind;
  while (args.More()) {
    const std::string a = args.Next();
    if (a == "--landscape")
      landscape = args.Value(a);
    else if (a == "--wind")
      WindOption(a, args.Value(a), wind.emplace());
    else
      coords.push_back(Number("probe", a));
  }
  if (landscape.empty()) throw ToolError("probe needs --landscape FILE");
  if (coords.size() < 2 || coords.size() > 3) throw ToolError("probe needs X Y [Z]");
  std::optional<double> z;
  if (coords.size() == 3) z = coords[2];
  out << Probe(landscape, coords[0], coords[1], z, wind).dump(2) << '\n';
  return 0;
}

}  // namespace

int RunTool(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  Args args{argv};
  if (!args.More()) {
    err << kUsage;
    return 2;
  }
  const std::string cmd = args.Next();
  try {
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
      out << kUsage;
      return 0;
    }
    if (cmd == "fly") return Fly(args, out);
    if (cmd == "task") return TaskCommand(args, out);
    if (cmd == "inspect") return InspectCommand(args, out);
    if (cmd == "replay") return ReplayCommand(args, out, err);
    if (cmd == "probe") return ProbeCommand(args, out);
#ifdef VELTRANE_TOOL_RADIO
    if (cmd == "radio")
      return RadioCommand(std::vector<std::string>(argv.begin() + 2, argv.end()), out, err);
#endif
    err << "veltrane-tool: unknown command \"" << cmd << "\"\n" << kUsage;
    return 2;
  } catch (const std::exception& e) {
    // ToolError, ScriptError and the loaders' LoadError all carry the message the user needs.
    err << "veltrane-tool: " << e.what() << '\n';
    return 1;
  }
}

}  // namespace veltrane::tool
