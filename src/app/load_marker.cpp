#include "app/load_marker.h"

#include <stdexcept>

namespace veltrane {

namespace {
constexpr const char* kMain = "MainForm";
}

void LoadMarker::Begin(Kind kind, const std::string& file) {
  settings_.WriteString(kMain, KeyName(kind), file);
  Flush();
}

void LoadMarker::End(Kind kind) {
  if (!settings_.ValueExists(kMain, KeyName(kind))) return;
  settings_.Remove(kMain, KeyName(kind));
  Flush();
}

std::optional<std::string> LoadMarker::TakeInterrupted(Kind kind, bool previousRunEndedAbnormally) {
  const std::optional<std::string> file = settings_.ReadString(kMain, KeyName(kind));
  if (file) settings_.Remove(kMain, KeyName(kind));
  if (!previousRunEndedAbnormally || !file || file->empty()) return std::nullopt;
  return file;
}

void LoadMarker::Flush() {
  // A folder that cannot be written is reported once, at the close; the load
  // itself must not fail for it.
  try {
    settings_.Flush();
  } catch (const std::exception& e) {
    trace_(std::string("TMainForm load marker not saved: ") + e.what() + "\r\n");
  }
}

}  // namespace veltrane
