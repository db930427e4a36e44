#include "platform/sound/wav_file.h"

#include <SDL.h>

#include <cstring>

namespace veltrane::sound {

bool LoadWav(const std::string& file, WavData& out, std::string* error) {
  SDL_AudioSpec spec;
  Uint8* buf = nullptr;
  Uint32 len = 0;
  if (!SDL_LoadWAV(file.c_str(), &spec, &buf, &len)) {
    if (error) *error = SDL_GetError();
    return false;
  }
  const bool direct = (spec.format == AUDIO_U8 || spec.format == AUDIO_S16LSB) &&
                      (spec.channels == 1 || spec.channels == 2);
  if (direct) {
    out.sampleRate = spec.freq;
    out.bitsPerSample = spec.format == AUDIO_U8 ? 8 : 16;
    out.channels = spec.channels;
    out.bytes.assign(buf, buf + len);
    SDL_FreeWAV(buf);
    return !out.bytes.empty();
  }
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16LSB, 2, spec.freq) < 0) {
    if (error) *error = SDL_GetError();
    SDL_FreeWAV(buf);
    return false;
  }
  std::vector<std::uint8_t> work(static_cast<std::size_t>(len) * static_cast<std::size_t>(cvt.len_mult));
  std::memcpy(work.data(), buf, len);
  SDL_FreeWAV(buf);
  cvt.buf = work.data();
  cvt.len = static_cast<int>(len);
  if (SDL_ConvertAudio(&cvt) < 0) {
    if (error) *error = SDL_GetError();
    return false;
  }
  work.resize(static_cast<std::size_t>(cvt.len_cvt));
  out.sampleRate = spec.freq;
  out.bitsPerSample = 16;
  out.channels = 2;
  out.bytes = std::move(work);
  return !out.bytes.empty();
}

}  // namespace veltrane::sound
