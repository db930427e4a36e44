// The transmitter dialogs' logic: joystick view, interface selection,
// calibration and the interfaces' own property dialogs.

#include <gtest/gtest.h>

#include <optional>

#include "ui/joy_dialog.h"

namespace veltrane::ui {
namespace {

class FakeJoysticks : public JoystickService {
 public:
  void Poll() override { ++polls; }
  bool Query(int device, JoystickState& s) override {
    if (!dev[device]) return false;
    s = *dev[device];
    return true;
  }
  std::optional<JoystickState> dev[2];
  int polls = 0;
};

TEST(JoyDialog, ShowsEachDeviceLiveWithNegatedBars) {
  FakeJoysticks j;
  JoystickState s;
  s.productName = "Sender USB";
  s.axes = 4;
  s.min = {0, 0, 0, 0, 0, 0};
  s.max = {1000, 1000, 1000, 1000, 0, 0};
  s.pos = {250, 0, 1000, 500, 0, 0};
  j.dev[1] = s;
  JoyDialog d(j);
  d.FormActivate();  // one update at once
  EXPECT_TRUE(d.TimerRunning());
  EXPECT_FALSE(d.Joystick(0).present);
  const auto& g = d.Joystick(1);
  ASSERT_TRUE(g.present);
  EXPECT_EQ(g.productName, "Sender USB");
  EXPECT_EQ(g.axesText, "4");
  EXPECT_EQ(g.status, "Betriebsbereit");
  EXPECT_EQ(g.bars[0].min, -1000);
  EXPECT_EQ(g.bars[0].max, 0);
  EXPECT_EQ(g.bars[0].position, -250);

  j.dev[1]->connected = false;
  j.dev[1]->pos[0] = 900;
  j.dev[0] = s;  // plugged in while the dialog is open
  d.TimerTick();
  EXPECT_EQ(d.Joystick(1).status, "Nicht verbunden");
  EXPECT_EQ(d.Joystick(1).bars[0].position, -900);
  EXPECT_TRUE(d.Joystick(0).present);
  EXPECT_EQ(j.polls, 2);
  d.FormDeactivate();
  EXPECT_FALSE(d.TimerRunning());
}

}  // namespace
}  // namespace veltrane::ui
