// Writes the program's sounds: crash.wav, motor.wav and the engine sounds of the models.
// Usage: veltrane-gen-sounds OUTPUT_DIR   (the data folder layout: OUTPUT_DIR/Model/...)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <numbers>
#include <string>
#include <vector>

#include "file_writers.h"
#include "noise.h"

namespace veltrane::content {
namespace {

constexpr int kRate = 22050;
constexpr double kPi = std::numbers::pi;

struct Resonance {
  double freq;   // Hz at the file's own rate
  double decay;  // seconds to fall to 1/e
  double gain;
};

// One engine: identical firing pulses with small deterministic variations, rendered
// circularly into a buffer of a whole number of firing periods so that the loop
// point is inaudible (each pulse's ringing wraps round into the start).
struct EngineVoice {
  int period;   // samples between firings at the file's own rate
  int firings;  // firings in the loop
  std::vector<Resonance> resonances;
  double noise_gain;   // broadband exhaust hiss of each pulse
  double noise_decay;  // seconds
  double body_gain;    // sine at the firing frequency (crankcase, prop wash)
  double variation;    // relative spread of pulse strength
  int pattern;         // >1: every n-th firing is weaker (uneven firing order)
  std::uint32_t seed;
};

std::vector<double> RenderEngine(const EngineVoice& v) {
  const int n = v.period * v.firings;
  std::vector<double> out(static_cast<size_t>(n), 0.0);
  Sequence seq(v.seed);
  const int pulse_len = std::min(n, v.period * 4);
  for (int k = 0; k < v.firings; ++k) {
    double strength = 1.0 + v.variation * (2.0 * seq.Next() - 1.0);
    if (v.pattern > 1 && k % v.pattern == 0) strength *= 0.7;
    const int jitter = static_cast<int>(std::lround(2.0 * seq.Next() - 1.0));
    const int start = k * v.period + jitter;
    double lp = 0.0;  // one-pole low-pass state of the noise burst
    for (int j = 0; j < pulse_len; ++j) {
      const double t = static_cast<double>(j) / kRate;
      double s = 0.0;
      for (const Resonance& r : v.resonances)
        s += r.gain * std::exp(-t / r.decay) * std::sin(2.0 * kPi * r.freq * t);
      const double white = 2.0 * seq.Next() - 1.0;
      lp += 0.35 * (white - lp);
      s += v.noise_gain * std::exp(-t / v.noise_decay) * lp;
      // A short attack keeps the pulse from clicking.
      const double attack = std::min(1.0, t * kRate / 6.0);
      const size_t idx = static_cast<size_t>(((start + j) % n + n) % n);
      out[idx] += strength * attack * s;
    }
  }
  for (int i = 0; i < n; ++i)
    out[static_cast<size_t>(i)] += v.body_gain * std::sin(2.0 * kPi * i / v.period);
  double mean = 0.0;
  for (double s : out) mean += s;
  mean /= n;
  double peak = 1e-9;
  for (double& s : out) {
    s -= mean;
    peak = std::max(peak, std::fabs(s));
  }
  for (double& s : out) s *= 0.8 / peak;
  return out;
}

// The default engine (".mdl" models): a small two-stroke glow engine, bright and buzzy.
std::vector<double> Motor() {
  EngineVoice v{};
  v.period = 126;  // 175 Hz firing at the file's rate, about full throttle
  v.firings = 175;
  v.resonances = {
      {520.0, 0.0030, 1.0}, {1250.0, 0.0018, 0.7}, {2650.0, 0.0009, 0.45}, {4100.0, 0.0005, 0.25}};
  v.noise_gain = 0.9;
  v.noise_decay = 0.0012;
  v.body_gain = 0.12;
  v.variation = 0.12;
  v.pattern = 1;
  v.seed = 17;
  return RenderEngine(v);
}

// The aerobatic airplane: a twin-cylinder petrol engine, deeper with a lumpy beat.
std::vector<double> TwinEngine() {
  EngineVoice v{};
  v.period = 180;  // 122.5 Hz firing
  v.firings = 122;
  v.resonances = {
      {310.0, 0.0050, 1.0}, {760.0, 0.0030, 0.8}, {1650.0, 0.0014, 0.4}, {3100.0, 0.0007, 0.2}};
  v.noise_gain = 0.7;
  v.noise_decay = 0.0020;
  v.body_gain = 0.18;
  v.variation = 0.10;
  v.pattern = 2;
  v.seed = 29;
  return RenderEngine(v);
}

// The helicopter: turbine-like whine over the rotor's blade slap.
std::vector<double> Helicopter() {
  EngineVoice v{};
  v.period = 334;  // blade passing, 66 Hz at the file's rate
  v.firings = 66;
  v.resonances = {{180.0, 0.012, 1.0}, {420.0, 0.006, 0.5}, {950.0, 0.002, 0.2}};
  v.noise_gain = 1.2;
  v.noise_decay = 0.004;
  v.body_gain = 0.25;
  v.variation = 0.04;
  v.pattern = 1;
  v.seed = 43;
  std::vector<double> out = RenderEngine(v);
  // Gear whine: whole multiples of the blade rate keep the loop seamless.
  const double n = static_cast<double>(out.size());
  for (size_t i = 0; i < out.size(); ++i) {
    const double ph = 2.0 * kPi * static_cast<double>(i) / n;
    out[i] = 0.8 * out[i] + 0.08 * std::sin(ph * 66.0 * 23.0) + 0.05 * std::sin(ph * 66.0 * 41.0);
  }
  return out;
}

// A four-stroke glow engine: slower, rounder beat than the two-stroke.
std::vector<double> FourStroke() {
  EngineVoice v{};
  v.period = 150;  // 147 Hz firing
  v.firings = 147;
  v.resonances = {{380.0, 0.0045, 1.0}, {900.0, 0.0025, 0.6}, {2100.0, 0.0010, 0.3}};
  v.noise_gain = 0.6;
  v.noise_decay = 0.0018;
  v.body_gain = 0.2;
  v.variation = 0.08;
  v.pattern = 1;
  v.seed = 53;
  return RenderEngine(v);
}

// A big radial petrol engine for the warbird: deep, uneven, with a heavy body.
std::vector<double> Radial() {
  EngineVoice v{};
  v.period = 245;  // 90 Hz firing
  v.firings = 90;
  v.resonances = {{210.0, 0.0070, 1.0}, {520.0, 0.0040, 0.7}, {1200.0, 0.0018, 0.35}};
  v.noise_gain = 0.8;
  v.noise_decay = 0.0030;
  v.body_gain = 0.3;
  v.variation = 0.15;
  v.pattern = 3;
  v.seed = 61;
  return RenderEngine(v);
}

// Electric motors: a steady whine of the motor and the fan or propeller blades over a
// little air noise. `blade` is the blade-passing period in samples, `whine` the
// motor's harmonic of it.
std::vector<double> Electric(int blade, int blades_in_loop, int whine, double air,
                             std::uint32_t seed) {
  const int n = blade * blades_in_loop;
  std::vector<double> out(static_cast<size_t>(n));
  Sequence seq(seed);
  double lp = 0.0;
  for (int i = 0; i < n; ++i) {
    const double ph = 2.0 * kPi * i / blade;
    lp += 0.2 * ((2.0 * seq.Next() - 1.0) - lp);
    out[static_cast<size_t>(i)] = 0.45 * std::sin(ph) + 0.2 * std::sin(2.0 * ph) +
                                  0.25 * std::sin(ph * whine) + 0.1 * std::sin(ph * (whine + 1)) +
                                  air * lp;
  }
  double peak = 1e-9;
  for (double v : out) peak = std::max(peak, std::fabs(v));
  for (double& v : out) v *= 0.8 / peak;
  return out;
}

// Impact: a low thump, a noise burst and a scatter of debris clicks.
std::vector<double> Crash() {
  const int n = kRate * 3 / 2;
  std::vector<double> out(static_cast<size_t>(n), 0.0);
  Sequence seq(5);
  double phase = 0.0;
  double lp = 0.0;
  double lp2 = 0.0;
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double f = 40.0 + 90.0 * std::exp(-t / 0.08);
    phase += 2.0 * kPi * f / kRate;
    double s = 0.9 * std::exp(-t / 0.18) * std::sin(phase);
    const double white = 2.0 * seq.Next() - 1.0;
    lp += 0.5 * (white - lp);
    lp2 += 0.08 * (white - lp2);
    s += 0.8 * std::exp(-t / 0.09) * lp + 0.9 * std::exp(-t / 0.35) * lp2;
    out[static_cast<size_t>(i)] = s;
  }
  for (int k = 0; k < 40; ++k) {
    const int at = static_cast<int>(std::pow(seq.Next(), 2.0) * n * 0.7);
    const double gain = 0.5 * (1.0 - static_cast<double>(at) / n) * (0.3 + seq.Next());
    const double freq = 900.0 + 3000.0 * seq.Next();
    for (int j = 0; j < 600 && at + j < n; ++j) {
      const double t = static_cast<double>(j) / kRate;
      out[static_cast<size_t>(at + j)] +=
          gain * std::exp(-t / 0.004) * std::sin(2 * kPi * freq * t);
    }
  }
  double peak = 1e-9;
  for (double s : out) peak = std::max(peak, std::fabs(s));
  for (int i = 0; i < n; ++i) {
    const double fade = std::min(1.0, static_cast<double>(n - i) / (kRate * 0.2));
    out[static_cast<size_t>(i)] *= 0.9 / peak * fade;
  }
  return out;
}

}  // namespace
}  // namespace veltrane::content

int main(int argc, char** argv) {
  using namespace veltrane::content;
  return GeneratorMain(argc, argv, [](const std::string& dir) {
    MakeDirs(dir + "/Model");
    WriteWav(dir + "/crash.wav", Crash(), kRate);
    WriteWav(dir + "/motor.wav", Motor(), kRate);
    WriteWav(dir + "/Model/su-26.wav", TwinEngine(), kRate);
    WriteWav(dir + "/Model/heli.wav", Helicopter(), kRate);
    WriteWav(dir + "/Model/parkflyer.wav", Motor(), kRate);
    WriteWav(dir + "/Model/sport.wav", FourStroke(), kRate);
    WriteWav(dir + "/Model/warbird.wav", Radial(), kRate);
    // The fan: many blades, a high whine and plenty of rushing air.
    WriteWav(dir + "/Model/edf-jet.wav", Electric(21, 1050, 5, 0.9, 71), kRate);
    WriteWav(dir + "/Model/motor-glider.wav", Electric(90, 245, 7, 0.3, 73), kRate);
    WriteWav(dir + "/Model/heli-sport.wav", Helicopter(), kRate);
  });
}
