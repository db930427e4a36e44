#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "base/trace/trace.h"

namespace veltrane {

// Every section of settings.ini the program reads or writes; a file's other
// sections are dropped as damage. Add a window's name here when it stores values.
inline std::vector<std::string> ProgramSettingsSections() {
  return {"MainForm",  "ThermalForm", "WindForm",  "RadioForm", "KeyForm",
          "RcIntForm", "RcJoyForm",   "RcPICForm", "RcVxdForm", "RcDllForm"};
}

// What the store did with a damaged or unreadable settings file, in one line
// for the user (stderr) and one for the trace.
inline void ReportSettingsNote(const std::string& note, const Trace& trace) {
  std::fprintf(stderr, "veltrane: %s\n", note.c_str());
  trace("SettingsStore " + note + "\r\n");
}

}  // namespace veltrane
