// The settings file: whatever is on disk is read, and what the store writes
// back must read again as the same values, with nothing damaged in it.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/settings_sections.h"
#include "base/settings/settings_store.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrane;
  fuzz::ClearScratch();
  fuzz::WriteScratch("settings.ini", std::string_view(reinterpret_cast<const char*>(data), size));
  SettingsStore first(fuzz::ScratchFolder(), NumberFormat{'.'}, ProgramSettingsSections());
  first.WriteString("MainForm", "Fuzz", "1");
  first.Flush();
  const SettingsStore second(fuzz::ScratchFolder(), NumberFormat{'.'}, ProgramSettingsSections());
  if (first.AllValues() != second.AllValues() || !second.LoadNote().empty()) {
    std::fprintf(stderr, "the written settings do not read back the same: %s\n",
                 second.LoadNote().c_str());
    std::abort();
  }
  return 0;
}
