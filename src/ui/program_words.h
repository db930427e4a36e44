#pragma once

namespace veltrane::ui {

// Messages of this program that the old language files have no keys for: the
// load and save problems it reports in a message box.
struct ProgramWords {
  const char* modelNotFound;
  const char* landscapeNotFound;
  const char* settingsNotSaved;
  const char* modelWithoutGeometry;
  const char* skippedAfterCrash;
  const char* defaultInstead;
  const char* panoramaUnreadable;
};

// For language index 0..17; German for any other.
const ProgramWords& ProgramWordsFor(int index);

}  // namespace veltrane::ui
