#include "platform/sound/program_sound.h"

namespace veltrane::sound {

namespace {
std::unique_ptr<OpenAlDevice> OpenOutput(std::unique_ptr<OpenAlDevice> given, bool tryDefault, const Trace& trace) {
  if (given || !tryDefault) return given;
  std::string error;
  auto d = OpenAlDevice::OpenDefault(&error);
  if (!d) trace("TMainForm.FormCreate DXSound not available\r\n");
  return d;
}
}  // namespace

ProgramSound::ProgramSound(const Trace& trace, std::unique_ptr<OpenAlDevice> device, bool tryDefault)
    : device_(OpenOutput(std::move(device), tryDefault, trace)), engine_(device_.get(), trace) {}

}  // namespace veltrane::sound
