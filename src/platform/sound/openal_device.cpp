#include "platform/sound/openal_device.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <cmath>
#include <cstdint>

#include "platform/sound/wav_file.h"

namespace veltrane::sound {

namespace {

class OpenAlStream final : public SoundStream {
 public:
  OpenAlStream(const WavData& wav, bool looping)
      : wav_(wav.sampleRate, wav.bitsPerSample, wav.channels) {
    alGenBuffers(1, &buffer_);
    ALenum format = AL_FORMAT_MONO16;
    if (wav.bitsPerSample == 8)
      format = wav.channels == 2 ? AL_FORMAT_STEREO8 : AL_FORMAT_MONO8;
    else
      format = wav.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
    alBufferData(buffer_, format, wav.bytes.data(), static_cast<ALsizei>(wav.bytes.size()),
                 wav.sampleRate);
    alGenSources(1, &source_);
    // No distance model: loudness and pitch come only from the program's own formulas.
    alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source_, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source_, AL_ROLLOFF_FACTOR, 0.0f);
    alSourcei(source_, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    alSourcei(source_, AL_BUFFER, static_cast<ALint>(buffer_));
    frequency_ = wav.sampleRate;
  }
  ~OpenAlStream() override {
    alSourceStop(source_);
    alDeleteSources(1, &source_);
    alDeleteBuffers(1, &buffer_);
  }
  bool ok() const { return alGetError() == AL_NO_ERROR; }

  void Play() override { alSourcePlay(source_); }
  void Stop() override { alSourceStop(source_); }
  void Rewind() override { alSourceRewind(source_); }
  bool Playing() const override {
    ALint state = AL_STOPPED;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
  }
  void SetVolume(int v) override {
    if (!VolumeInRange(v)) return;
    volume_ = v;
    alSourcef(source_, AL_GAIN, static_cast<ALfloat>(std::pow(10.0, v / 2000.0)));
  }
  void SetFrequency(int hz) override {
    if (!FrequencyInRange(hz)) return;
    frequency_ = hz;
    alSourcef(source_, AL_PITCH, static_cast<ALfloat>(static_cast<double>(hz) / wav_.rate));
  }
  int Volume() const override { return volume_; }
  int Frequency() const override { return frequency_; }
  int SampleRate() const override { return wav_.rate; }
  int BitsPerSample() const override { return wav_.bits; }
  int Channels() const override { return wav_.channels; }

 private:
  struct Format {
    Format(int r, int b, int c) : rate(r), bits(b), channels(c) {}
    int rate, bits, channels;
  } wav_;
  ALuint buffer_ = 0;
  ALuint source_ = 0;
  int volume_ = 0;
  int frequency_ = 0;
};

// One cycle of the vario's tone: a sine with a little third harmonic, which
// small speakers carry better than a pure sine. Starts and ends at zero, so the
// loop and each new beep begin without a click.
WavData ToneCycle() {
  constexpr int kRate = 44100;
  WavData wav;
  wav.sampleRate = kRate;
  wav.bitsPerSample = 16;
  wav.channels = 1;
  for (int i = 0; i < kToneSamplesPerCycle; ++i) {
    const double a = 2.0 * M_PI * i / kToneSamplesPerCycle;
    const double v = 0.45 * (std::sin(a) + 0.2 * std::sin(3.0 * a));
    const auto sample = static_cast<std::int16_t>(std::lround(v * 32767.0));
    wav.bytes.push_back(static_cast<std::uint8_t>(sample & 0xFF));
    wav.bytes.push_back(static_cast<std::uint8_t>((sample >> 8) & 0xFF));
  }
  return wav;
}

}  // namespace

OpenAlDevice::~OpenAlDevice() {
  if (context_) {
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
  }
  if (device_) alcCloseDevice(device_);
}

std::unique_ptr<OpenAlDevice> OpenAlDevice::OpenDefault(std::string* error) {
  std::unique_ptr<OpenAlDevice> d(new OpenAlDevice());
  d->device_ = alcOpenDevice(nullptr);
  if (!d->device_) {
    if (error) *error = "no audio output device";
    return nullptr;
  }
  d->context_ = alcCreateContext(d->device_, nullptr);
  if (!d->context_ || !d->MakeCurrent()) {
    if (error) *error = "audio device has no usable context";
    return nullptr;
  }
  return d;
}

std::unique_ptr<OpenAlDevice> OpenAlDevice::OpenLoopback(int sampleRate, std::string* error) {
  if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) {
    if (error) *error = "ALC_SOFT_loopback not available";
    return nullptr;
  }
  auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
      alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  std::unique_ptr<OpenAlDevice> d(new OpenAlDevice());
  d->loopback_ = true;
  d->device_ = open ? open(nullptr) : nullptr;
  if (!d->device_) {
    if (error) *error = "loopback device did not open";
    return nullptr;
  }
  const ALCint attrs[] = {ALC_FORMAT_CHANNELS_SOFT,
                          ALC_STEREO_SOFT,
                          ALC_FORMAT_TYPE_SOFT,
                          ALC_FLOAT_SOFT,
                          ALC_FREQUENCY,
                          sampleRate,
                          0};
  d->context_ = alcCreateContext(d->device_, attrs);
  if (!d->context_ || !d->MakeCurrent()) {
    if (error) *error = "loopback context did not open";
    return nullptr;
  }
  return d;
}

bool OpenAlDevice::MakeCurrent() const { return alcMakeContextCurrent(context_) == ALC_TRUE; }

std::unique_ptr<SoundStream> OpenAlDevice::Open(const std::string& file, bool looping) {
  WavData wav;
  if (!LoadWav(file, wav, nullptr)) return nullptr;
  MakeCurrent();
  alGetError();
  auto stream = std::make_unique<OpenAlStream>(wav, looping);
  if (!stream->ok()) return nullptr;
  return stream;
}

std::unique_ptr<SoundStream> OpenAlDevice::OpenTone() {
  MakeCurrent();
  alGetError();
  auto stream = std::make_unique<OpenAlStream>(ToneCycle(), true);
  if (!stream->ok()) return nullptr;
  return stream;
}

std::vector<float> OpenAlDevice::Render(int frames) {
  std::vector<float> out(static_cast<std::size_t>(frames) * 2, 0.0f);
  if (!loopback_) return out;
  auto render =
      reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(device_, "alcRenderSamplesSOFT"));
  if (render) render(device_, out.data(), frames);
  return out;
}

}  // namespace veltrane::sound
