#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace veltrane::sound {

// PCM sample data of a WAV file: 8-bit unsigned or 16-bit signed, 1 or 2 channels.
struct WavData {
  int sampleRate = 0;
  int bitsPerSample = 0;
  int channels = 0;
  std::vector<std::uint8_t> bytes;
};

// Reads a WAV through SDL; other sample formats and more channels are converted
// to 16-bit stereo. Returns false with a reason when the file cannot be used.
bool LoadWav(const std::string& file, WavData& out, std::string* error);

}  // namespace veltrane::sound
