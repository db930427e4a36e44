#pragma once

// What the end-to-end tests share: the program started for each test, reads
// of what its window shows, and its widgets found by name in the interface map.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "base/pictures/png_codec.h"
#include "program_driver.h"
#include "support/temp_dir.h"

namespace veltrane::test {

namespace fs = std::filesystem;

inline int Brightness(const pictures::Picture& p, int x, int y) {
  const std::uint8_t* q = p.At(x, y);
  return q[0] + q[1] + q[2];
}

// Dark pixels (menu and dialog backgrounds) in a box: the sky and grass behind are light.
inline int DarkPixels(const pictures::Picture& p, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1 && y < p.height; ++y)
    for (int x = x0; x < x1 && x < p.width; ++x)
      if (Brightness(p, x, y) < 150) ++n;
  return n;
}

// Dialog pixels: ImGui's dark backgrounds and dark blue frames, neither grass
// (green leads, lighter) nor sky (bright).
inline int DialogPixels(const pictures::Picture& p, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1 && y < p.height; ++y)
    for (int x = x0; x < x1 && x < p.width; ++x) {
      const std::uint8_t* q = p.At(x, y);
      const int b = Brightness(p, x, y);
      if (b < 150 || (q[2] >= q[1] && b < 300)) ++n;
    }
  return n;
}

inline bool MenuBarShown(const pictures::Picture& p) {
  return p.width > 0 && Brightness(p, p.width - 5, 5) < 200;
}
// The menu bar over the flying scene, not over the black start screen.
inline bool SceneWithMenuShown(const pictures::Picture& p) {
  return MenuBarShown(p) && Brightness(p, p.width / 2, 60) > 300;
}

