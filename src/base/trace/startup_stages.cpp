#include "base/trace/startup_stages.h"

#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace veltrane {
namespace {

std::int64_t BootNs() {
  timespec ts{};
  clock_gettime(CLOCK_BOOTTIME, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

// The process's start in clock ticks after boot: field 22 of /proc/self/stat,
// counted after the command name, which may itself hold blanks and brackets.
std::int64_t ProcessStartNs() {
  std::ifstream in("/proc/self/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto close = stat.rfind(')');
  const long ticks = sysconf(_SC_CLK_TCK);
  if (close == std::string::npos || ticks <= 0) return BootNs();
  std::istringstream rest(stat.substr(close + 1));
  std::string field;
  long long start = -1;
  for (int i = 3; i <= 22 && rest >> field; ++i)
    if (i == 22) start = std::atoll(field.c_str());
  if (start < 0) return BootNs();
  return static_cast<std::int64_t>(start) * (1'000'000'000 / ticks);
}

}  // namespace

StartupStages::StartupStages(Trace trace) : trace_(std::move(trace)), startNs_(ProcessStartNs()) {}

std::int64_t StartupStages::ElapsedMs() const { return (BootNs() - startNs_) / 1'000'000; }

std::string StartupStages::Line(std::string_view stage, std::int64_t ms) {
  return "Startup " + std::string(stage) + ": " + std::to_string(ms) + " ms\r\n";
}

void StartupStages::Mark(std::string_view stage) { trace_(Line(stage, ElapsedMs())); }

}  // namespace veltrane
