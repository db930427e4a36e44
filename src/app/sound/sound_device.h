#pragma once

#include <memory>
#include <string>

namespace veltrane::sound {

// One loaded sound: the whole file, ready to play. Volume is in hundredths of a
// decibel (0 unattenuated, -10000 silent), frequency is the playback rate in Hz.
class SoundStream {
 public:
  virtual ~SoundStream() = default;
  virtual void Play() = 0;
  virtual void Stop() = 0;
  virtual void Rewind() = 0;
  virtual bool Playing() const = 0;
  // Values outside -10000..0 are ignored and the previous volume stays.
  virtual void SetVolume(int hundredthsDb) = 0;
  // Values outside 100..100000 Hz are ignored and the previous frequency stays.
  virtual void SetFrequency(int hz) = 0;
  virtual int Volume() const = 0;
  virtual int Frequency() const = 0;
  // The file's own format.
  virtual int SampleRate() const = 0;
  virtual int BitsPerSample() const = 0;
  virtual int Channels() const = 0;
};

// What the engine and crash sound ask of the audio layer.
class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  // Reads a WAV file; null when it cannot be read.
  virtual std::unique_ptr<SoundStream> Open(const std::string& file, bool looping) = 0;
  // A generated tone, looping, kToneSamplesPerCycle samples a cycle: playing it
  // at the rate hz * kToneSamplesPerCycle sounds hz. Null where the layer has none.
  virtual std::unique_ptr<SoundStream> OpenTone() { return nullptr; }
  // The format of the mixing buffer; a hint only on layers that mix themselves.
  virtual void SetPrimaryFormat(int sampleRate, int bitsPerSample, int channels) = 0;
};

constexpr int kToneSamplesPerCycle = 40;

// Range checks every audio layer applies before passing a value on.
constexpr int kMinVolume = -10000;
constexpr int kMaxVolume = 0;
constexpr int kMinFrequency = 100;
constexpr int kMaxFrequency = 100000;
inline bool VolumeInRange(int v) { return v >= kMinVolume && v <= kMaxVolume; }
inline bool FrequencyInRange(int f) { return f >= kMinFrequency && f <= kMaxFrequency; }

}  // namespace veltrane::sound
