#include "platform/radio/program_radio.h"

#include "base/settings/settings_store.h"
#include "platform/joystick/file_joystick.h"

namespace veltrane::platform {

ProgramRadio::ProgramRadio(const SettingsStore& settings, Trace trace,
                           const std::string& testJoystick)
    : trace_(std::move(trace)) {
  if (testJoystick.empty())
    joysticks_ = std::make_unique<SdlJoystickService>();
  else
    joysticks_ = std::make_unique<FileJoystick>(testJoystick);
  // Created in this order, each with its settings read before the next.
  joy_ = std::make_unique<TRcJoyForm>(*joysticks_);
  joy_->Create(settings);
  plain_ = std::make_unique<TRcIntForm>("RcIntForm");
  plain_->Create(settings);
  pic_ = std::make_unique<TRcPICForm>(serial_, trace_);
  pic_->Create(settings);
  vxd_ = std::make_unique<TRcVxdForm>(noDriver_, trace_);
  vxd_->Create(settings);
  dll_ = std::make_unique<TRcDllForm>(noLibrary_, trace_);
  dll_->Create(settings);
  radio_ = std::make_unique<TRadioForm>(std::array<TRcIntForm*, kInterfaceCount>{
      plain_.get(), joy_.get(), vxd_.get(), dll_.get(), pic_.get()});
  radio_->Create(settings);
}

ProgramRadio::~ProgramRadio() = default;

void ProgramRadio::Destroy(SettingsStore& settings) {
  if (destroyed_) return;
  destroyed_ = true;
  radio_->Destroy(settings);
  for (TRcIntForm* i : radio_->Interfaces) i->Destroy(settings);
}

}  // namespace veltrane::platform
