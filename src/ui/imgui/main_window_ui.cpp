#include "ui/imgui/main_window_ui.h"

#include <imgui.h>

#include <cstdlib>
#include <memory>
#include <utility>

#include "ui/imgui/autozoom_dialog_ui.h"
#include "ui/imgui/dialog_style.h"
#include "ui/imgui/driver_dialog_ui.h"
#include "ui/imgui/first_flight_help_ui.h"
#include "ui/imgui/flight_list_dialog_ui.h"
#include "ui/imgui/graphics_dialog_ui.h"
#include "ui/imgui/info_dialog_ui.h"
#include "ui/imgui/key_help_dialog_ui.h"
#include "ui/imgui/keys_dialog_ui.h"
#include "ui/imgui/message_dialog_ui.h"
#include "ui/imgui/open_file_dialog_ui.h"
#include "ui/imgui/radio_dialog_ui.h"
#include "ui/imgui/sound_dialog_ui.h"
#include "ui/imgui/task_dialogs_ui.h"
#include "ui/imgui/thermal_dialog_ui.h"
#include "ui/imgui/wind_dialog_ui.h"
#include "ui/thermal_dialog.h"
#include "ui/wind_dialog.h"

namespace veltrane::ui {

namespace {

std::string Plain(const std::string& caption) { return PlainCaption(caption); }

}  // namespace

MainWindowUi::MainWindowUi(TMainForm& form, SettingsStore& settings, PlatformServices& services,
                           PictureTextures& textures, SoundHook* sound,
                           std::function<void(bool, int)> applySound, Trace trace)
    : form_(form),
      settings_(settings),
      services_(services),
      textures_(textures),
      trace_(std::move(trace)),
      uiMap_(std::getenv("VELTRANE_UI_MAP") ? std::getenv("VELTRANE_UI_MAP") : "") {
  if (uiMap_.On()) SetUiMap(&uiMap_);
  RegisterDialogs(sound, std::move(applySound));
  TThermalForm::ReadSettings(settings_, form_.State().Thermals);
  TWindForm::ReadSettings(settings_, form_.State().Air);
  form_.onUpdateLanguage = [this](int index) { UpdateLanguage(index); };
  form_.SetCommandHost(this);
}

MainWindowUi::~MainWindowUi() {
  form_.onUpdateLanguage = nullptr;
  form_.SetCommandHost(nullptr);
  if (uiMap_.On()) SetUiMap(nullptr);
}

// Every dialog under the identifier the command table opens it by.
void MainWindowUi::RegisterDialogs(SoundHook* sound, std::function<void(bool, int)> applySound) {
  using Purpose = FlightListDialog::Purpose;
  using Kind = OpenFileDialogUi::Kind;
  DialogHost& host = *this;
  dialogs_.Add("driver", std::make_unique<DriverDialogUi>(host, form_, services_, trace_));
  dialogs_.Add("replay", std::make_unique<FlightListDialogUi>(host, Purpose::Replay, form_));
  dialogs_.Add("ghost", std::make_unique<FlightListDialogUi>(host, Purpose::Ghost, form_));
  dialogs_.Add("open_model",
               std::make_unique<OpenFileDialogUi>(host, Kind::Model, form_, textures_));
  dialogs_.Add("open_scene",
               std::make_unique<OpenFileDialogUi>(host, Kind::Scene, form_, textures_));
  dialogs_.Add("autozoom", std::make_unique<AutozoomDialogUi>(host, form_));
  dialogs_.Add("thermal", std::make_unique<ThermalDialogUi>(host, form_, trace_));
  dialogs_.Add("wind", std::make_unique<WindDialogUi>(host, form_));
  dialogs_.Add("sound", std::make_unique<SoundDialogUi>(host, sound, std::move(applySound)));
  dialogs_.Add("graphics", std::make_unique<GraphicsDialogUi>(host, form_));
  dialogs_.Add("keys", std::make_unique<KeysDialogUi>(host, form_, services_));
  dialogs_.Add("key_help", std::make_unique<KeyHelpDialogUi>(host, form_));
  dialogs_.Add("info", std::make_unique<InfoDialogUi>(host, form_, textures_));
  dialogs_.Add("working_time", std::make_unique<WorkingTimeDialogUi>(host, form_));
  dialogs_.Add("results",
               std::make_unique<ResultsDialogUi>(host, form_, settings_.Format().decimalSeparator));
  radio_ = &dialogs_.Add("radio", std::make_unique<RadioDialogUi>(host, form_));
  message_ = &dialogs_.Add("message", std::make_unique<MessageDialogUi>(host));
}

void MainWindowUi::WriteSettings() {
  TThermalForm::WriteSettings(settings_, form_.State().Thermals);
  TWindForm::WriteSettings(settings_, form_.State().Air.Settings());
}

void MainWindowUi::SetTimerEnabled(bool enabled) { form_.SetTimerEnabled(enabled); }

void MainWindowUi::RunQueuedWork() {
  if (!viewRebuildQueued_) return;
  viewRebuildQueued_ = false;
  ReinitializeView();
}

void MainWindowUi::ReinitializeView() {
  services_.SetCursor(CursorKind::Hourglass);
  form_.DXDrawFinalize();
  services_.UseDisplay(form_.Display().iDXDrawDriver);
  form_.SimInit();
  services_.SetCursor(form_.MenuIsVisible() ? CursorKind::Arrow : CursorKind::Hidden);
}

bool MainWindowUi::IsChecked(const MenuItem& item) const {
  // The language in force is marked like a check mark.
  if (item.command == Command::Language) return item.value == form_.iLanguage();
  return item.app && item.app->Checkable() && item.app->checked(form_);
}

bool MainWindowUi::IsEnabled(const MenuItem& item) const {
  return !item.app || veltrane::IsEnabled(*item.app, form_);
}

void MainWindowUi::SetRadio(TRadioForm* radio) {
  if (active_ == radio_) active_ = nullptr;
  radio_->SetRadio(radio);
  if (radio) form_.SetActiveInterface(&radio->Active(), radio->ActiveIndex);
}

void MainWindowUi::ShowMessage(std::string text) {
  message_->SetText(std::move(text));
  ShowDialog("message");
}

void MainWindowUi::Execute(const MenuItem& item) {
  switch (item.command) {
    case Command::Table:
      RunCommand(*item.app, form_);
      break;
    case Command::Resolution:
      form_.SetDisplay({true, item.value, item.value2});
      break;
    case Command::Language:
      SetLanguage(item.value);
      break;
    case Command::None:
      break;
  }
}

bool MainWindowUi::CanOpenDialog(std::string_view id) const {
  const DialogUi* d = dialogs_.Find(id);
  return d && d->CanOpen();
}

void MainWindowUi::ShowDialog(std::string_view id) {
  DialogUi* d = dialogs_.Find(id);
  if (!d || !d->CanOpen()) return;
  d->Open();
  active_ = d;
}

void MainWindowUi::Quit() {
  trace_("TMainForm.Beenden1Click\r\n");
  quit_ = true;
}

void MainWindowUi::Draw() {
  menuBarHeight_ = 0.0f;
  if (form_.MenuIsVisible()) DrawMenuBar();
  if (active_)
    active_->Draw();
  else if (form_.FirstFlightHelp())
    DrawFirstFlightHelp(FirstFlightLines(texts_, form_.KeyForm(), form_.State().iModelStyle),
                        menuBarHeight_);
  uiMap_.EndFrame();
}

void MainWindowUi::DrawMenuBar() {
  // Narrow spacing so every menu, "Hilfe" included, fits the default 640-pixel window.
  if (!ImGui::BeginMainMenuBar()) return;
  menuBarHeight_ = ImGui::GetWindowSize().y;
  const ImVec2 spacing = ImGui::GetStyle().ItemSpacing;
  ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(2.0f, spacing.y));
  for (const Menu& menu : MainMenu()) {
    if (menu.name == "Sound1" && !form_.SoundAvailable()) continue;  // no audio device
    const std::string caption =
        Plain(texts_.Text("MainForm", menu.name + ".Caption", menu.caption));
    const std::string title = caption + "###" + menu.name;
    // An open menu begins a window of its own, so the title's place is taken before.
    const ImVec2 at = ImGui::GetCursorScreenPos();
    const bool open = ImGui::BeginMenu(title.c_str());
    if (!open) {
      MapLastItem(menu.id, caption);
      continue;
    }
    if (UiMap* m = &uiMap_; m->On())
      m->Add({menu.id, caption, static_cast<int>(at.x), static_cast<int>(at.y),
              static_cast<int>(ImGui::CalcTextSize(caption.c_str()).x + spacing.x),
              static_cast<int>(menuBarHeight_)});
    ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing,
                        spacing);  // the open menu keeps the usual spacing
    for (const MenuItem& item : menu.items) {
      const std::string caption =
          Plain(texts_.Text("MainForm", item.name + ".Caption", item.caption));
      const std::string label = caption + "##" + item.name;
      const char* shortcut = item.shortcut.empty() ? nullptr : item.shortcut.c_str();
      const bool clicked =
          ImGui::MenuItem(label.c_str(), shortcut, IsChecked(item), IsEnabled(item));
      MapLastItem(item.id, caption);
      if (clicked) Execute(item);
      if (item.separatorAfter) ImGui::Separator();
    }
    ImGui::PopStyleVar();
    ImGui::EndMenu();
  }
  ImGui::PopStyleVar();
  ImGui::EndMainMenuBar();
}

}  // namespace veltrane::ui
