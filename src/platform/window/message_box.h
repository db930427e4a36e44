#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltrane::window {

// SIGTERM and SIGINT set a flag that the frame loop and the message boxes
// poll, so either ends the program cleanly at any moment. Installed first
// thing in main, before anything else can take time.
void InstallTerminationHandlers();
bool TerminationRequested();

// A modal message box in a process of its own (this program started again
// with a private argument), so that the caller keeps watching for a signal
// while it is open: a signal closes it, and so does the caller's death.
// Buttons from left to right; the first is the default for Enter and Esc.
// Returns the index of the pressed button, or nullopt when the box could not
// be shown or a signal closed it.
std::optional<int> ShowMessageBox(const std::string& title, const std::string& text,
                                  const std::vector<std::string>& buttons);

// The message-box process itself: when argv asks for it, shows the box and
// returns the exit status; otherwise nullopt and the program goes on.
std::optional<int> RunAsMessageBox(int argc, char** argv);

}  // namespace veltrane::window
