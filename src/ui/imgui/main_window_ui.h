#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/main_form.h"
#include "base/trace/trace.h"
#include "radio/radio_form.h"
#include "ui/imgui/dialog_registry.h"
#include "ui/imgui/dialog_ui.h"
#include "ui/imgui/picture_textures.h"
#include "ui/language.h"
#include "ui/menu_model.h"
#include "ui/ui_map.h"

namespace veltrane::ui {

class MessageDialogUi;
class RadioDialogUi;

// The main menu and the dialog open now, drawn with Dear ImGui over the 3D
// view, and the menu commands carried out on the main window.
class MainWindowUi : public DialogHost, public CommandHost {
 public:
  // applySound: the sound dialog's Ok (switch and volume, starting or stopping the engine).
  MainWindowUi(TMainForm& form, SettingsStore& settings, PlatformServices& services,
               PictureTextures& textures, SoundHook* sound,
               std::function<void(bool, int)> applySound, Trace trace);
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
  const LanguageTexts& Texts() const override { return texts_; }
  // Told the language and all its texts, so the fonts can cover them; called
  // inside or outside a frame, the fonts change before the next frame.
  std::function<void(int, const std::string&)> onLanguageFonts;

  bool QuitRequested() const { return quit_; }
  void RequestQuit() { quit_ = true; }
  // While a dialog is open the keys belong to it, not to the simulation.
  bool DialogOpen() const { return active_ != nullptr; }
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
  // DialogHost
  void DialogClosed() override { active_ = nullptr; }
  void ShowMessage(std::string text) override;
  void QueueViewRebuild() override { viewRebuildQueued_ = true; }

  void RegisterDialogs(SoundHook* sound, std::function<void(bool, int)> applySound);
  void DrawMenuBar();
  void ReinitializeView();

  TMainForm& form_;
  SettingsStore& settings_;
  PlatformServices& services_;
  PictureTextures& textures_;
  Trace trace_;
  LanguageTexts texts_;
  bool quit_ = false;
  bool viewRebuildQueued_ = false;
  float menuBarHeight_ = 0.0f;
  DialogRegistry dialogs_;
  DialogUi* active_ = nullptr;
  MessageDialogUi* message_ = nullptr;
  RadioDialogUi* radio_ = nullptr;
  UiMap uiMap_;
};

}  // namespace veltrane::ui
