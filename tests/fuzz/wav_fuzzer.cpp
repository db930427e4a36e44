// The sound file reader: a ".wav" converted to the format the mixer plays.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/sound/wav_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrane;
  const std::string file =
      fuzz::WriteScratch("sound.wav", std::string_view(reinterpret_cast<const char*>(data), size));
  sound::WavData wav;
  std::string error;
  if (sound::LoadWav(file, wav, &error)) {
    // Whole frames of the converted format, or the mixer reads past the end.
    const std::size_t frame = static_cast<std::size_t>(wav.channels) * (wav.bitsPerSample / 8);
    if (wav.sampleRate <= 0 || frame == 0 || wav.bytes.size() % frame != 0) std::abort();
  }
  return 0;
}
