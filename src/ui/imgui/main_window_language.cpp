#include "ui/file_dialog_words.h"
#include "ui/imgui/main_window_ui.h"
#include "ui/program_words.h"

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
  t.WindLabel = texts_.Text("MainForm", "sMainForm007");
  t.WindFrom = texts_.Text("MainForm", "sMainForm008");
  t.SlowMotionLabel = texts_.Text("HelpForm", "SlowMotion");
  const ProgramWords& m = ProgramWordsFor(index);
  t.ModelNotFound = m.modelNotFound;
  t.LandscapeNotFound = m.landscapeNotFound;
  t.SettingsNotSaved = m.settingsNotSaved;
  t.ModelWithoutGeometry = m.modelWithoutGeometry;
  t.PanoramaUnreadable = m.panoramaUnreadable;
  t.SkippedAfterCrash = m.skippedAfterCrash;
  t.DefaultInstead = m.defaultInstead;
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
  tasks::TaskWords& w = form_.TaskTexts;
  const auto task = [this](const char* key) { return texts_.Text("TaskForm", key); };
  w.slopeRace = task("SlopeRace");
  w.duration = task("Duration");
  w.limbo = task("Limbo");
  w.ready = task("Ready");
  w.entry = task("Entry");
  w.time = task("Time");
  w.leg = task("Leg");
  w.legTimes = task("LegTimes");
  w.flightTime = task("FlightTime");
  w.flight = task("Flight");
  w.landing = task("Landing");
  w.total = task("Total");
  w.points = task("Points");
  w.tape = task("Tape");
  w.passes = task("Passes");
  w.lowest = task("Lowest");
  w.ended = task("Ended");
  w.again = task("Again");
  if (onLanguageFonts) {
    // Every glyph the language can show, the words outside its file included.
    const FileDialogWords& w = FileDialogWordsFor(index);
    std::string glyphs = texts_.AllText();
    for (const char* s :
         {w.loadModel, w.loadScene, w.open, w.cancel, w.file, w.shippedModels, w.ownModels,
          w.shippedScenes, w.ownScenes, m.modelNotFound, m.landscapeNotFound, m.settingsNotSaved,
          m.modelWithoutGeometry, m.skippedAfterCrash, m.defaultInstead})
      glyphs += s;
    onLanguageFonts(index, glyphs);
  }
}

}  // namespace veltrane::ui
