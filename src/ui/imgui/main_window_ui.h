#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_form.h"
#include "base/trace/trace.h"
#include "ui/autozoom_dialog.h"
#include "ui/flight_list_dialog.h"
#include "ui/frame_timer.h"
#include "ui/imgui/picture_textures.h"
#include "ui/imgui/radio_ui.h"
#include "ui/key_dialog.h"
#include "ui/language.h"
#include "ui/menu_model.h"
#include "ui/open_dialog.h"
#include "ui/simple_dialogs.h"
#include "ui/thermal_dialog.h"
#include "ui/ui_map.h"
#include "ui/wind_dialog.h"

namespace veltrane::ui {

// The main menu and every dialog, drawn with Dear ImGui over the 3D view, and
// the menu commands carried out on the main window.
class MainWindowUi : public FrameTimer, public CommandHost {
 public:
  // applySound: the sound dialog's Ok (switch and volume, starting or stopping the engine).
  MainWindowUi(TMainForm& form, SettingsStore& settings, PlatformServices& services, PictureTextures& textures,
               SoundHook* sound, std::function<void(bool, int)> applySound, Trace trace);
  ~MainWindowUi() override;

  // Between ImGui's NewFrame and Render.
  void Draw();
  // Between two frames: work a dialog's Ok asked for that builds the 3D view
  // anew (its start screen draws a frame of its own).
  void RunQueuedWork();
  // Runs a menu item as if it was clicked (tests).
  void Execute(const MenuItem& item);

  // UpdateLanguage: every text from the language file of `index` (German
  // defaults for what the file lacks); the main window's OnStartRunning calls it.
  // SetLanguage is the "S&prache" menu's handler.
  void UpdateLanguage(int index);
  void SetLanguage(int index) { UpdateLanguage(index); }
  // The texts in force, for every dialog that shows translated texts.
  const LanguageTexts& Texts() const { return texts_; }
  // Told the language and all its texts, so the fonts can cover them; called
  // inside or outside a frame, the fonts change before the next frame.
  std::function<void(int, const std::string&)> onLanguageFonts;

  bool QuitRequested() const { return quit_; }
  void RequestQuit() { quit_ = true; }
  // While a dialog is open the keys belong to it, not to the simulation.
  bool DialogOpen() const { return active_ != nullptr || (radio_ && radio_->IsOpen()); }
  // The transmitter interfaces; until they are handed in, "&Analoge Steuerung..." is disabled.
  // Makes the chosen interface the one the main window reads.
  void SetRadio(TRadioForm* radio);
  float MenuBarHeight() const { return menuBarHeight_; }
  // Settings the dialogs own ("ThermalForm", "WindForm"); call before the main window's FormClose.
  void WriteSettings();

  // FrameTimer: the dialogs stop the main window's frame timer while active.
  void SetTimerEnabled(bool enabled) override;

  bool IsChecked(const MenuItem& item) const;
  bool IsEnabled(const MenuItem& item) const;

  // CommandHost: the table's commands open the dialogs by identifier.
  void ShowDialog(std::string_view id) override;
  bool CanOpenDialog(std::string_view id) const override;
  void Quit() override;

 private:
  // A dialog by its English identifier: how it opens and how a frame draws it.
  struct DialogEntry {
    const char* id;
    void (MainWindowUi::*open)();
    void (MainWindowUi::*draw)();
  };
  static const std::vector<DialogEntry>& Dialogs();

  void DrawMenuBar();
  void DrawDialogs();
  // Makes the dialog of that identifier the one drawn.
  void Open(std::string_view id);
  void OpenDriver();
  void OpenReplay();
  void OpenGhost();
  void OpenModelFile();
  void OpenSceneFile();
  void OpenAutozoom();
  void OpenThermal();
  void OpenWind();
  void OpenSound();
  void OpenGraphics();
  void OpenKeys();
  void OpenInfo();
  void OpenRadio();
  void DrawMessage();
  void DrawDriver();
  void DrawAutozoom();
  void DrawThermal();
  void DrawSound();
  void DrawGraphics();
  void DrawKeys();
  void DrawInfo();
  void DrawOpenFile();
  void CloseDialog();
  void ShowMessage(std::string text);
  void OpenFlightList(FlightListDialog::Purpose purpose);
  void DrawFlightList();
  void DrawWind();

  void ReinitializeView();
  const std::string& T(const char* section, const char* key) const {
    return texts_.Text(section, key);
  }
  bool OkCancel(const char* section, bool& ok, bool keysAllowed = true);

  TMainForm& form_;
  SettingsStore& settings_;
  PlatformServices& services_;
  SoundHook* soundHook_;
  std::function<void(bool, int)> applySound_;
  PictureTextures& textures_;
  Trace trace_;
  LanguageTexts texts_;
  bool quit_ = false;
  bool viewRebuildQueued_ = false;
  float menuBarHeight_ = 0.0f;
  const DialogEntry* active_ = nullptr;
  bool popupOpened_ = false;
  std::string message_;

  TConfigForm driver_;
  TAZoomForm autozoom_;
  TThermalForm thermal_;
  TWindForm wind_;
  TSoundForm sound_;
  TGraphConfigForm graphics_;
  KeyDialog keys_;
  TInfoForm info_;
  OpenDialog openDialog_;
  FlightListDialog flightList_;
  std::string driverChoiceBuffer_;
  char noZoomBuf_[32] = {};
  char fullZoomBuf_[32] = {};
  double infoTickAccumulator_ = 0.0;
  std::unique_ptr<RadioUi> radio_;
  UiMap uiMap_;
};

}  // namespace veltrane::ui
