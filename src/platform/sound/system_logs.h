#pragma once

#include "base/trace/trace.h"

namespace veltrane::sound {

// The audio libraries write their own complaints to stderr at every start on a
// machine without sound. Before the first device is opened, ALSA's lines go to
// the trace; OpenAL's own log is turned off by PrepareAudioEnvironment.
void RouteSystemSoundLogs(const Trace& trace);

}  // namespace veltrane::sound
