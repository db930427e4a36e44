#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/trace/trace.h"

namespace veltrane {

// Trace lines for the stages of a start: "Startup <stage>: <ms> ms", counted
// from the moment the process began (as the kernel tells it), so the lines
// also show what the loader and the libraries took before main.
class StartupStages {
 public:
  explicit StartupStages(Trace trace);
  void Mark(std::string_view stage);
  std::int64_t ElapsedMs() const;

  // The line Mark writes, for a stage reached after `ms` milliseconds.
  static std::string Line(std::string_view stage, std::int64_t ms);

 private:
  Trace trace_;
  std::int64_t startNs_ = 0;  // on the boot-time clock
};

}  // namespace veltrane
