// Sound files as they come from downloads: cut short, or with chunk headers
// that announce more than the file holds.

#include "platform/sound/wav_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/temp_dir.h"

namespace veltrane::sound {
namespace {

TEST(WavFile, DamagedFilesGiveWholeFramesOrAClearRefusal) {
  struct Row {
    const char* what;
    std::string bytes;
    bool loads;
  } rows[] = {
      // 32-bit mono whose data chunk says 40 bytes and holds 39: found by the fuzz harness.
      {"data cut mid-frame",
       std::string("\x52\x49\x46\x46\x4C\x00\x00\x00\x57\x41\x56\x45\x66\x6D\x74\x20\x10\x00\x00"
                   "\x00\x01\x00\x01\x00\x40\x1D\x00\x00\x40\x1F\x00\x00\x01\x00\x20\x00\x64\x61"
                   "\x74\x61\x28\x00\x00\x00\x00\x07\x0E\x15\x1C\x00\x00\x00\xFF\xFF\xFF\xFF\xFF"
                   "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xEE\xF5\xFC\x03\x0A\x11\x40\x1F\x0A\x11",
                   75),
       true},
      {"data chunk announcing 4 GB",
       std::string("RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00"
                   "\x40\x1f\x00\x00\x40\x1f\x00\x00\x01\x00\x08\x00"
                   "data\xf0\xff\xff\xff\x80\x81\x82",
                   47),
       true},
      // 32-bit mono with an empty data chunk, which used to reach a copy from no buffer.
      {"empty data to convert",
       std::string(
           "\x52\x49\x46\x46\x4C\x00\x00\x00\x57\x41\x56\x45\x66\x6D\x74\x20\x10\x00\x00\x00\x01"
           "\x00\x01\x00\x40\x1D\x00\x00\x40\x1F\x00\x00\x01\x00\x20\x00\x64\x61\x74\x61\x00\x00"
           "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
           "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
           "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
           "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
           "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x28\x00\x00\x1F\x0A",
           141),
       false},
      {"no RIFF at all", std::string(64, 'x'), false},
      // Found by the fuzz harness: no RIFF header, a data chunk announcing 441 MB.
      {"WAVE without RIFF",
       std::string("WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1d\x00\x00\x40\x1f\x00\x00"
                   "\x01\x00\x20\x00"
                   "data\x28\x00\x52\x1a\xf7\x22\x30\x69\x70\x01\x00\x00",
                   44),
       false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    test_support::TempDir dir;
    const std::string file = (dir.path() / "sound.wav").string();
    std::ofstream(file, std::ios::binary) << r.bytes;
    WavData wav;
    std::string error;
    ASSERT_EQ(LoadWav(file, wav, &error), r.loads) << error;
    if (!r.loads) {
      EXPECT_FALSE(error.empty());
      continue;
    }
    const std::size_t frame = static_cast<std::size_t>(wav.channels) * (wav.bitsPerSample / 8);
    ASSERT_GT(frame, 0u);
    EXPECT_EQ(wav.bytes.size() % frame, 0u);
    EXPECT_FALSE(wav.bytes.empty());
  }
}

}  // namespace
}  // namespace veltrane::sound
