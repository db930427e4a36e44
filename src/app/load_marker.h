#pragma once

#include <optional>
#include <string>

#include "base/settings/settings_store.h"
#include "base/trace/trace.h"

namespace veltrane {

// Remembers on disk which model or landscape is being loaded, so that a file
// that crashes the program is not loaded again at every start: the name is
// written ("LoadingModel", "LoadingLandscape" in "MainForm") and flushed before
// the load and removed when it has finished, whatever its outcome.
class LoadMarker {
 public:
  enum class Kind { Model, Landscape };

  LoadMarker(SettingsStore& settings, Trace trace)
      : settings_(settings), trace_(std::move(trace)) {}

  void Begin(Kind kind, const std::string& file);
  void End(Kind kind);

  // At start: the file the previous run was loading when it ended without
  // closing normally (empty otherwise). The marker is cleared either way.
  std::optional<std::string> TakeInterrupted(Kind kind, bool previousRunEndedAbnormally);

  static const char* KeyName(Kind kind) {
    return kind == Kind::Model ? "LoadingModel" : "LoadingLandscape";
  }

 private:
  void Flush();

  SettingsStore& settings_;
  Trace trace_;
};

}  // namespace veltrane
