#pragma once

#include "radio/joystick/joystick_service.h"
#include "radio/rc_int_form.h"

namespace veltrane {

// Up to two joysticks (or transmitters presenting themselves as joysticks):
// the first one's axes are channels 0.., the second's follow. Its defaults
// come from the axis ranges, so it flies before any calibration.
class TRcJoyForm : public TRcIntForm {
 public:
  explicit TRcJoyForm(JoystickService& joysticks)
      : TRcIntForm("RcJoyForm"), joysticks_(joysticks) {}

  void GetChannels(TRcChannels& channels) override;
  double GetInitCalibCentre(std::int32_t channel) override;
  double GetInitCalibF(std::int32_t channel) override;
  bool GetAvailable() override { return true; }

  JoystickService& Joysticks() { return joysticks_; }

 private:
  // The device and axis behind a channel for the defaults: the second
  // joystick wins where both could apply. False when neither does.
  bool AxisOf(std::int32_t channel, JoystickState& state, int& axis);

  JoystickService& joysticks_;
};

}  // namespace veltrane
