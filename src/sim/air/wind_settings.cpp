#include "sim/air/wind_settings.h"

#include <algorithm>
#include <cmath>

namespace veltrane {

WindSettings WindSettings::Clamped() const {
  WindSettings c = *this;
  c.speed = std::isfinite(speed) ? std::clamp(speed, 0.0, kMaxSpeed) : 0.0;
  double from = std::isfinite(fromDegrees) ? std::fmod(fromDegrees, 360.0) : 0.0;
  if (from < 0.0) from += 360.0;
  c.fromDegrees = from;
  c.gusts = std::clamp(gusts, 0, 100);
  c.turbulence = std::clamp(turbulence, 0, 100);
  return c;
}

}  // namespace veltrane