// Pixels that differ clearly between two pictures of the 3D view.
inline int ChangedPixels(const pictures::Picture& a, const pictures::Picture& b) {
  if (a.width != b.width || a.height != b.height) return a.width * a.height;
  int n = 0;
  for (int y = 30; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      if (std::abs(Brightness(a, x, y) - Brightness(b, x, y)) > 60) ++n;
  return n;
}

// A widget of the program's interface map, by its English identifier.
struct UiRect {
  int x = 0, y = 0, w = 0, h = 0;
  std::string label;  // the caption in the current language, JSON escapes kept
  int CenterX() const { return x + w / 2; }
  int CenterY() const { return y + h / 2; }
  // Where a check box's or radio button's box is: square, at the left.
  int BoxX() const { return x + h / 2; }
};

class WindowedProgramTest : public ::testing::Test {
 protected:
  // Runs before the program starts: environment, settings file.
  virtual void BeforeStart() {}
  // Command-line arguments beyond the configuration and trace.
  virtual std::vector<std::string> ExtraArgs() const { return {}; }

  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display";
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "needs xdotool";
    // The user's own models and landscapes go here, not into the real home.
    ::setenv("XDG_DATA_HOME", (dir_ / "share").c_str(), 1);
    // The program tells where its widgets are; the tests click them by name.
    ::setenv("VELTRANE_UI_MAP", UiMapPath().c_str(), 1);
    program_ = std::make_unique<ProgramDriver>(VELTRANE_PROGRAM, dir_, ExtraArgs());
    BeforeStart();
    ASSERT_TRUE(program_->Start()) << "no window with focus";
  }
  void TearDown() override { program_.reset(); }

  // A picture for the README when VELTRANE_E2E_SHOTS names a folder.
  void Keep(const pictures::Picture& p, const std::string& name) {
    if (const char* d = std::getenv("VELTRANE_E2E_SHOTS"))
      pictures::WritePng((fs::path(d) / name).string(), p);
  }
  // Until the window's picture satisfies `ok`; the last picture in `out`.
  bool ShowsSoon(const std::function<bool(const pictures::Picture&)>& ok,
                 pictures::Picture* out = nullptr) {
    pictures::Picture last;
    bool r = WaitUntil(
        [&] {
          last = program_->Grab();
          return last.width > 0 && ok(last);
        },
        std::chrono::seconds(10));
    if (out) *out = last;
    return r;
  }

  // Counts changes of the 3D view up to `wanted`, however slowly a loaded machine
  // draws: each step waits for a picture that differs from the last one, and a
  // view that stands still for 15 s (the flight is over) ends the count.
  // `step(i)` runs before each wait (the keys of the flight); the picture after
  // step `keepStep` is kept as `keepName`.
  int CountViewChanges(int wanted, const std::function<void(int)>& step, int keepStep = -1,
                       const std::string& keepName = "") {
    pictures::Picture previous = program_->Grab();
    int changes = 0;
    for (int i = 0; changes < wanted; ++i) {
      step(i);
      pictures::Picture now;
      const bool changed = WaitUntil(
          [&] {
            now = program_->Grab();
            return ChangedPixels(previous, now) > 200;
          },
          std::chrono::seconds(15));
      if (!changed) break;
      if (i == keepStep) Keep(now, keepName);
      ++changes;
      previous = now;
    }
    return changes;
  }

  fs::path UiMapPath() const { return dir_ / "ui_map.jsonl"; }
  // The widget as the map shows it now, or nothing.
  std::optional<UiRect> UiNow(const std::string& id) const {
    std::ifstream in(UiMapPath());
    static const std::regex line(
        R"re(\{"id": "([^"]*)", "label": "((?:[^"\\]|\\.)*)", "x": (-?\d+), "y": (-?\d+), "w": (-?\d+), "h": (-?\d+)\})re");
    std::smatch m;
    for (std::string l; std::getline(in, l);)
      if (std::regex_match(l, m, line) && m[1] == id)
        return UiRect{std::stoi(m[3]), std::stoi(m[4]), std::stoi(m[5]), std::stoi(m[6]), m[2]};
    return std::nullopt;
  }
  // The widget once the map shows it; polled with a generous bound.
  UiRect Ui(const std::string& id) {
    std::optional<UiRect> r;
    WaitUntil([&] { return (r = UiNow(id)).has_value(); }, std::chrono::seconds(10));
    EXPECT_TRUE(r.has_value()) << id << " not in the interface map";
    return r.value_or(UiRect{});
  }

  // Whether the map shows the widget, polled until it does (or no longer
  // does) with a generous bound; true when it came to that.
  bool Shows(const std::string& id, bool shown = true,
             std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
    return WaitUntil([&] { return UiNow(id).has_value() == shown; }, timeout);
  }
  // The open dialog's title bar is drawn (ImGui's blue of an active title), so a picture shows it.
  static bool TitleBarDrawn(const pictures::Picture& p, const UiRect& dialog) {
    const int y = dialog.y + 6;
    if (y < 0 || y >= p.height) return false;
    int n = 0;
    for (int x = std::max(dialog.x, 0); x < dialog.x + dialog.w && x < p.width; ++x) {
      const std::uint8_t* q = p.At(x, y);
      if (std::abs(q[0] - 41) < 14 && std::abs(q[1] - 74) < 14 && std::abs(q[2] - 122) < 14) ++n;
    }
    return n > 30;
  }
  // A click on the middle of the widget.
  void ClickUi(const std::string& id) {
    const UiRect r = Ui(id);
    ASSERT_TRUE(program_->Click(r.CenterX(), r.CenterY())) << id;
  }
  // A file of the open dialog's list clicked until the dialog names it as chosen.
  void SelectFile(const std::string& name) {
    bool chosen = false;
    for (int attempt = 0; attempt < 3 && !chosen; ++attempt) {
      ClickUi("file:" + name);
      chosen = WaitUntil([&] { return UiNow("selected_file").value_or(UiRect{}).label == name; },
                         std::chrono::seconds(5));
    }
    ASSERT_TRUE(chosen) << name << " not chosen";
  }
  // A menu opened until it shows `itemId`: the title clicked once more when a
  // slow frame lost the click and the menu stays shut.
  std::optional<UiRect> OpenMenu(const std::string& menuId, const std::string& itemId) {
    std::optional<UiRect> item;
    for (int attempt = 0; attempt < 3 && !item; ++attempt) {
      const UiRect title = Ui(menuId);
      if (!program_->Click(title.CenterX(), title.CenterY())) break;
      WaitUntil([&] { return (item = UiNow(itemId)).has_value(); }, std::chrono::seconds(5));
    }
    return item;
  }
  // A menu item chosen by the identifiers of the interface map.
  void ChooseFromMenu(const std::string& menuId, const std::string& itemId) {
    const std::optional<UiRect> item = OpenMenu(menuId, itemId);
    ASSERT_TRUE(item.has_value()) << itemId << " not shown in " << menuId;
    ASSERT_TRUE(program_->Click(item->CenterX(), item->CenterY()));
  }

  test_support::TempDir temp_;
  fs::path dir_ = temp_.path();
  std::unique_ptr<ProgramDriver> program_;
};

}  // namespace veltrane::test
