#include "app/sound/engine_sound.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "support/temp_dir.h"

namespace veltrane::sound {
namespace {

// Records what the sound logic asks of the audio layer, with the layer's range rules.
struct FakeStream : SoundStream {
  explicit FakeStream(std::string f) : file(std::move(f)) {}
  std::string file;
  bool playing = false;
  int plays = 0, rewinds = 0, volume = 0, frequency = 22050;
  void Play() override {
    playing = true;
    ++plays;
  }
  void Stop() override { playing = false; }
  void Rewind() override { ++rewinds; }
  bool Playing() const override { return playing; }
  void SetVolume(int v) override {
    if (VolumeInRange(v)) volume = v;
  }
  void SetFrequency(int f) override {
    if (FrequencyInRange(f)) frequency = f;
  }
  int Volume() const override { return volume; }
  int Frequency() const override { return frequency; }
  int SampleRate() const override { return 22050; }
  int BitsPerSample() const override { return 16; }
  int Channels() const override { return 1; }
};

struct FakeDevice : SoundDevice {
  std::unique_ptr<SoundStream> Open(const std::string& file, bool) override {
    ++opened;
    return std::make_unique<FakeStream>(file);
  }
  void SetPrimaryFormat(int, int, int) override {}
  int opened = 0;
};

class EngineSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Touch("crash.wav");
    Touch("motor.wav");
    s.PilotPosition = {0, 0, 2};
    s.ModelPosition = {0, 0, 2};
    s.Airplane.MaxThrust = 20;
  }
  std::string Touch(const std::string& name) {
    const auto p = (dir / name).string();
    std::ofstream(p) << "RIFF";
    return p;
  }
  const FakeStream* Engine() const { return static_cast<const FakeStream*>(sound.Engine()); }
  const FakeStream* Crash() const { return static_cast<const FakeStream*>(sound.Crash()); }

  test_support::TempDir temp;
  const std::filesystem::path dir = temp.path();
  FakeDevice device;
  TraceCapture traces;
  Trace trace = traces.Sink();
  EngineSound sound{&device, trace};
  SimState s;
};

TEST(EngineSoundFormulas, VolumeFallsWithDistanceAndMasterVolume) {
  EXPECT_EQ(EngineSound::VolumeAt(0, 100), 0);
  EXPECT_EQ(EngineSound::VolumeAt(0, 0), -2400);
  EXPECT_EQ(EngineSound::VolumeAt(500, 0), -4000);
  EXPECT_EQ(EngineSound::VolumeAt(500, 70), -4000);
  EXPECT_EQ(EngineSound::VolumeAt(100, 100), -800);
  // Truncation toward zero, not floor.
  EXPECT_EQ(EngineSound::VolumeAt(0.01, 100), 0);
}

TEST(EngineSoundFormulas, PitchFollowsThrottleSpeedAndDoppler) {
  SimState s;
  s.PilotPosition = {0, 0, 0};
  s.ModelPosition = {0, 100, 0};
  s.FunctionValue[fn::kThrottle] = 0.0;  // half throttle
  EXPECT_EQ(EngineSound::EngineFrequency(s), 8000);
  s.FunctionValue[fn::kThrottle] = -1.0;
  EXPECT_EQ(EngineSound::EngineFrequency(s), 0);
  s.iModelStyle = 1;
  EXPECT_EQ(EngineSound::EngineFrequency(s), 20000);
  // 34 m/s towards the pilot: 10 % higher; away: 10 % lower.
  s.ModelVelocity = {0, -34, 0};
  EXPECT_NEAR(EngineSound::EngineFrequency(s), 22000, 1);
  s.ModelVelocity = {0, 34, 0};
  EXPECT_NEAR(EngineSound::EngineFrequency(s), 18000, 1);
  // At the pilot's own place the approach speed counts as 0, not NaN.
  s.ModelPosition = s.PilotPosition;
  EXPECT_EQ(EngineSound::EngineFrequency(s), 20000);
}

