#include "platform/sound/audio_environment.h"

#include <gtest/gtest.h>

namespace veltrane::sound {
namespace {

// A driver list the user wrote must be kept; the library's own sample file,
// all comments, and lists for other sections must not count as one.
TEST(AudioEnvironment, TellsAConfigFileThatSetsTheDriverList) {
  struct Case {
    const char* text;
    bool sets;
  };
  const Case cases[] = {
      {"drivers = pulse\n", true},
      {"[general]\r\n  Drivers=alsa,\r\n", true},
      {"[pulse]\nspawn-server = false\n[General]\ndrivers = -jack,\n", true},
      {"#drivers = pulse,alsa,core,oss\n", false},
      {"drivers =\n", false},  // empty: the library's default
      {"[alsa]\ndrivers = pulse\n", false},
      {"[general\ndrivers = pulse\n", false},  // broken header: not [general]
      {"driverslist = pulse\nhrtf = true", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(ConfigSetsAudioDrivers(c.text), c.sets) << c.text;
}

}  // namespace
}  // namespace veltrane::sound
