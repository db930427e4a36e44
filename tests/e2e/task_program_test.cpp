// The flying tasks in the real window: each started from the "Aufgaben" menu,
// its course and overlay shown, ended from the menu; the results dialog with
// runs kept earlier.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "program_fixture.h"

namespace veltrane::test {
namespace {

using namespace std::chrono_literals;

class TaskProgramTest : public WindowedProgramTest {
 protected:
  // More of the main window's settings, one "key=value" a line.
  virtual std::string Settings() const { return {}; }
  void BeforeStart() override {
    // Not the first start: no hint for a first flight over the scene.
    std::ofstream(program_->ConfigDir() / "settings.ini") << "[MainForm]\nFirstFlightHelpShown=1\n"
                                                          << Settings();
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
  // Pixels of the overlay's band that differ clearly in a and b.
  int OverlayChange(const pictures::Picture& a, const pictures::Picture& b) {
    if (a.width != b.width || a.height != b.height) return a.width * a.height;
    const int top = Ui("tasks").y + Ui("tasks").h;
    int n = 0;
    for (int y = top + 2; y < top + 90 && y < a.height; ++y)
      for (int x = 0; x < 320 && x < a.width; ++x)
        if (std::abs(Brightness(a, x, y) - Brightness(b, x, y)) > 150) ++n;
    return n;
  }
  // The 3D view below the overlay's band: pixels clearly different in a and b.
  int ViewChange(const pictures::Picture& a, const pictures::Picture& b) {
    if (a.width != b.width || a.height != b.height) return a.width * a.height;
    const int top = Ui("tasks").y + Ui("tasks").h + 90;
    int n = 0;
    for (int y = top; y < a.height; ++y)
      for (int x = 0; x < a.width; ++x)
        if (std::abs(Brightness(a, x, y) - Brightness(b, x, y)) > 40) ++n;
    return n;
  }
  // Duration and landing with the working time offered.
  void StartDuration() {
    const int before = program_->TraceCount("TMainForm.StartTask duration");
    ChooseFromMenu("tasks", "task_duration");
    ASSERT_TRUE(Shows("dialog:working_time"));
    ASSERT_TRUE(program_->Key("Return"));
    ASSERT_TRUE(Shows("dialog:working_time", false));
    ASSERT_TRUE(WaitUntil(
        [&] { return program_->TraceCount("TMainForm.StartTask duration") == before + 1; }, 10s));
  }
  // The first recorded flight the results file keeps (the runs written before
  // the start have none).
  std::string KeptFlight() {
    std::ifstream in(dir_ / "share" / "veltrane" / "results.json");
    std::stringstream text;
    text << in.rdbuf();
    static const std::regex kept(R"re("flight": "([^"]+)")re");
    std::smatch m;
    const std::string all = text.str();
    return std::regex_search(all, m, kept) ? m[1].str() : std::string();
  }
};

// The same window on a slope site in its usual wind, with a glider.
class SlopeRaceProgramTest : public TaskProgramTest {
 protected:
  std::string Settings() const override {
    const std::string data = VELTRANE_DATA_DIR;
    // Zoomed onto the model, which soars well out in front.
    return "sModellFilename=" + data + "/Model/glider.par\nsLandFileName=" + data +
           "/Landscape/ridge.scn\nAutoZoom=1\n";
  }
};

// The camera flies behind the model; the pilot stands there when a task is laid out.
class FollowingTaskProgramTest : public TaskProgramTest {
 protected:
  std::string Settings() const override { return "Hinterherflug=1\n"; }
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

namespace veltrane::test {
namespace {

using namespace std::chrono_literals;

TEST_F(TaskProgramTest, TheBestRunFliesAsTheGhostBesideTheModelOnTheNextAttempt) {
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown));
  StartDuration();
  // The view with the model at rest on the spot and no ghost, once it stands still.
  pictures::Picture rest = program_->Grab();
  ASSERT_TRUE(WaitUntil(
      [&] {
        const pictures::Picture now = program_->Grab();
        const bool still = ViewChange(rest, now) == 0;
        rest = now;
        return still;
      },
      15s));
  // Full throttle and full aileron: the model takes off, rolls over and
  // crashes, which ends the attempt with its score, kept with its flight.
  ASSERT_TRUE(program_->KeyDown("v"));
  ASSERT_TRUE(program_->KeyDown("j"));
  const bool kept = WaitUntil(
      [&] { return program_->TraceCountStartingWith("TMainForm.TaskResult duration") == 1; }, 60s);
  ASSERT_TRUE(program_->KeyUp("j"));
  ASSERT_TRUE(program_->KeyUp("v"));
  ASSERT_TRUE(kept) << "the attempt did not end";
  EXPECT_EQ(program_->TraceCount("TMainForm.TaskEvent crash"), 1);
  const std::string flight = KeptFlight();
  ASSERT_FALSE(flight.empty());

  // A quarter of real time, so the ghost's short flight lasts however slowly
  // the window is grabbed; then the same task again.
  ChooseFromMenu("simulation", "slow_motion_quarter");
  StartDuration();
  ASSERT_TRUE(WaitUntil(
      [&] { return program_->TraceCount("TMainForm.ShowGhost File: " + flight) == 1; }, 10s))
      << "the kept run is not the ghost";
  // The live model rests where the task put it: what moves is the ghost
  // taking off from beside it. Two pictures in a row, each away from the view
  // at rest and from each other (a frame of the closing dialog stands still).
  pictures::Picture last = program_->Grab(), moved;
  EXPECT_TRUE(WaitUntil(
      [&] {
        moved = program_->Grab();
        const bool moving = ViewChange(rest, last) > 100 && ViewChange(rest, moved) > 100 &&
                            ViewChange(last, moved) > 20;
        last = moved;
        return moving;
      },
      60s))
      << "the ghost did not move";
  Keep(moved, "task_ghost.png");
  EXPECT_EQ(program_->TraceCount("TMainForm.TaskEvent launch"), 1) << "the live model stayed put";
}

TEST_F(SlopeRaceProgramTest, AThrownGliderRidesTheSlopeIntoTheRace) {
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown));
  ChooseFromMenu("tasks", "task_slope_race");
  ASSERT_TRUE(WaitUntil([&] { return program_->TraceCount("TMainForm.StartTask f3f") == 1; }, 10s));
  ASSERT_TRUE(program_->Key("r"));
  // Hands off, it soars in front of the ridge until the entry time is up and the clock runs.
  ASSERT_TRUE(
      WaitUntil([&] { return program_->TraceCount("TMainForm.TaskEvent start") == 1; }, 120s))
      << "the race did not start";
  EXPECT_EQ(program_->TraceCount("TMainForm.TaskEvent crash"), 0);
  // The overlay turns from the entry time to the race's clock and leg.
  const pictures::Picture entry = program_->Grab();
  pictures::Picture racing;
  EXPECT_TRUE(
      ShowsSoon([&](const pictures::Picture& p) { return OverlayChange(entry, p) > 30; }, &racing))
      << "the overlay shows no race";
  Keep(racing, "task_slope_race.png");
}

TEST_F(FollowingTaskProgramTest, TheLimboCourseStandsAheadOfTheModel) {
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown));
  const pictures::Picture before = program_->Grab();
  ChooseFromMenu("tasks", "task_limbo");
  ASSERT_TRUE(
      WaitUntil([&] { return program_->TraceCount("TMainForm.StartTask limbo") == 1; }, 10s));
  // Seen from behind, the model faces the poles and the tape between them.
  pictures::Picture course;
  EXPECT_TRUE(
      ShowsSoon([&](const pictures::Picture& p) { return ViewChange(before, p) > 200; }, &course))
      << "no poles or tape in view";
  Keep(course, "task_limbo_course.png");
}

}  // namespace
}  // namespace veltrane::test
