#pragma once

#include <cfenv>

#include "sim/sim_state.h"

namespace veltrane {

// The floating-point faults that make a physics sub-step fail. Underflow and
// inexact results are normal in the flight formulas and do not count.
constexpr int kFpFaultFlags = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;

inline void ClearFpFaults() { std::feclearexcept(kFpFaultFlags); }
inline bool FpFaultRaised() { return std::fetestexcept(kFpFaultFlags) != 0; }

// Whether every floating-point value of the model's motion state is finite.
bool ModelStateFinite(const SimState& s);

// Keeps the fault flags as they were around a call into code that is not the
// flight model's own (world queries): a collision module may divide by a zero
// ray component on purpose, and that must not count as a fault of the model.
class FpFlagsPreserved {
 public:
  FpFlagsPreserved() { std::fegetexceptflag(&saved_, FE_ALL_EXCEPT); }
  ~FpFlagsPreserved() { std::fesetexceptflag(&saved_, FE_ALL_EXCEPT); }
  FpFlagsPreserved(const FpFlagsPreserved&) = delete;
  FpFlagsPreserved& operator=(const FpFlagsPreserved&) = delete;

 private:
  std::fexcept_t saved_{};
};

}  // namespace veltrane
