#pragma once

#include <set>
#include <string>
#include <vector>

#include "app/platform_services.h"

namespace veltrane {

// Platform services that record what the main window asked and answer as set.
class FakeServices : public PlatformServices {
 public:
  bool IsKeyDown(int vk) const override { return held.count(vk) != 0; }
  bool GetScreenSaverActive(bool& active, std::string& error) override {
    if (failScreenSaver) {
      error = "Zugriff verweigert";
      return false;
    }
    active = screenSaver;
    return true;
  }
  bool SetScreenSaverActive(bool active, bool notify, std::string& error) override {
    if (failScreenSaver) {
      error = "Zugriff verweigert";
      return false;
    }
    screenSaver = active;
    screenSaverCalls.push_back({active, notify});
    return true;
  }
  MessageBoxChoice ShowErrorOkIgnore(const std::string&, const std::string& text) override {
    boxes.push_back(text);
    return answer;
  }
  std::vector<DisplayDriver> Drivers() const override { return drivers; }
  bool GetWindowPlacement(WindowPlacement& p) const override {
    p = placement;
    return true;
  }
  void SetWindowPlacement(const WindowPlacement& p) override { placement = p; }
  void SetCursor(CursorKind c) override { cursor = c; }
  void SetWindowCaption(const std::string& c) override { caption = c; }

  struct SaverCall {
    bool active;
    bool notify;
  };
  std::set<int> held;
  bool screenSaver = true;
  bool failScreenSaver = false;
  std::vector<SaverCall> screenSaverCalls;
  MessageBoxChoice answer = MessageBoxChoice::Ok;
  std::vector<std::string> boxes;
  std::vector<DisplayDriver> drivers{{"Primary", "Display 0"}, {"Second", "Display 1"}};
  WindowPlacement placement;
  CursorKind cursor = CursorKind::Arrow;
  std::string caption;
};

}  // namespace veltrane
