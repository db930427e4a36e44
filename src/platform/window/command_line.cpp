#include "platform/window/command_line.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace veltrane::window {
namespace {

bool ParseInt(const std::string& s, int& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(s.c_str(), &end, 10);
  if (errno || *end || v < 0 || v > 1000000) return false;
  out = static_cast<int>(v);
  return true;
}

bool ParseSeconds(const std::string& s, double& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  double v = std::strtod(s.c_str(), &end);
  if (errno || *end || !std::isfinite(v) || v <= 0 || v > 10) return false;
  out = v;
  return true;
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error) {
  CommandLine c;
  bool framesGiven = false, frameTimeGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    std::string value;
    bool inlineValue = false;
    if (a.rfind("--", 0) == 0) {
      auto eq = a.find('=');
      if (eq != std::string::npos) {
        value = a.substr(eq + 1);
        a = a.substr(0, eq);
        inlineValue = true;
      }
    }
    auto takeValue = [&](std::string& into) {
      if (inlineValue) {
        into = value;
      } else if (i + 1 < args.size()) {
        into = args[++i];
      } else {
        error = a + " needs a value";
        return false;
      }
      if (into.empty()) {
        error = a + " needs a value";
        return false;
      }
      return true;
    };
    if (a == "--help" || a == "-h") {
      c.help = true;
    } else if (a == "--version") {
      c.version = true;
    } else if (a == "--config-dir") {
      if (!takeValue(c.configDir)) return std::nullopt;
    } else if (a == "--data-dir") {
      if (!takeValue(c.dataDir)) return std::nullopt;
    } else if (a == "--trace") {
      if (!takeValue(c.traceFile)) return std::nullopt;
    } else if (a == "--model") {
      if (!takeValue(c.model)) return std::nullopt;
    } else if (a == "--landscape") {
      if (!takeValue(c.landscape)) return std::nullopt;
    } else if (a == "--replay") {
      if (!takeValue(c.replay)) return std::nullopt;
    } else if (a == "--screenshot") {
      if (!takeValue(c.screenshot)) return std::nullopt;
    } else if (a == "--preview") {
      if (!takeValue(c.preview)) return std::nullopt;
    } else if (a == "--test-joystick") {
      if (!takeValue(c.testJoystick)) return std::nullopt;
    } else if (a == "--frames") {
      std::string v;
      if (!takeValue(v)) return std::nullopt;
      if (!ParseInt(v, c.frames) || c.frames < 1) {
        error = "--frames needs a whole number of at least 1, not \"" + v + "\"";
        return std::nullopt;
      }
      framesGiven = true;
    } else if (a == "--frame-time") {
      std::string v;
      if (!takeValue(v)) return std::nullopt;
      if (!ParseSeconds(v, c.frameTime)) {
        error = "--frame-time needs seconds above 0 and up to 10, not \"" + v + "\"";
        return std::nullopt;
      }
      frameTimeGiven = true;
    } else {
      error = "unknown option \"" + args[i] + "\"";
      return std::nullopt;
    }
  }
  if ((framesGiven || frameTimeGiven) && !c.Unattended() && !c.help && !c.version) {
    error = "--frames and --frame-time belong to --screenshot or --preview";
    return std::nullopt;
  }
  if (!c.screenshot.empty() && !c.preview.empty()) {
    error = "--screenshot and --preview write one picture each; give one of them";
    return std::nullopt;
  }
  return c;
}

std::string UsageText(const std::string& program) {
  return "Usage: " + program +
         " [options]\n"
         "Flies radio-controlled model aircraft in a landscape.\n"
         "\n"
         "  --help                 show this text and exit\n"
         "  --version              show the version and exit\n"
         "  --config-dir DIR       folder of settings.ini (default $XDG_CONFIG_HOME/veltrane)\n"
         "  --data-dir DIR         folder of Model/ and Landscape/ (default $VELTRANE_DATA_DIR,\n"
         "                         else beside the program, else the installed share/veltrane)\n"
         "  --trace FILE           write trace lines to FILE ('-' for stderr)\n"
         "  --model FILE           fly this model (.par or .mdl)\n"
         "  --landscape FILE       use this landscape (.scn)\n"
         "  --replay FILE          replay this recorded flight (its model and landscape)\n"
         "  --screenshot FILE      render --frames N frames, write FILE as PNG and exit\n"
         "  --preview FILE         like --screenshot, but write the open dialog's JPEG preview:\n"
         "                         the --model alone, else the landscape from the pilot\n"
         "  --frames N             frames to render for --screenshot or --preview (default 1)\n"
         "  --frame-time S         seconds per frame for --screenshot or --preview (default 1/60)\n"
         "  --test-joystick FILE   (tests) attach a virtual six-axis joystick whose positions\n"
         "                         follow FILE: six integers, or \"unplugged\"\n";
}

}  // namespace veltrane::window
