#include "platform/window/message_box.h"

#include <SDL.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace veltrane::window {
namespace {

constexpr const char* kChildArgument = "--message-box-process";
// Exit status of the box process: kPressed + index of the button.
constexpr int kPressed = 10;

volatile sig_atomic_t terminationRequested = 0;

void OnTerminate(int) { terminationRequested = 1; }

// In the box process: the box itself may run in a further process (the
// toolkit forks one); ending the whole group takes it along.
void EndGroup(int) { ::kill(0, SIGKILL); }

void CatchTermination() {
  struct sigaction sa {};
  sa.sa_handler = OnTerminate;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
}

// Before every other static initialiser too: the libraries' take a while.
[[gnu::constructor(101)]] void CatchTerminationEarly() { CatchTermination(); }

}  // namespace

void InstallTerminationHandlers() {
  CatchTermination();
  // SDL would otherwise turn the signals into a quit event only while events are polled.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
}

bool TerminationRequested() { return terminationRequested != 0; }

std::optional<int> ShowMessageBox(const std::string& title, const std::string& text,
                                  const std::vector<std::string>& buttons) {
  std::vector<std::string> args = {"veltrane", kChildArgument, title, text};
  args.insert(args.end(), buttons.begin(), buttons.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) {
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) ::_exit(1);  // the parent ended before the line above
    ::execv("/proc/self/exe", argv.data());
    ::_exit(1);
  }
  ::setpgid(pid, pid);  // also here, so the group exists whoever runs first
  int status = 0;
  for (;;) {
    const pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid) break;
    if (r < 0 && errno != EINTR) return std::nullopt;
    if (TerminationRequested()) {
      ::kill(-pid, SIGKILL);
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
      return std::nullopt;
    }
    ::usleep(20'000);
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) < kPressed) return std::nullopt;
  return WEXITSTATUS(status) - kPressed;
}

std::optional<int> RunAsMessageBox(int argc, char** argv) {
  if (argc < 4 || std::strcmp(argv[1], kChildArgument) != 0) return std::nullopt;
  struct sigaction sa {};
  sa.sa_handler = EndGroup;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  std::vector<SDL_MessageBoxButtonData> buttons;
  for (int i = 4; i < argc && i - 4 < kPressed * 10; ++i) {
    const int index = i - 4;
    const Uint32 flags = index == 0 ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT |
                                          SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT
                                    : 0;
    buttons.push_back({flags, index, argv[i]});
  }
  if (buttons.empty())
    buttons.push_back(
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0,
         "OK"});
  SDL_MessageBoxData data{};
  data.flags = SDL_MESSAGEBOX_ERROR;
  data.title = argv[2];
  data.message = argv[3];
  data.numbuttons = static_cast<int>(buttons.size());
  data.buttons = buttons.data();
  int pressed = -1;
  if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed < 0) return 1;
  return kPressed + pressed;
}

}  // namespace veltrane::window
