#include "radio/joystick/rc_joy_form.h"

#include <gtest/gtest.h>

#include <optional>

namespace veltrane {
namespace {

class FakeJoysticks : public JoystickService {
 public:
  bool Query(int device, JoystickState& s) override {
    if (!dev[device]) return false;
    s = *dev[device];
    return true;
  }
  std::optional<JoystickState> dev[2];
};

JoystickState Stick(int axes, int min, int max, int pos = 0) {
  JoystickState s;
  s.axes = axes;
  for (int k = 0; k < axes; ++k) {
    s.min[k] = min;
    s.max[k] = max;
    s.pos[k] = pos;
  }
  return s;
}

TEST(RcJoyForm, ChannelsFollowTheFirstJoysticksAxisCount) {
  struct Row {
    const char* what;
    std::optional<JoystickState> first, second;
    int count;
  } rows[] = {
      {"none", std::nullopt, std::nullopt, 0},
      {"2 + 4 axes", Stick(2, 0, 100), Stick(4, 0, 100), 6},
      {"only the second", std::nullopt, Stick(3, 0, 100), 3},
      {"6 + 6 axes", Stick(6, 0, 100), Stick(6, 0, 100), 12},
  };
  for (auto& r : rows) {
    FakeJoysticks j;
    j.dev[0] = r.first;
    j.dev[1] = r.second;
    if (j.dev[0])
      for (int k = 0; k < 6; ++k) j.dev[0]->pos[k] = 10 + k;
    if (j.dev[1])
      for (int k = 0; k < 6; ++k) j.dev[1]->pos[k] = 20 + k;
    TRcJoyForm form(j);
    TRcChannels c;
    form.GetChannels(c);
    EXPECT_EQ(c.Count, r.count) << r.what;
    const int a1 = r.first ? r.first->axes : 0;
    for (int k = 0; k < c.Count; ++k)  // negated positions, the second's after the first's
      EXPECT_EQ(c.Value[k], k < a1 ? -(10 + k) : -(20 + k - a1)) << r.what << " channel " << k;
  }
}

TEST(RcJoyForm, DefaultsFromTheAxisRanges) {
  FakeJoysticks j;
  j.dev[0] = Stick(2, 0, 65535);
  j.dev[1] = Stick(4, -32768, 32767);
  j.dev[1]->min[1] = j.dev[1]->max[1] = 500;  // an empty range
  TRcJoyForm form(j);
  EXPECT_DOUBLE_EQ(form.GetInitCalibCentre(0), -32767.5);
  EXPECT_DOUBLE_EQ(form.GetInitCalibF(0), 2.0 / 65535);
  EXPECT_DOUBLE_EQ(form.GetInitCalibCentre(2), 0.5);  // the second joystick's axis 0
  EXPECT_DOUBLE_EQ(form.GetInitCalibF(3), 0.0);
  EXPECT_DOUBLE_EQ(form.GetInitCalibF(12), 0.0);  // beyond both

  // With those defaults the ends of the travel map to exactly +1 and -1.
  for (int c = 0; c < kMaxChannels; ++c) {
    form.Calib[c].Centre = form.GetInitCalibCentre(c);
    form.Calib[c].FUp = form.Calib[c].FDown = form.GetInitCalibF(c);
  }
  j.dev[0]->pos[0] = 0;
  j.dev[0]->pos[1] = 65535;
  j.dev[1]->pos[0] = -32768;
  j.dev[1]->pos[2] = 32767;
  FunctionValues v{};
  form.GetFunctionValues(v);
  EXPECT_DOUBLE_EQ(v[0], 1.0);
  EXPECT_DOUBLE_EQ(v[1], -1.0);
  EXPECT_DOUBLE_EQ(v[2], 1.0);
  EXPECT_DOUBLE_EQ(v[3], 0.0);  // empty range: no travel known
  EXPECT_DOUBLE_EQ(v[4], -1.0);
}

TEST(RcJoyForm, UnpluggedDeviceCountsButReadsZero) {
  FakeJoysticks j;
  j.dev[0] = Stick(4, 0, 100, 77);
  j.dev[0]->connected = false;
  TRcJoyForm form(j);
  TRcChannels c;
  form.GetChannels(c);
  EXPECT_EQ(c.Count, 4);
  EXPECT_EQ(c.Value[0], 0.0);
}

}  // namespace
}  // namespace veltrane
