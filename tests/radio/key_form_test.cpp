#include "radio/key_form.h"

#include <gtest/gtest.h>

#include <fstream>

#include "base/settings/settings_store.h"
#include "radio/fake_keys.h"
#include "radio/key_names.h"
#include "support/temp_dir.h"

namespace veltrane {
namespace {

constexpr int kLeft = 0x25, kRight = 0x27, kUp = 0x26;
constexpr int kV = 0x56, kH = 0x48, kG = 0x47, kB = 0x42;

TEST(ApplyKeys, DefaultKeyDrivesAirplaneAndHelicopterFunction) {
  TKeyForm keys;
  FakeKeys held;
  held.held = {kLeft};
  FunctionValues fv{};
  keys.ApplyKeys(fv, held);
  EXPECT_EQ(fv, (FunctionValues{1, 0, 0, 0, 1, 0, 0, 0}));
  held.held = {kUp};
  keys.ApplyKeys(fv, held);
  EXPECT_DOUBLE_EQ(fv[fn::kElevator], 1.0);
  EXPECT_DOUBLE_EQ(fv[fn::kPitchCyclic], 1.0);
}

TEST(ApplyKeys, LaterSlotOfAPairWins) {
  TKeyForm keys;
  FakeKeys held;
  held.held = {kLeft, kRight};
  FunctionValues fv{};
  keys.ApplyKeys(fv, held);
  EXPECT_DOUBLE_EQ(fv[fn::kRudder], -1.0);
  held.held = {kV, kH};
  TRcIntForm plain;
  fv[fn::kThrottle] = fv[fn::kCollective] = 0.3;
  ReadRadio(plain, 0, keys, held, fv);
  EXPECT_DOUBLE_EQ(fv[fn::kThrottle], -1.0);
  EXPECT_DOUBLE_EQ(fv[fn::kCollective], -1.0);
}

TEST(ApplyKeys, IncrementsSeeEarlierSlotsAndTheClampCaps) {
  TKeyForm keys;
  FakeKeys held;
  held.held = {kV, kG};
  FunctionValues fv{};
  keys.ApplyKeys(fv, held);
  EXPECT_DOUBLE_EQ(fv[fn::kThrottle], 1.05);
  ClampFunctionValues(fv);
  EXPECT_DOUBLE_EQ(fv[fn::kThrottle], 1.0);
}

TEST(ReadRadio, HoldingGTenFramesFromClosedThrottleWithoutInterface) {
  TKeyForm keys;
  TRcIntForm plain;
  FakeKeys held;
  held.held = {kG};
  FunctionValues fv{};
  fv[fn::kThrottle] = -1.0;
  fv[fn::kCollective] = -1.0;
  for (int frame = 0; frame < 10; ++frame) ReadRadio(plain, 0, keys, held, fv);
  EXPECT_NEAR(fv[fn::kThrottle], -0.5, 1e-12);
  EXPECT_NEAR(fv[fn::kCollective], -0.5, 1e-12);
  held.held = {kB};
  ReadRadio(plain, 0, keys, held, fv);
  EXPECT_NEAR(fv[fn::kThrottle], -0.55, 1e-12);
  held.held.clear();  // released: the value stays
  ReadRadio(plain, 0, keys, held, fv);
  EXPECT_NEAR(fv[fn::kThrottle], -0.55, 1e-12);
  EXPECT_DOUBLE_EQ(fv[fn::kRudder], 0.0);
}

TEST(ReadRadio, WithAThrottleChannelGAddsToTheInterfaceValueEachFrame) {
  class Stick : public TRcIntForm {
   public:
    void GetChannels(TRcChannels& c) override {
      c = {};
      c.Count = 4;
      c.Value[3] = 0.2;
    }
  } stick;
  stick.Calib[3] = {0.0, 1.0, 1.0};
  TKeyForm keys;
  FakeKeys held;
  held.held = {kG};
  FunctionValues fv{};
  for (int frame = 0; frame < 10; ++frame) ReadRadio(stick, 1, keys, held, fv);
  EXPECT_NEAR(fv[fn::kThrottle], 0.25, 1e-12);
}

TEST(KeyFormSettings, DefaultsRoundTripAndOutOfRangeCodesFallBack) {
  test_support::TempDir dir;
  std::ofstream(dir.path() / "settings.ini")
      << "[KeyForm]\nKeyChannel0=65601\nKeyChannel1=abc\nKeyChannel3=-1\nKeyChannel4=160\n";
  SettingsStore store(dir.path(), NumberFormat{'.'});
  TKeyForm keys;
  keys.ReadSettings(store);
  EXPECT_EQ(keys.KeyCode[0], KeySlots()[0].defaultKey);  // not 0x41, the low bits of 0x10041
  EXPECT_EQ(keys.KeyCode[1], kRight);
  EXPECT_EQ(keys.KeyCode[3], KeySlots()[3].defaultKey);  // not 65535
  EXPECT_EQ(keys.KeyCode[4], 0xA0);
  EXPECT_EQ(keys.KeyCode[19], 0x4B);
  EXPECT_EQ(keys.EditKeyCode, keys.KeyCode);
  keys.KeyCode[7] = 0x20;
  keys.WriteSettings(store);
  EXPECT_EQ(store.ReadString("KeyForm", "KeyChannel7", ""), "32");
  EXPECT_EQ(store.ReadString("KeyForm", "KeyChannel19", ""), "75");
}

TEST(KeySlots, TableShapeAndKeyNames) {
  const auto& slots = KeySlots();
  for (int k = 0; k < 10; ++k) EXPECT_EQ(slots[k].defaultKey, slots[k + 10].defaultKey) << k;
  EXPECT_STREQ(slots[7].caption, "Motordrossel  weniger");
  EXPECT_EQ(KeyName(kLeft), "Left");
  EXPECT_EQ(KeyName('G'), "G");
  EXPECT_EQ(KeyName(0x6B), "Num +");
  EXPECT_EQ(KeyName(0x7B), "F12");
  EXPECT_EQ(KeyName(0xA1), "Right Shift");
  EXPECT_EQ(KeyName(0x07), "");
  for (int vk = 0; vk < 256; ++vk) EXPECT_LE(KeyName(vk).size(), 19u) << vk;
}

}  // namespace
}  // namespace veltrane
