#pragma once

#include <string>
#include <vector>

namespace veltrane::ui {

// One visible widget: its English identifier, its caption in the current
// language and its rectangle in window coordinates.
struct UiMapEntry {
  std::string id;
  std::string label;
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool operator==(const UiMapEntry&) const = default;
};

// What the interface shows, for tests that click by name rather than by
// pixel: the widgets of each frame are collected, and the file is replaced
// whenever a frame shows something else than the last one written.
class UiMap {
 public:
  // An empty path switches the map off.
  explicit UiMap(std::string path) : path_(std::move(path)) {}
  bool On() const { return !path_.empty(); }
  void Add(UiMapEntry e);
  // The frame ends: writes its widgets if they changed. False when the file cannot be written.
  bool EndFrame();
  // {"id": ..., "label": ..., "x": ..., "y": ..., "w": ..., "h": ...}
  static std::string JsonLine(const UiMapEntry& e);

 private:
  std::string path_;
  std::vector<UiMapEntry> frame_;
  std::vector<UiMapEntry> written_;
  bool wroteOnce_ = false;
};

}  // namespace veltrane::ui
