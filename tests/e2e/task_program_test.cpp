// The flying tasks in the real window: each started from the "Aufgaben" menu,
// its course and overlay shown, ended from the menu; the results dialog with
// runs kept earlier.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "program_fixture.h"

namespace veltrane::test {
namespace {

using namespace std::chrono_literals;

class TaskProgramTest : public WindowedProgramTest {
 protected:
  void BeforeStart() override {
    // Not the first start: no hint for a first flight over the scene.
    std::ofstream(program_->ConfigDir() / "settings.ini") << "[MainForm]\nFirstFlightHelpShown=1\n";
    // Two races and a limbo kept by an earlier session.
    const fs::path data = dir_ / "share" / "veltrane";
    fs::create_directories(data);
    std::ofstream(data / "results.json") << R"({"version": 1, "results": [
 {"task": "f3f", "model": "/m/slope-racer.par", "landscape": "/l/ridge.scn", "wind": {"speed": 5.0, "from": 0.0},
  "date": "2026-12-01T10:00:00Z", "score": 52.31, "details": {}, "flight": ""},
 {"task": "f3f", "model": "/m/slope-racer.par", "landscape": "/l/ridge.scn", "wind": {"speed": 5.0, "from": 0.0},
  "date": "2026-12-02T10:00:00Z", "score": 48.07, "details": {}, "flight": ""},
 {"task": "limbo", "model": "/m/foam-wing.par", "landscape": "/l/field.scn", "wind": {"speed": 0.0, "from": 0.0},
  "date": "2026-12-03T10:00:00Z", "score": 4, "details": {"lowest": 4.5},
  "flight": ""}]})";
  }
  // The overlay's black text in the band below the menu, where the sky is light.
  int OverlayInk(const pictures::Picture& p) {
    const int top = Ui("tasks").y + Ui("tasks").h;
    return DarkPixels(p, 0, top + 2, 320, top + 90);
  }
};

TEST_F(TaskProgramTest, EachTaskStartsFromTheMenuShowsItsOverlayAndEnds) {
  struct Case {
    const char* item;
    const char* name;  // in the trace
  };
  const Case cases[] = {
      {"task_slope_race", "f3f"}, {"task_duration", "duration"}, {"task_limbo", "limbo"}};
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown));
  const int blank = OverlayInk(program_->Grab());
  int ended = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChooseFromMenu("tasks", c.item);
    if (std::string(c.name) == "duration") {
      // The working time first: Enter takes the 10 minutes offered.
      ASSERT_TRUE(Shows("dialog:working_time"));
      ASSERT_TRUE(Shows("working_time_minutes"));
      ASSERT_TRUE(program_->Key("Return"));
      ASSERT_TRUE(Shows("dialog:working_time", false));
    }
    const std::string started = "TMainForm.StartTask " + std::string(c.name);
    ASSERT_TRUE(WaitUntil([&] { return program_->TraceCount(started) == 1; }, 10s));
    pictures::Picture shown;
    EXPECT_TRUE(
        ShowsSoon([&](const pictures::Picture& p) { return OverlayInk(p) > blank + 150; }, &shown))
        << "no task overlay";
    if (std::string(c.name) == "f3f") {
      // A hand launch: the race's clock for entering the course runs.
      ASSERT_TRUE(program_->Key("r"));
      ASSERT_TRUE(WaitUntil(
          [&] { return program_->TraceCountStartingWith("Simulate.Handstart") > 0; }, 10s));
      ShowsSoon([&](const pictures::Picture& p) { return OverlayInk(p) > blank + 150; }, &shown);
    }
    Keep(shown, std::string("task_") + c.name + ".png");
    ChooseFromMenu("tasks", "task_end");
    ++ended;
    ASSERT_TRUE(WaitUntil([&] { return program_->TraceCount("TMainForm.EndTask") == ended; }, 10s));
  }

  ChooseFromMenu("tasks", "task_results");
  ASSERT_TRUE(Shows("dialog:results"));
  // Best first: the faster race above the slower.
  const UiRect best = Ui("result:0"), second = Ui("result:1");
  EXPECT_NE(best.label.find("48"), std::string::npos) << best.label;
  EXPECT_NE(second.label.find("52"), std::string::npos) << second.label;
  pictures::Picture dialog;
  ShowsSoon([&](const pictures::Picture& p) { return TitleBarDrawn(p, Ui("dialog:results")); },
            &dialog);
  Keep(dialog, "task_results.png");
  ASSERT_TRUE(program_->Key("Escape"));
  EXPECT_TRUE(Shows("dialog:results", false));
}

}  // namespace
}  // namespace veltrane::test
