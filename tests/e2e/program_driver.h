#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/pictures/picture.h"

namespace veltrane::test {

// The windowed program started as a user starts it, driven through the X
// server with xdotool: mouse clicks, keys, and reads of what the window shows.
class ProgramDriver {
 public:
  ProgramDriver(std::string program, std::filesystem::path dir,
                std::vector<std::string> extraArgs = {});
  ~ProgramDriver();  // kills the program if it still runs

  // The user's locale the program starts under (a German user unless set).
  void SetLocale(std::string locale) { locale_ = std::move(locale); }
  // Starts the program and waits for its window and, unless told otherwise, its
  // focus; false on time-out, with the step that timed out on stderr. A program
  // that opens with a message box is started without taking the focus: the
  // window manager hands it to the box, and asking for it back would never end.
  enum class Focus { Take, Leave };
  bool Start(Focus focus = Focus::Take);
  unsigned long Window() const { return window_; }

  // Coordinates are in window pixels.
  bool Click(int x, int y);
  bool MoveMouse(int x, int y);
  bool Key(const std::string& keys);
  bool KeyDown(const std::string& key);
  bool KeyUp(const std::string& key);
  pictures::Picture Grab() const;
  bool WindowSize(int* w, int* h) const;

  // Lines of the trace file equal to `line` (without the "\r\n").
  int TraceCount(const std::string& line) const;
  int TraceCountStartingWith(const std::string& prefix) const;
  std::string Settings() const;
  std::string TraceText() const;

  bool Running();
  // SIGTERM, as a desktop session sends it at logout.
  bool Terminate();
  // Waits for the program to end; its exit status, -1 on time-out.
  int WaitExit(std::chrono::milliseconds timeout);

  std::filesystem::path ConfigDir() const { return dir_ / "config"; }
  pid_t Pid() const { return pid_; }

 private:
  bool Xdo(const std::string& args) const;

  std::string program_;
  std::filesystem::path dir_;
  std::vector<std::string> extraArgs_;
  std::string locale_ = "de_DE.UTF-8";
  pid_t pid_ = -1;
  unsigned long window_ = 0;
};

// Polls `done` every 50 ms until it holds or `timeout` has passed.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

}  // namespace veltrane::test
