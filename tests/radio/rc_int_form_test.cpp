#include "radio/rc_int_form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/settings/settings_store.h"
#include "radio/fake_keys.h"
#include "radio/key_form.h"
#include "support/temp_dir.h"

namespace veltrane {
namespace {

// An interface that delivers whatever the test puts in `channels`.
class FakeInterface : public TRcIntForm {
 public:
  FakeInterface() : TRcIntForm("RcFakeForm") {}
  void GetChannels(TRcChannels& c) override {
    ++calls;
    c = channels;
  }
  double GetInitCalibCentre(std::int32_t ch) override { return 100.0 + ch; }
  double GetInitCalibF(std::int32_t) override { return 0.01; }
  TRcChannels channels;
  int calls = 0;
};

FakeInterface Calibrated(int count) {
  FakeInterface f;
  f.channels.Count = count;
  for (int c = 0; c < kMaxChannels; ++c) f.Calib[c] = {100.0, 0.01, 0.02};
  return f;
}

TEST(GetFunctionValues, MapsRawValuesThroughCalibration) {
  FakeInterface f = Calibrated(8);
  f.channels.Value[0] = 100.0;  // centre
  f.channels.Value[1] = 200.0;  // top end
  f.channels.Value[2] = 50.0;   // bottom end (FDown 0.02)
  f.channels.Value[3] = 300.0;  // beyond the end: not clamped here
  FunctionValues v{};
  f.GetFunctionValues(v);
  EXPECT_EQ(f.calls, 1);
  EXPECT_DOUBLE_EQ(v[0], 0.0);
  EXPECT_DOUBLE_EQ(v[1], 1.0);
  EXPECT_DOUBLE_EQ(v[2], -1.0);
  EXPECT_DOUBLE_EQ(v[3], 2.0);
}

TEST(GetFunctionValues, CentreAndMissingFactorGiveZero) {
  FakeInterface f = Calibrated(8);
  f.Calib[0].FUp = 0.0;
  f.channels.Value[0] = 180.0;
  f.channels.Value[1] = 100.0;
  f.Calib[1].FUp = 5.0;
  FunctionValues v{};
  f.GetFunctionValues(v);
  EXPECT_DOUBLE_EQ(v[0], 0.0);
  EXPECT_DOUBLE_EQ(v[1], 0.0);
}

TEST(GetFunctionValues, InvertThenExponential) {
  FakeInterface f = Calibrated(8);
  f.channels.Value[0] = 75.0;  // -0.5 with FDown 0.02
  f.Assign[0] = {0, true, true};
  f.channels.Value[1] = 75.0;
  f.Assign[1] = {1, false, true};
  FunctionValues v{};
  f.GetFunctionValues(v);
  EXPECT_DOUBLE_EQ(v[0], 0.25);   // -0.5 -> +0.5 -> +0.25
  EXPECT_DOUBLE_EQ(v[1], -0.25);  // sign kept
}

TEST(GetFunctionValues, UnassignedOutOfRangeAndUndeliveredChannelsReadZero) {
  FakeInterface f = Calibrated(16);
  for (int c = 0; c < 16; ++c) f.channels.Value[c] = 200.0;
  f.Assign[0].Channel = -1;
  f.Assign[1].Channel = 8;   // shown as channel 9: never feeds a function
  f.Assign[2].Channel = 15;  // channel 16
  f.Assign[3].Channel = 123;
  FunctionValues v{};
  v.fill(7.0);
  f.GetFunctionValues(v);
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(v[i], 0.0) << i;
  for (int i = 4; i < 8; ++i) EXPECT_DOUBLE_EQ(v[i], 1.0) << i;

  f.channels.Count = 5;  // fewer channels than assigned: 0, not the previous value
  f.GetFunctionValues(v);
  EXPECT_DOUBLE_EQ(v[4], 1.0);
  for (int i = 5; i < 8; ++i) EXPECT_DOUBLE_EQ(v[i], 0.0) << i;
}

// One frame's read through the whole chain (mapping, copy rule, keys, clamp),
// for a channel calibrated to 100 +- 100 (FUp) and 100 - 50 (FDown).
TEST(ReadRadio, OneFunctionThroughTheWholeFrame) {
  struct Row {
    const char* what;
    int function;
    TRcAssign assign;
    double raw;
    int listPosition;
    double before;  // FunctionValue[function] from the previous frame
    double expected;
  } rows[] = {
      {"centre", 0, {0, false, false}, 100.0, 4, 0.7, 0.0},
      {"inverse and exponential", 1, {1, true, true}, 75.0, 4, 0.0, 0.25},
      {"beyond the end clamps to 1", 2, {2, false, false}, 450.0, 4, 0.0, 1.0},
      {"beyond the low end clamps to -1", 2, {2, false, false}, -300.0, 4, 0.0, -1.0},
      {"channel 9 reads 0", 0, {8, false, false}, 200.0, 4, 0.7, 0.0},
      {"channel 16 reads 0", 5, {15, false, false}, 200.0, 4, 0.7, 0.0},
      {"no interface keeps throttle", fn::kThrottle, {3, false, false}, 200.0, 0, -0.6, -0.6},
      {"no interface keeps pitch", fn::kCollective, {7, false, false}, 200.0, 0, 0.4, 0.4},
      {"throttle unassigned (-1) is kept", fn::kThrottle, {-1, false, false}, 200.0, 4, -0.6, -0.6},
      {"pitch assigned out of range reads 0",
       fn::kCollective,
       {9, false, false},
       200.0,
       4,
       0.4,
       0.0},
      {"throttle from the interface", fn::kThrottle, {3, false, false}, 150.0, 4, -1.0, 0.5},
  };
  for (const Row& r : rows) {
    FakeInterface f = Calibrated(16);
    for (auto& c : f.Calib) c = {100.0, 0.01, 0.02};
    for (int c = 0; c < kMaxChannels; ++c) f.channels.Value[c] = r.raw;
    f.Assign[r.function] = r.assign;
    TKeyForm keys;
    FakeKeys none;
    FunctionValues fv{};
    fv[r.function] = r.before;
    ReadRadio(f, r.listPosition, keys, none, fv);
    EXPECT_DOUBLE_EQ(fv[r.function], r.expected) << r.what;
  }
}

TEST(PlainInterface, DeliversNothing) {
  TRcIntForm plain;
  EXPECT_EQ(plain.Name(), "RcIntForm");
  EXPECT_FALSE(plain.GetAvailable());
  TRcChannels c;
  c.Count = 3;
  c.Value[0] = 9;
  plain.GetChannels(c);
  EXPECT_EQ(c.Count, 0);
  EXPECT_EQ(c.Value[0], 0.0);
  for (int i = 0; i < kFunctionCount; ++i) EXPECT_EQ(plain.Assign[i].Channel, i);
}

TEST(UpdateFunctionValues, NoInterfaceKeepsThrottleAndPitch) {
  TRcIntForm plain;
  FunctionValues fv{0.3, 0.3, 0.3, -0.4, 0.3, 0.3, 0.3, 0.6};
  UpdateFunctionValues(plain, 0, fv);
  EXPECT_EQ(fv, (FunctionValues{0, 0, 0, -0.4, 0, 0, 0, 0.6}));
}

TEST(UpdateFunctionValues, InterfaceCopiesThrottleUnlessUnassignedExactly) {
  FakeInterface f = Calibrated(8);
  for (int c = 0; c < 8; ++c) f.channels.Value[c] = 150.0;  // 0.5 each
  FunctionValues fv{};
  fv.fill(-0.9);
  f.Assign[fn::kThrottle].Channel = -1;    // throttle held by the keyboard
  f.Assign[fn::kCollective].Channel = -2;  // out of range but not -1: reads 0
  UpdateFunctionValues(f, 4, fv);
  EXPECT_DOUBLE_EQ(fv[fn::kThrottle], -0.9);
  EXPECT_DOUBLE_EQ(fv[fn::kCollective], 0.0);
  EXPECT_DOUBLE_EQ(fv[0], 0.5);
  // The same object at list position 0 keeps both.
  fv.fill(-0.9);
  f.Assign[fn::kThrottle].Channel = 3;
  f.Assign[fn::kCollective].Channel = 7;
  UpdateFunctionValues(f, 0, fv);
  EXPECT_DOUBLE_EQ(fv[fn::kThrottle], -0.9);
  EXPECT_DOUBLE_EQ(fv[fn::kCollective], -0.9);
}

TEST(ClampFunctionValues, LimitsToUnitRange) {
  FunctionValues fv{2.0, -1.05, 0.5, 1.0, -1.0, 1e9, -1e9, 0.0};
  ClampFunctionValues(fv);
  EXPECT_EQ(fv, (FunctionValues{1.0, -1.0, 0.5, 1.0, -1.0, 1.0, -1.0, 0.0}));
}

TEST(RcIntFormSettings, DefaultsComeFromTheVirtualOperations) {
  test_support::TempDir dir;
  SettingsStore store(dir.path(), NumberFormat{'.'});
  FakeInterface f;
  f.ReadSettings(store);
  EXPECT_DOUBLE_EQ(f.Calib[12].Centre, 112.0);
  EXPECT_DOUBLE_EQ(f.Calib[12].FUp, 0.01);
  EXPECT_DOUBLE_EQ(f.Calib[12].FDown, 0.01);
  EXPECT_EQ(f.Assign[5].Channel, 5);
  EXPECT_FALSE(f.Assign[5].Inv);
}

TEST(RcIntFormSettings, RoundTripInTheUsersNumberFormat) {
  test_support::TempDir dir;
  {
    SettingsStore store(dir.path(), NumberFormat{','});
    FakeInterface f;
    f.Calib[12] = {127.5, 0.0078125, 1.0 / 3.0};
    f.Assign[2] = {6, true, false};
    f.Assign[7] = {-1, false, true};
    f.WriteSettings(store);
    store.Flush();
    EXPECT_EQ(store.ReadString("RcFakeForm", "centre12", ""), "127,5");
    EXPECT_EQ(store.ReadString("RcFakeForm", "i7", ""), "-1");
    EXPECT_EQ(store.ReadString("RcFakeForm", "inv2", ""), "1");
  }
  SettingsStore store(dir.path(), NumberFormat{','});
  FakeInterface f;
  f.ReadSettings(store);
  EXPECT_DOUBLE_EQ(f.Calib[12].Centre, 127.5);
  EXPECT_DOUBLE_EQ(f.Calib[12].FUp, 0.0078125);
  EXPECT_NEAR(f.Calib[12].FDown, 1.0 / 3.0, 1e-15);
  EXPECT_EQ(f.Assign[2].Channel, 6);
  EXPECT_TRUE(f.Assign[2].Inv);
  EXPECT_EQ(f.Assign[7].Channel, -1);
  EXPECT_TRUE(f.Assign[7].Exp);
}

TEST(RcIntFormSettings, UnreadableTextFallsBackToDefaults) {
  test_support::TempDir dir;
  std::ofstream(dir.path() / "settings.ini")
      << "[RcFakeForm]\ncentre0=12.5\ni0=x\ninv0=true\nfup1=0,5\n";
  SettingsStore store(dir.path(), NumberFormat{'.'});
  FakeInterface f;
  f.ReadSettings(store);
  EXPECT_DOUBLE_EQ(f.Calib[0].Centre, 12.5);
  EXPECT_EQ(f.Assign[0].Channel, 0);
  EXPECT_FALSE(f.Assign[0].Inv);
  EXPECT_DOUBLE_EQ(f.Calib[1].FUp, 0.01);  // decimal comma under an English locale
}

}  // namespace
}  // namespace veltrane
