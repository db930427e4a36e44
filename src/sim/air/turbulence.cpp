#include "sim/air/turbulence.h"

namespace veltrane {
// Placeholder until the Dryden filters land.
DrydenTurbulence::DrydenTurbulence(std::uint32_t) {}
void DrydenTurbulence::Reset(std::uint32_t) {}
void DrydenTurbulence::Advance(double, const Conditions&) {}
Vec3 DrydenTurbulence::Linear() const { return {}; }
Vec3 DrydenTurbulence::Rates() const { return {}; }
}  // namespace veltrane
