#include "program_driver.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "x_screen.h"

namespace veltrane::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

namespace {
std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
}  // namespace

ProgramDriver::ProgramDriver(std::string program, fs::path dir, std::vector<std::string> extraArgs)
    : program_(std::move(program)), dir_(std::move(dir)), extraArgs_(std::move(extraArgs)) {
  fs::create_directories(ConfigDir());
}

ProgramDriver::~ProgramDriver() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

bool ProgramDriver::Start(Focus focus) {
  const auto failed = [](const char* step) {
    std::fprintf(stderr, "ProgramDriver::Start: %s\n", step);
    return false;
  };
  const std::string cfg = ConfigDir().string(), trace = (dir_ / "trace.txt").string();
  pid_ = ::fork();
  if (pid_ < 0) return false;
  if (pid_ == 0) {
    // The language follows the locale; LC_ALL wins over whatever the caller has.
    ::setenv("LC_ALL", locale_.c_str(), 1);
    std::vector<std::string> args = {program_, "--config-dir", cfg, "--trace", trace};
    args.insert(args.end(), extraArgs_.begin(), extraArgs_.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(program_.c_str(), argv.data());
    ::_exit(127);
  }
  // The window exists before the scene is built: wait for the first flight too.
  if (!WaitUntil([&] { return TraceCount("Simulate.InitFlight") > 0; }, 30s))
    return failed("no first flight within 30 s");
  const std::string idFile = (dir_ / "window.txt").string();
  const std::string cmd = "timeout 20 xdotool search --sync --onlyvisible --pid " +
                          std::to_string(pid_) + " --name Veltrane >\"" + idFile + "\" 2>/dev/null";
  if (std::system(cmd.c_str()) != 0) return failed("no visible window within 20 s");
  window_ = std::strtoul(ReadFile(idFile).c_str(), nullptr, 10);
  if (window_ == 0) return failed("no window id");
  // Without a window manager nobody hands out focus: take it, and let the
  // frame loop see the focus event.
  if (focus == Focus::Take && !Xdo("windowfocus --sync " + std::to_string(window_)))
    return failed("the window did not take the focus within 20 s");
  if (!WaitUntil([&] { return Grab().width > 0; }, 30s))
    return failed("no picture of the window within 30 s");
  return true;
}

bool ProgramDriver::Xdo(const std::string& args) const {
  return std::system(("timeout 20 xdotool " + args + " >/dev/null 2>&1").c_str()) == 0;
}

bool ProgramDriver::MoveMouse(int x, int y) {
  // Two steps, each in a frame of its own, so the program sees a motion.
  const std::string w = std::to_string(window_);
  if (!Xdo("mousemove --window " + w + " " + std::to_string(x - 3) + " " + std::to_string(y)))
    return false;
  std::this_thread::sleep_for(150ms);
  return Xdo("mousemove --window " + w + " " + std::to_string(x) + " " + std::to_string(y));
}

bool ProgramDriver::Click(int x, int y) {
  const std::string w = std::to_string(window_);
  // Move, press and release in frames of their own, as a hand does: the menu
  // code sees the hover before the press, and a press and release that fall
  // into one slow software-rendered frame can get lost.
  if (!Xdo("mousemove --window " + w + " " + std::to_string(x) + " " + std::to_string(y)))
    return false;
  std::this_thread::sleep_for(400ms);
  if (!Xdo("mousedown 1")) return false;
  std::this_thread::sleep_for(200ms);
  return Xdo("mouseup 1");
}

bool ProgramDriver::Key(const std::string& keys) { return Xdo("key --delay 120 " + keys); }
bool ProgramDriver::KeyDown(const std::string& key) { return Xdo("keydown " + key); }
bool ProgramDriver::KeyUp(const std::string& key) { return Xdo("keyup " + key); }

pictures::Picture ProgramDriver::Grab() const { return GrabWindow(window_); }

bool ProgramDriver::WindowSize(int* w, int* h) const {
  pictures::Picture p = Grab();
  *w = p.width;
  *h = p.height;
  return p.width > 0;
}

int ProgramDriver::TraceCount(const std::string& line) const {
  std::istringstream in(ReadFile(dir_ / "trace.txt"));
  int n = 0;
  for (std::string l; std::getline(in, l);)
    if (l == line + "\r") ++n;
  return n;
}

int ProgramDriver::TraceCountStartingWith(const std::string& prefix) const {
  std::istringstream in(ReadFile(dir_ / "trace.txt"));
  int n = 0;
  for (std::string l; std::getline(in, l);)
    if (l.rfind(prefix, 0) == 0) ++n;
  return n;
}

std::string ProgramDriver::TraceText() const { return ReadFile(dir_ / "trace.txt"); }

std::string ProgramDriver::Settings() const { return ReadFile(ConfigDir() / "settings.ini"); }

bool ProgramDriver::Running() {
  if (pid_ <= 0) return false;
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) == pid_) {
    pid_ = -1;
    return false;
  }
  return true;
}

bool ProgramDriver::Terminate() { return pid_ > 0 && ::kill(pid_, SIGTERM) == 0; }

int ProgramDriver::WaitExit(std::chrono::milliseconds timeout) {
  int status = 0;
  bool exited = WaitUntil([&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; }, timeout);
  if (!exited) return -1;
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace veltrane::test
