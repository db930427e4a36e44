#pragma once

#include <memory>
#include <string>

#include "base/trace/trace.h"
#include "platform/joystick/sdl_joystick_service.h"
#include "platform/serial/libserialport_port.h"
#include "radio/dll/rc_dll_form.h"
#include "radio/joystick/rc_joy_form.h"
#include "radio/pic/rc_pic_form.h"
#include "radio/radio_form.h"
#include "radio/vxd/rc_vxd_form.h"

namespace veltrane {
class SettingsStore;
}

namespace veltrane::platform {

// The five transmitter interfaces on this system's devices and the choice
// among them, created in the program's start-up order and saved at exit.
class ProgramRadio {
 public:
  // testJoystick: a file that drives a virtual joystick instead of waiting
  // for a real one to be plugged in (tests of the whole program).
  ProgramRadio(const SettingsStore& settings, Trace trace, const std::string& testJoystick = {});
  ~ProgramRadio();
  ProgramRadio(const ProgramRadio&) = delete;
  ProgramRadio& operator=(const ProgramRadio&) = delete;

  TRadioForm& Form() { return *radio_; }
  TRcJoyForm& Joystick() { return *joy_; }
  TRcPICForm& Pic() { return *pic_; }

  // Program exit: the choice, then each interface saves and closes its hardware.
  void Destroy(SettingsStore& settings);

 private:
  Trace trace_;
  std::unique_ptr<SdlJoystickService> joysticks_;
  std::unique_ptr<TRcJoyForm> joy_;
  std::unique_ptr<TRcIntForm> plain_;
  LibSerialPort serial_;
  std::unique_ptr<TRcPICForm> pic_;
  NoVxdDriver noDriver_;  // such drivers do not exist on this system
  std::unique_ptr<TRcVxdForm> vxd_;
  NoLoad16Library noLibrary_;
  std::unique_ptr<TRcDllForm> dll_;
  std::unique_ptr<TRadioForm> radio_;
  bool destroyed_ = false;
};

}  // namespace veltrane::platform
