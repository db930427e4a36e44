#pragma once

#include <string>
#include <vector>

#include "radio/key_state.h"

namespace veltrane {

enum class CursorKind { Arrow, Hourglass, Hidden };

enum class MessageBoxChoice { Ok, Ignore };

// One entry of the display/driver list (the index is what "iDXDrawDriver" stores).
struct DisplayDriver {
  std::string description;
  std::string name;
};

// Position and size of the main window in window mode.
struct WindowPlacement {
  int x = 0;
  int y = 0;
  int width = 640;
  int height = 479;
};

// What the main window's logic asks of the windowing platform. The SDL program
// implements it; tests use fakes. Key codes are Windows virtual-key numbers.
class PlatformServices : public KeyState {
 public:
  ~PlatformServices() override = default;

  bool IsKeyDown(int vk) const override = 0;

  // Screen saver. On failure return false and put the system's error text in error.
  virtual bool GetScreenSaverActive(bool& active, std::string& error) = 0;
  // notify: announce the change to the desktop (the close-time restore does).
  virtual bool SetScreenSaverActive(bool active, bool notify, std::string& error) = 0;

  // Modal error box with the buttons OK and Ignore.
  virtual MessageBoxChoice ShowErrorOkIgnore(const std::string& title, const std::string& text) = 0;

  virtual std::vector<DisplayDriver> Drivers() const = 0;
  // Puts the main window (and its full screen) on the display of that entry
  // of Drivers(); an index beyond the list means the first.
  virtual void UseDisplay(int /*driverIndex*/) {}

  // Window placement of the main window (false when it cannot be asked).
  virtual bool GetWindowPlacement(WindowPlacement& placement) const = 0;
  virtual void SetWindowPlacement(const WindowPlacement& placement) = 0;

  virtual void SetCursor(CursorKind cursor) = 0;
  virtual void SetWindowCaption(const std::string& caption) = 0;
};

// Answers everything with "nothing there": no keys held, screen saver off, one
// driver, Ignore on every message box. Headless tools start from it.
class NullPlatformServices : public PlatformServices {
 public:
  bool IsKeyDown(int) const override { return false; }
  bool GetScreenSaverActive(bool& active, std::string&) override {
    active = screenSaver_;
    return true;
  }
  bool SetScreenSaverActive(bool active, bool, std::string&) override {
    screenSaver_ = active;
    return true;
  }
  MessageBoxChoice ShowErrorOkIgnore(const std::string&, const std::string&) override {
    return MessageBoxChoice::Ignore;
  }
  std::vector<DisplayDriver> Drivers() const override { return {{"Primary display", "display0"}}; }
  bool GetWindowPlacement(WindowPlacement& placement) const override {
    placement = placement_;
    return true;
  }
  void SetWindowPlacement(const WindowPlacement& placement) override { placement_ = placement; }
  void SetCursor(CursorKind) override {}
  void SetWindowCaption(const std::string&) override {}

 private:
  bool screenSaver_ = false;
  WindowPlacement placement_;
};

}  // namespace veltrane
