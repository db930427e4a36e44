#pragma once

#include <string_view>

namespace veltrane::sound {

// The sound library reads its options from the environment when it first opens
// a device. They are set here, at the start of main before any thread runs:
// setting a variable while another thread reads the environment is undefined.
// - Its own log stays off unless the user asked for it (ALSOFT_LOGLEVEL).
// - Left to itself it tries JACK first, loading the JACK client and its
//   database library (2 MB resident) only to find no JACK server on a
//   desktop. PulseAudio (which PipeWire serves too) goes first, then JACK,
//   ALSA and the others. A driver list of the user's own, in the environment
//   or a configuration file, stays as it is.
void PrepareAudioEnvironment();

// Whether a configuration file of the sound library sets its driver list: a
// non-empty "drivers" key outside any section or in [general].
bool ConfigSetsAudioDrivers(std::string_view text);

}  // namespace veltrane::sound
