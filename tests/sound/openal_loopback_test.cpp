#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/sound/openal_device.h"
#include "support/temp_dir.h"

namespace veltrane::sound {
namespace {

constexpr int kMixRate = 48000;

// A 16-bit mono sine WAV of the given tone.
std::string WriteSine(const std::filesystem::path& path, int rate, double hz, double seconds,
                      int bits) {
  const int n = static_cast<int>(rate * seconds);
  std::vector<std::uint8_t> data;
  for (int i = 0; i < n; ++i) {
    const double v = 0.25 * std::sin(2.0 * M_PI * hz * i / rate);
    if (bits == 16) {
      const auto s = static_cast<std::int16_t>(std::lround(v * 32767));
      data.push_back(static_cast<std::uint8_t>(s & 0xFF));
      data.push_back(static_cast<std::uint8_t>((s >> 8) & 0xFF));
    } else {
      data.push_back(static_cast<std::uint8_t>(std::lround(128 + v * 127)));
    }
  }
  std::ofstream f(path, std::ios::binary);
  auto u32 = [&](std::uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](std::uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
  f.write("RIFF", 4);
  u32(static_cast<std::uint32_t>(36 + data.size()));
  f.write("WAVEfmt ", 8);
  u32(16);
  u16(1);
  u16(1);
  u32(static_cast<std::uint32_t>(rate));
  u32(static_cast<std::uint32_t>(rate * bits / 8));
  u16(static_cast<std::uint16_t>(bits / 8));
  u16(static_cast<std::uint16_t>(bits));
  f.write("data", 4);
  u32(static_cast<std::uint32_t>(data.size()));
  f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  return path.string();
}

// Dominant frequency of the left channel: the strongest bin of a direct DFT
// over a coarse grid, refined around the peak.
double DominantFrequency(const std::vector<float>& stereo, int rate) {
  std::vector<double> x;
  for (std::size_t i = 0; i < stereo.size(); i += 2) x.push_back(stereo[i]);
  auto power = [&](double hz) {
    double re = 0, im = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
      const double a = 2.0 * M_PI * hz * static_cast<double>(i) / rate;
      re += x[i] * std::cos(a);
      im += x[i] * std::sin(a);
    }
    return re * re + im * im;
  };
  double best = 0, bestHz = 0;
  for (double hz = 50; hz < 8000; hz += 10) {
    const double p = power(hz);
    if (p > best) best = p, bestHz = hz;
  }
  for (double hz = bestHz - 10; hz <= bestHz + 10; hz += 0.25) {
    const double p = power(hz);
    if (p > best) best = p, bestHz = hz;
  }
  return bestHz;
}

double Rms(const std::vector<float>& v) {
  double s = 0;
  for (float f : v) s += static_cast<double>(f) * f;
  return std::sqrt(s / static_cast<double>(v.size()));
}

class OpenAlLoopback : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    device = OpenAlDevice::OpenLoopback(kMixRate, &error);
    if (!device) GTEST_SKIP() << error;
  }
  std::unique_ptr<OpenAlDevice> device;
  test_support::TempDir temp;
  const std::filesystem::path dir = temp.path();
};

TEST_F(OpenAlLoopback, PitchFollowsPlaybackFrequency) {
  for (int bits : {16, 8}) {
    auto engine = device->Open(WriteSine(dir / "tone.wav", 22050, 441.0, 1.0, bits), true);
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(engine->SampleRate(), 22050);
    EXPECT_EQ(engine->BitsPerSample(), bits);
    engine->SetFrequency(11025);
    engine->Play();
    device->Render(2048);  // let the mixer settle
    const double low = DominantFrequency(device->Render(8192), kMixRate);
    engine->SetFrequency(33075);
    device->Render(2048);
    const double high = DominantFrequency(device->Render(8192), kMixRate);
    EXPECT_NEAR(low, 220.5, 220.5 * 0.02) << bits;
    EXPECT_NEAR(high / low, 3.0, 3.0 * 0.02) << bits;
    // Out of range: ignored, the previous frequency stays.
    engine->SetFrequency(50);
    EXPECT_EQ(engine->Frequency(), 33075);
    engine->SetFrequency(200000);
    EXPECT_EQ(engine->Frequency(), 33075);
  }
}

