#pragma once

namespace veltrane::ui {

// The open-file dialog's own words. On the desktop the old program ran on the
// system drew that dialog in the user's language, so the language files carry
// only its filters; these stand in for the system's words.
struct FileDialogWords {
  const char* loadModel;
  const char* loadScene;
  const char* open;
  const char* cancel;
  const char* file;
  // The two places the dialog offers: the files that came with the program
  // and the user's own folder.
  const char* shippedModels;
  const char* ownModels;
  const char* shippedScenes;
  const char* ownScenes;
  // Headings of the landscape list: flying fields, and slope sites for soaring.
  const char* fields;
  const char* slopes;
};

// For language index 0..17; German for any other.
const FileDialogWords& FileDialogWordsFor(int index);

}  // namespace veltrane::ui