TEST_F(EngineSoundTest, EngineSilentWhileCrashedAndForGliders) {
  sound.LoadSound((dir / "motor.wav").string(), s);
  ASSERT_NE(Engine(), nullptr);
  EXPECT_TRUE(Engine()->playing);
  s.FunctionValue[fn::kThrottle] = 1.0;
  sound.UpdateSound(s, false);
  EXPECT_EQ(Engine()->volume, EngineSound::VolumeAt(0, 70));
  EXPECT_EQ(Engine()->frequency, 16000);
  s.Crashed = true;
  for (int frame = 0; frame < 3; ++frame) {
    sound.UpdateSound(s, false);
    EXPECT_EQ(Engine()->volume, -10000);
  }
  s.Crashed = false;
  s.Airplane.MaxThrust = 0.0;
  sound.UpdateSound(s, false);
  EXPECT_EQ(Engine()->volume, -10000);
}

TEST_F(EngineSoundTest, CrashSoundRestartsOnEveryCrash) {
  sound.LoadCrashSound(dir.string() + "/");
  ASSERT_NE(Crash(), nullptr);
  EXPECT_TRUE(traces.Contains("TMainForm.FormCreate Loading CrashSound\r\n"));
  sound.UpdateSound(s, true);
  EXPECT_EQ(Crash()->plays, 1);
  sound.UpdateSound(s, false);
  EXPECT_EQ(Crash()->plays, 1);
  sound.UpdateSound(s, true);  // still playing from the first crash: rewound and replayed
  EXPECT_EQ(Crash()->plays, 2);
  EXPECT_EQ(Crash()->rewinds, 2);
}

TEST_F(EngineSoundTest, ModelWithoutWavIsSilentAndPreviousSoundGone) {
  sound.LoadSound((dir / "motor.wav").string(), s);
  ASSERT_NE(Engine(), nullptr);
  sound.LoadSound((dir / "nothing.wav").string(), s);
  EXPECT_EQ(Engine(), nullptr);
  EXPECT_EQ(device.opened, 1);
  EXPECT_EQ(traces.Count("TMainForm.LoadSound File: " + (dir / "motor.wav").string() + "\r\n"), 1u);
}

TEST_F(EngineSoundTest, FarAwayVolumesAreIgnoredAndPreviousValueStays) {
  sound.LoadSound((dir / "motor.wav").string(), s);
  s.FunctionValue[fn::kThrottle] = 1.0;
  s.ModelPosition = {0, 1000, 2};
  sound.UpdateSound(s, false);
  const int at1000 = Engine()->volume;
  EXPECT_EQ(at1000, EngineSound::VolumeAt(1000, 70));
  s.ModelPosition = {0, 5000, 2};  // below -10000: the layer keeps the previous value
  sound.UpdateSound(s, false);
  EXPECT_EQ(Engine()->volume, at1000);
}

TEST_F(EngineSoundTest, DialogSwitchesEngineOnAndOff) {
  sound.LoadSound((dir / "motor.wav").string(), s);
  sound.ApplySettings(false, 40, s);
  EXPECT_FALSE(Engine()->playing);
  EXPECT_EQ(sound.SoundVolume, 40);
  // Off: updates change nothing.
  const int before = Engine()->frequency;
  s.FunctionValue[fn::kThrottle] = 1.0;
  sound.UpdateSound(s, false);
  EXPECT_EQ(Engine()->frequency, before);
  sound.ApplySettings(true, 40, s);
  EXPECT_TRUE(Engine()->playing);
  EXPECT_EQ(Engine()->frequency, 16000);
}

TEST(EngineSoundNoDevice, EverythingIsANoOp) {
  TraceCapture traces;
  EngineSound sound(nullptr, traces.Sink());
  SimState s;
  EXPECT_FALSE(sound.SoundAvailable());
  sound.LoadCrashSound("/tmp/");
  sound.LoadSound("/tmp/x.wav", s);
  sound.UpdateSound(s, true);
  sound.DXSoundFinalize();
  EXPECT_TRUE(traces.Lines().empty());
}

}  // namespace
}  // namespace veltrane::sound
