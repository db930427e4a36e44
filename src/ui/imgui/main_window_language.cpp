#include "ui/imgui/main_window_ui.h"

#include "ui/file_dialog_words.h"

namespace veltrane::ui {

void MainWindowUi::UpdateLanguage(int index) {
  texts_ = ui::UpdateLanguage(index, form_.ExePath(), trace_);
  form_.SetLanguageIndex(index);
  // The caption is the application's title and the main window's at once.
  form_.SetMainCaption(texts_.Text("MainForm", "Caption"));
  MainFormTexts& t = form_.Texts;
  t.InitText = texts_.Text("MainForm", "sMainForm000");
  t.FpsLabel = texts_.Text("MainForm", "sMainForm003");
  t.SpeedLabel = texts_.Text("MainForm", "sMainForm004");
  t.HeightLabel = texts_.Text("MainForm", "sMainForm005");
  t.VarioLabel = texts_.Text("MainForm", "sMainForm006");
  // The file's values lose their trailing blank; the file or path follows it.
  auto lead = [this](const char* key) { return texts_.Text("FlightForm", key) + " "; };
  t.ReplayLabel = texts_.Text("FlightForm", "Replay");
  t.ReplayPaused = texts_.Text("FlightForm", "Paused");
  t.ReplayEnd = texts_.Text("FlightForm", "End");
  t.ReplayKeys = texts_.Text("FlightForm", "Keys");
  t.ReplayFailed = lead("Failed");
  t.ReplayDiffers = lead("Differs");
  t.GhostNeedsSameFiles = lead("GhostNeeds");
  t.RecordingFailed = lead("RecordFailed");
  if (onLanguageFonts) {
    const FileDialogWords& w = FileDialogWordsFor(index);
    onLanguageFonts(index, texts_.AllText() + w.loadModel + w.loadScene + w.open + w.cancel + w.file);
  }
}

}  // namespace veltrane::ui
