#include "ui/key_dialog.h"

#include <gtest/gtest.h>

#include <set>

namespace veltrane::ui {
namespace {

struct HeldKeys : KeyState {
  bool IsKeyDown(int vk) const override { return down.count(vk) > 0; }
  std::set<int> down;
};

struct Timer : FrameTimer {
  void SetTimerEnabled(bool e) override { enabled = e; }
  bool enabled = true;
};

TEST(KeyDialog, CapturesTheHighestCodeDown) {
  TKeyForm keys;
  Timer timer;
  HeldKeys held;
  KeyDialog d(keys, timer, held);
  d.FormActivate();
  EXPECT_FALSE(timer.enabled);
  d.SlotClick(4);
  EXPECT_EQ(d.Label(4), KeyDialog::kWaiting);
  d.TimerTick();  // nothing down: still waiting
  EXPECT_EQ(keys.PendingSlot, 4);
  held.down = {0x01, 0x07};  // mouse button and codes up to 7 are ignored
  d.TimerTick();
  EXPECT_EQ(keys.PendingSlot, 4);
  held.down = {0x10, 0xA0};  // Shift: the left Shift key's own code wins
  d.TimerTick();
  EXPECT_EQ(keys.PendingSlot, -1);
  EXPECT_EQ(keys.EditKeyCode[4], 0xA0);
  EXPECT_NE(d.Label(4), KeyDialog::kWaiting);
  d.Ok();
  EXPECT_EQ(keys.KeyCode[4], 0xA0);
  d.FormDeactivate();
  EXPECT_TRUE(timer.enabled);
}

TEST(KeyDialog, CancelKeepsThePreviousKeysAndFocusLossAbandons) {
  TKeyForm keys;
  const auto before = keys.KeyCode;
  Timer timer;
  HeldKeys held;
  KeyDialog d(keys, timer, held);
  d.FormActivate();
  d.SlotClick(0);
  held.down = {0x41};
  d.TimerTick();
  d.Cancel();
  d.FormDeactivate();
  EXPECT_EQ(keys.KeyCode, before);
  // Reopening starts from the keys in force.
  d.FormActivate();
  EXPECT_EQ(keys.EditKeyCode, before);
  d.SlotClick(2);
  held.down.clear();
  d.GroupExit();
  EXPECT_EQ(keys.PendingSlot, -1);
  EXPECT_EQ(keys.EditKeyCode[2], before[2]);
  d.SlotClick(99);  // not a slot
  EXPECT_EQ(keys.PendingSlot, -1);
}

}  // namespace
}  // namespace veltrane::ui