TEST_F(OpenAlLoopback, VolumeMinus2000IsOneTenthAmplitude) {
  auto engine = device->Open(WriteSine(dir / "tone.wav", 44100, 500.0, 1.0, 16), true);
  ASSERT_NE(engine, nullptr);
  engine->SetVolume(0);
  engine->Play();
  device->Render(4096);
  const double full = Rms(device->Render(16384));
  engine->SetVolume(-2000);
  device->Render(4096);
  const double tenth = Rms(device->Render(16384));
  ASSERT_GT(full, 0.01);
  EXPECT_NEAR(tenth / full, 0.1, 0.1 * 0.05);
  engine->SetVolume(-20000);  // ignored
  EXPECT_EQ(engine->Volume(), -2000);
  engine->SetVolume(5);  // ignored
  EXPECT_EQ(engine->Volume(), -2000);
}

TEST_F(OpenAlLoopback, OneShotStopsAndRewindReplays) {
  auto crash = device->Open(WriteSine(dir / "crash.wav", 44100, 300.0, 0.05, 16), false);
  ASSERT_NE(crash, nullptr);
  crash->Play();
  device->Render(48000 / 5);
  EXPECT_FALSE(crash->Playing());
  crash->Rewind();
  crash->Play();
  EXPECT_TRUE(crash->Playing());
  EXPECT_GT(Rms(device->Render(512)), 0.01);
}

TEST_F(OpenAlLoopback, UnreadableFilesGiveNoSound) {
  EXPECT_EQ(device->Open((dir / "missing.wav").string(), true), nullptr);
  std::ofstream(dir / "junk.wav") << "this is not a wave file";
  EXPECT_EQ(device->Open((dir / "junk.wav").string(), true), nullptr);
}

}  // namespace
}  // namespace veltrane::sound

#include "platform/sound/program_sound.h"

namespace veltrane::sound {
namespace {

TEST_F(OpenAlLoopback, ProgramSoundPlaysTheEngineAtItsPitch) {
  auto* raw = device.get();
  TraceCapture traces;
  ProgramSound sound(traces.Sink(), std::move(device));
  ASSERT_TRUE(sound.Available());
  SimState s;
  s.Airplane.MaxThrust = 10;
  s.FunctionValue[fn::kThrottle] = 0.0;  // half throttle at rest: 8000 Hz playback
  sound.LoadSound(WriteSine(dir / "motor.wav", 8000, 400.0, 1.0, 16), s);
  ASSERT_NE(sound.Engine().Engine(), nullptr);
  EXPECT_EQ(sound.Engine().Engine()->Frequency(), 8000);
  raw->Render(2048);
  EXPECT_NEAR(DominantFrequency(raw->Render(8192), kMixRate), 400.0, 8.0);
  sound.Apply(false, 70, s);
  raw->Render(1024);
  EXPECT_LT(Rms(raw->Render(1024)), 1e-4);
  device = nullptr;
}

TEST(ProgramSoundNoOutput, IsSilentButRuns) {
  TraceCapture traces;
  ProgramSound sound(traces.Sink(), nullptr, false);
  EXPECT_FALSE(sound.Available());
  SimState s;
  sound.LoadSound("/nonexistent.wav", s);
  sound.UpdateSound(s, true);
  sound.Finalize();
}

}  // namespace
}  // namespace veltrane::sound

namespace veltrane::sound {
namespace {

TEST_F(OpenAlLoopback, VarioBeepsAtItsPitchInLiftAndIsQuietInAGlide) {
  auto* raw = device.get();
  TraceCapture traces;
  ProgramSound sound(traces.Sink(), std::move(device));
  SimState s;  // a glider: no engine, so the vario is on
  s.Airspeed = 10.0;
  s.TimeStep = 1.0 / 60.0;
  auto fly = [&](double climb, int frames) {
    for (int i = 0; i < frames; ++i) {
      s.ModelPosition.z += climb * s.TimeStep;
      sound.UpdateSound(s, false);
    }
  };
  fly(2.0, 60);
  for (int i = 0; i < 60 && !(sound.Vario().Stream() && sound.Vario().Stream()->Playing()); ++i)
    fly(2.0, 1);
  ASSERT_NE(sound.Vario().Stream(), nullptr);
  ASSERT_TRUE(sound.Vario().Stream()->Playing());
  raw->Render(1024);
  const double expected = VarioToneAt(sound.Vario().Climb()).frequencyHz;
  EXPECT_NEAR(DominantFrequency(raw->Render(4096), kMixRate), expected, expected * 0.02);

  fly(-0.8, 120);
  EXPECT_FALSE(sound.Vario().Stream()->Playing());
  raw->Render(1024);
  EXPECT_LT(Rms(raw->Render(1024)), 1e-4);
  device = nullptr;
}

}  // namespace
}  // namespace veltrane::sound
