#include "platform/sound/system_logs.h"

#include <alsa/asoundlib.h>

#include <cstdarg>
#include <cstdio>
#include <string>

namespace veltrane::sound {

namespace {

// ALSA's handler takes no context pointer: the trace it writes to is kept here,
// set once before any device opens.
Trace& AlsaTrace() {
  static Trace trace;
  return trace;
}

extern "C" void AlsaError(const char* file, int line, const char* function, int err,
                          const char* fmt, ...) {
  char text[512];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(text, sizeof text, fmt, args);
  va_end(args);
  std::string l = std::string("ALSA ") + (function ? function : "") + ": " + text;
  if (err) l += std::string(": ") + snd_strerror(err);
  (void)file;
  (void)line;
  AlsaTrace()(l + "\r\n");
}

}  // namespace

void RouteSystemSoundLogs(const Trace& trace) {
  AlsaTrace() = trace;
  snd_lib_error_set_handler(&AlsaError);
}

}  // namespace veltrane::sound
