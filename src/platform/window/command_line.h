#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltrane::window {

struct CommandLine {
  bool help = false;
  bool version = false;
  std::string configDir;  // empty: the default settings folder
  std::string dataDir;    // empty: $VELTRANE_DATA_DIR, else beside the program, else installed
  std::string traceFile;  // empty: no trace; "-": stderr
  std::string model;
  std::string landscape;
  std::string replay;      // a recorded flight to replay at the start
  std::string screenshot;  // non-empty: render, write this PNG, exit
  // Non-empty: render the preview picture (the --model alone, else the
  // landscape from the pilot's place), write this JPEG, exit.
  std::string preview;
  // Tests of the whole program: a virtual joystick whose axes follow this file.
  std::string testJoystick;
  int frames = 1;
  double frameTime = 1.0 / 60.0;  // seconds per frame in screenshot mode

  bool Unattended() const { return !screenshot.empty() || !preview.empty(); }
};

// Parses argv[1..]. Options take their value as the next word or after '='.
// On a mistake returns nullopt with the reason in error.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error);

std::string UsageText(const std::string& program);

}  // namespace veltrane::window
