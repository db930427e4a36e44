// The joystick interface on SDL's own joysticks, with virtual devices plugged
// in and out by the test as a pilot plugs in a transmitter.

#include <SDL.h>
#include <gtest/gtest.h>

#include "base/settings/settings_store.h"
#include "platform/joystick/sdl_joystick_service.h"
#include "radio/joystick/rc_joy_form.h"
#include "support/temp_dir.h"

namespace veltrane {
namespace {

class VirtualJoystickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    service_ = std::make_unique<platform::SdlJoystickService>();
    ASSERT_TRUE(service_->Ready()) << SDL_GetError();
  }
  void TearDown() override {
    for (SDL_Joystick* j : handles_) SDL_JoystickClose(j);
    while (SDL_NumJoysticks() > 0) SDL_JoystickDetachVirtual(0);
    service_.reset();
  }
  // A virtual joystick; the handle sets its axes.
  SDL_Joystick* Attach(int axes) {
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, axes, 0, 0);
    EXPECT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* j = SDL_JoystickOpen(index);
    EXPECT_NE(j, nullptr) << SDL_GetError();
    handles_.push_back(j);
    return j;
  }
  std::unique_ptr<platform::SdlJoystickService> service_;
  std::vector<SDL_Joystick*> handles_;
};

TEST_F(VirtualJoystickTest, TwoDevicesFullStrokeWithoutCalibrationAndUnplugging) {
  SDL_Joystick* first = Attach(2);
  SDL_Joystick* second = Attach(4);
  TRcJoyForm form(*service_);
  test_support::TempDir dir;
  SettingsStore store(dir.path(), NumberFormat{'.'});
  form.Create(store);  // nothing stored: the defaults come from the devices

  TRcChannels c;
  form.GetChannels(c);
  ASSERT_EQ(c.Count, 6);

  SDL_JoystickSetVirtualAxis(first, 0, SDL_JOYSTICK_AXIS_MIN);
  SDL_JoystickSetVirtualAxis(first, 1, SDL_JOYSTICK_AXIS_MAX);
  SDL_JoystickSetVirtualAxis(second, 0, 0);
  SDL_JoystickSetVirtualAxis(second, 3, SDL_JOYSTICK_AXIS_MAX);
  FunctionValues v{};
  form.GetFunctionValues(v);  // no event pump in between: the read itself polls
  EXPECT_DOUBLE_EQ(v[0], 1.0);
  EXPECT_DOUBLE_EQ(v[1], -1.0);
  EXPECT_NEAR(v[2], 0.0, 1e-4);
  EXPECT_DOUBLE_EQ(v[5], -1.0);

  // The first one pulled out mid-flight: the second moves up to channels 0..3.
  SDL_JoystickClose(first);
  handles_.erase(handles_.begin());
  ASSERT_EQ(SDL_JoystickDetachVirtual(0), 0) << SDL_GetError();
  form.GetChannels(c);
  EXPECT_EQ(c.Count, 4);
  EXPECT_EQ(c.Value[3], -SDL_JOYSTICK_AXIS_MAX);

  SDL_JoystickClose(second);
  handles_.clear();
  ASSERT_EQ(SDL_JoystickDetachVirtual(0), 0) << SDL_GetError();
  form.GetChannels(c);
  EXPECT_EQ(c.Count, 0);
  form.GetFunctionValues(v);
  EXPECT_EQ(v, FunctionValues{});

  // Plugged in again while running: it appears at the next read.
  SDL_Joystick* again = Attach(6);
  SDL_JoystickSetVirtualAxis(again, 5, 1000);
  form.GetChannels(c);
  EXPECT_EQ(c.Count, 6);
  EXPECT_EQ(c.Value[5], -1000);
  JoystickState s;
  ASSERT_TRUE(service_->Query(0, s));
  EXPECT_EQ(s.axes, 6);
  EXPECT_FALSE(s.productName.empty());
  EXPECT_FALSE(service_->Query(1, s));
}

}  // namespace
}  // namespace veltrane
