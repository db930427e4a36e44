#pragma once

#include <AL/alc.h>

#include <memory>
#include <string>
#include <vector>

#include "app/sound/sound_device.h"

namespace veltrane::sound {

// The audio layer on OpenAL Soft. Each sound is the whole WAV file in one
// looping (or one-shot) buffer, so playback never has a gap. Gain follows the
// volume as 10^(volume/2000), pitch the frequency divided by the file's rate.
class OpenAlDevice final : public SoundDevice {
 public:
  ~OpenAlDevice() override;

  // The system's default output; null (with a reason) when none opens.
  static std::unique_ptr<OpenAlDevice> OpenDefault(std::string* error);
  // An off-line device whose mix is read with Render (stereo float samples).
  static std::unique_ptr<OpenAlDevice> OpenLoopback(int sampleRate, std::string* error);

  std::unique_ptr<SoundStream> Open(const std::string& file, bool looping) override;
  std::unique_ptr<SoundStream> OpenTone() override;
  void SetPrimaryFormat(int, int, int) override {}  // OpenAL mixes at its own rate

  // Loopback only: mixes the next frames into interleaved stereo floats.
  std::vector<float> Render(int frames);

 private:
  OpenAlDevice() = default;
  bool MakeCurrent() const;

  ALCdevice* device_ = nullptr;
  ALCcontext* context_ = nullptr;
  bool loopback_ = false;
};

}  // namespace veltrane::sound
