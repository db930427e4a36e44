// A flight flown on the keyboard and chosen from "Datei > Flug abspielen..."
// shows the same pictures in the replay as it did live.
#include <chrono>
#include <thread>

#include "program_fixture.h"

namespace veltrane::test {
namespace {

using namespace std::chrono_literals;

// Below the menu bar and the replay's two overlay lines.
constexpr int kViewTop = 70;

int ViewDifference(const pictures::Picture& a, const pictures::Picture& b) {
  if (a.width != b.width || a.height != b.height) return a.width * a.height;
  int n = 0;
  for (int y = kViewTop; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      if (std::abs(Brightness(a, x, y) - Brightness(b, x, y)) > 30) ++n;
  return n;
}

class ReplayProgramTest : public WindowedProgramTest {
 protected:
  // After the pause key: the picture once two grabs in a row show the same view,
  // however long a loaded machine takes to draw the paused frame.
  pictures::Picture StillPicture() {
    pictures::Picture last = program_->Grab(), now;
    EXPECT_TRUE(WaitUntil(
        [&] {
          std::this_thread::sleep_for(200ms);
          now = program_->Grab();
          const bool still = ViewDifference(last, now) < 20;
          last = now;
          return still;
        },
        15s))
        << "the view does not stand still";
    return last;
  }
};

TEST_F(ReplayProgramTest, TheReplayShowsWhatTheLiveFlightShowedAtTheSameTimes) {
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown));
  // Full throttle from the start; two long pauses give pictures of fixed flight times.
  ASSERT_TRUE(program_->KeyDown("v"));
  std::vector<pictures::Picture> live;
  for (int i = 0; i < 2; ++i) {
    std::this_thread::sleep_for(i == 0 ? 3s : 2500ms);
    ASSERT_TRUE(program_->Key("p"));
    live.push_back(StillPicture());
    std::this_thread::sleep_for(2s);
    ASSERT_TRUE(program_->Key("p"));
  }
  std::this_thread::sleep_for(1500ms);
  ASSERT_TRUE(program_->KeyUp("v"));
  ASSERT_GT(ViewDifference(live[0], live[1]), 500) << "the model did not move";
  Keep(live[0], "replay_live.png");

  ChooseFromMenu("file", "replay_flight");
  ASSERT_TRUE(Shows("dialog:flights")) << "no list of flights";
  ASSERT_TRUE(program_->Key("Return"));  // the newest flight is selected
  for (std::size_t i = 0; i < live.size(); ++i) {
    pictures::Picture seen;
    EXPECT_TRUE(WaitUntil(
        [&] {
          seen = program_->Grab();
          return ViewDifference(seen, live[i]) < 200;
        },
        15s))
        << "picture " << i << " never came back; " << ViewDifference(seen, live[i])
        << " pixels differ";
    if (i == 0) Keep(seen, "replay_replayed.png");
  }
  // F9: the pilot takes over and the flight goes on live.
  ASSERT_TRUE(program_->Key("F9"));
  EXPECT_TRUE(WaitUntil([&] { return program_->TraceCount("TMainForm.TakeOver") == 1; }, 5s));
}

TEST_F(ReplayProgramTest, AGhostFliesTheLastFlightBesideTheLiveOne) {
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown));
  ASSERT_TRUE(program_->KeyDown("v"));
  std::this_thread::sleep_for(8s);
  ASSERT_TRUE(program_->KeyUp("v"));
  ASSERT_TRUE(program_->Key("i"));  // a new flight; the last one is the ghost's
  std::this_thread::sleep_for(300ms);

  ChooseFromMenu("file", "show_ghost");
  ASSERT_TRUE(Shows("dialog:flights")) << "no list of flights";
  ASSERT_TRUE(program_->Key("Return"));
  ASSERT_TRUE(WaitUntil(
      [&] { return program_->TraceCountStartingWith("TMainForm.ShowGhost File:") == 1; }, 5s));
  // The live model rests paused on the ground; only the ghost moves on.
  ASSERT_TRUE(program_->Key("p"));
  std::this_thread::sleep_for(500ms);
  const pictures::Picture before = program_->Grab();
  Keep(before, "ghost_before.png");
  pictures::Picture after;
  EXPECT_TRUE(WaitUntil(
      [&] {
        after = program_->Grab();
        return ViewDifference(before, after) > 50;
      },
      15s))
      << "the ghost did not move";
  Keep(after, "ghost.png");
  EXPECT_EQ(program_->TraceCount("TMainForm.TakeOver"), 0);
}

}  // namespace
}  // namespace veltrane::test
