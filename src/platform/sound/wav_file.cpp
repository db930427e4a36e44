#include "platform/sound/wav_file.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace veltrane::sound {

namespace {

// Engine and crash sounds are tens of kilobytes; a file far beyond that is no sound of ours.
constexpr std::size_t kMaxWavBytes = std::size_t{16} << 20;

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

void SetLe32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The decoder allocates what the chunk headers announce before it reads; a
// header that announces more than the file holds is cut to what is there, as
// a truncated download is still worth playing.
void ClampChunkSizes(std::vector<std::uint8_t>& b) {
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0) return;
  SetLe32(b, 4, static_cast<std::uint32_t>(std::min<std::size_t>(Le32(b, 4), b.size() - 8)));
  std::size_t at = 12;
  while (at + 8 <= b.size()) {
    const std::size_t room = b.size() - at - 8;
    const std::size_t size = std::min<std::size_t>(Le32(b, at + 4), room);
    SetLe32(b, at + 4, static_cast<std::uint32_t>(size));
    at += 8 + size + (size & 1);
  }
}

bool ReadSoundFile(const std::string& file, std::vector<std::uint8_t>& bytes, std::string* error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    if (error) *error = "cannot open " + file;
    return false;
  }
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<std::uint64_t>(size) > kMaxWavBytes) {
    if (error) *error = file + " is larger than " + std::to_string(kMaxWavBytes) + " bytes";
    return false;
  }
  in.seekg(0);
  bytes.resize(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), size);
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return true;
}

}  // namespace

bool LoadWav(const std::string& file, WavData& out, std::string* error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadSoundFile(file, bytes, error)) return false;
  // Without the RIFF header the decoder would trust the first chunk's length as it stands.
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    if (error) *error = file + " is not a RIFF WAVE file";
    return false;
  }
  ClampChunkSizes(bytes);
  SDL_AudioSpec spec;
  Uint8* buf = nullptr;
  Uint32 len = 0;
  if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1, &spec,
                      &buf, &len)) {
    if (error) *error = SDL_GetError();
    return false;
  }
  const bool direct = (spec.format == AUDIO_U8 || spec.format == AUDIO_S16LSB) &&
                      (spec.channels == 1 || spec.channels == 2);
  if (direct) {
    out.sampleRate = spec.freq;
    out.bitsPerSample = spec.format == AUDIO_U8 ? 8 : 16;
    out.channels = spec.channels;
    // A data chunk cut off mid-frame: the player takes whole frames only.
    const Uint32 frame = static_cast<Uint32>(spec.channels) * (spec.format == AUDIO_U8 ? 1u : 2u);
    out.bytes.assign(buf, buf + len / frame * frame);
    SDL_FreeWAV(buf);
    return !out.bytes.empty();
  }
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16LSB, 2, spec.freq) <
      0) {
    if (error) *error = SDL_GetError();
    SDL_FreeWAV(buf);
    return false;
  }
  if (len == 0) {
    if (error) *error = file + " holds no sound";
    SDL_FreeWAV(buf);
    return false;
  }
  std::vector<std::uint8_t> work(static_cast<std::size_t>(len) *
                                 static_cast<std::size_t>(cvt.len_mult));
  std::memcpy(work.data(), buf, len);
  SDL_FreeWAV(buf);
  cvt.buf = work.data();
  cvt.len = static_cast<int>(len);
  if (SDL_ConvertAudio(&cvt) < 0) {
    if (error) *error = SDL_GetError();
    return false;
  }
  work.resize(static_cast<std::size_t>(cvt.len_cvt) / 4 * 4);  // whole 16-bit stereo frames
  out.sampleRate = spec.freq;
  out.bitsPerSample = 16;
  out.channels = 2;
  out.bytes = std::move(work);
  return !out.bytes.empty();
}

}  // namespace veltrane::sound
