#include "sim/air/gusts.h"

namespace veltrane {
// Placeholder until the gust generator lands.
Gusts::Gusts(std::uint32_t) {}
void Gusts::Reset(std::uint32_t) {}
void Gusts::Advance(double) {}
double Gusts::SpeedFactor(double) const { return 1.0; }
double Gusts::DirectionOffsetDegrees(double) const { return 0.0; }
}  // namespace veltrane
