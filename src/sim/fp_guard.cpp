#include "sim/fp_guard.h"

#include <cmath>

namespace veltrane {

namespace {
bool Finite(const Vec3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}
}  // namespace

bool ModelStateFinite(const SimState& s) {
  return Finite(s.ModelPosition) && Finite(s.ModelVelocity) && Finite(s.AxisForward) &&
         Finite(s.AxisUp) && Finite(s.AxisRight) && Finite(s.AngularVelocity) &&
         std::isfinite(s.Airspeed) && std::isfinite(s.PitchRate) && std::isfinite(s.YawRate) &&
         std::isfinite(s.RollRate) && std::isfinite(s.GroundHeight) && std::isfinite(s.ThermalLift);
}

}  // namespace veltrane
