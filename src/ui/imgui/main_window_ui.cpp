#include "ui/imgui/main_window_ui.h"

#include <imgui.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "app/user_folders.h"
#include "radio/key_form.h"
#include "sim/thermals.h"
#include "ui/file_dialog_words.h"
#include "ui/imgui/dialog_style.h"

namespace veltrane::ui {

namespace {

std::string Plain(const std::string& caption) { return PlainCaption(caption); }

// Where a field after the widest of these labels starts.
float LabelColumn(std::initializer_list<const std::string*> labels) {
  float w = 0;
  for (const std::string* l : labels) w = std::max(w, ImGui::CalcTextSize(l->c_str()).x);
  return ImGui::GetCursorPosX() + w + ImGui::GetStyle().ItemSpacing.x * 2;
}

}  // namespace

MainWindowUi::MainWindowUi(TMainForm& form, SettingsStore& settings, PlatformServices& services,
                           PictureTextures& textures, SoundHook* sound,
                           std::function<void(bool, int)> applySound, Trace trace)
    : form_(form),
      settings_(settings),
      services_(services),
      soundHook_(sound),
      applySound_(std::move(applySound)),
      textures_(textures),
      trace_(std::move(trace)),
      autozoom_(*this),
      thermal_(*this,
               [this] {
                 SimState& s = form_.State();
                 RandomizeThermal(s, s.ModelPosition.x, s.ModelPosition.y, trace_);
                 form_.FlightStateChanged();
               }),
      wind_(*this, [this] { form_.FlightStateChanged(); }),
      sound_(*this),
      keys_(form.KeyForm(), *this, services),
      info_(*this),
      uiMap_(std::getenv("VELTRANE_UI_MAP") ? std::getenv("VELTRANE_UI_MAP") : "") {
  if (uiMap_.On()) SetUiMap(&uiMap_);
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

// The section's own captions; dialogs without translations keep the German ones.
bool MainWindowUi::OkCancel(const char* section, bool& ok, bool keysAllowed) {
  static const std::string kOk = "Ok", kCancel = "Abbrechen";  // untranslated dialogs
  return OkCancelButtons(texts_.Text(section, "Button1.Caption", kOk), texts_.Text(section, "Button2.Caption", kCancel),
                         ok, keysAllowed);
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
  radio_ = radio ? std::make_unique<RadioUi>(form_, *radio, *this, texts_) : nullptr;
  if (radio) form_.SetActiveInterface(&radio->Active(), radio->ActiveIndex);
}

void MainWindowUi::CloseDialog() {
  ImGui::CloseCurrentPopup();
  active_ = nullptr;
  popupOpened_ = false;
}

void MainWindowUi::ShowMessage(std::string text) {
  message_ = std::move(text);
  Open("message");
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

bool MainWindowUi::CanOpenDialog(std::string_view id) const { return id != "radio" || radio_ != nullptr; }

void MainWindowUi::Quit() {
  trace_("TMainForm.Beenden1Click\r\n");
  quit_ = true;
}

// Every dialog by its identifier: how it opens and how a frame draws it. The
// transmitter's dialogs draw themselves (RadioUi), so "radio" only opens.
const std::vector<MainWindowUi::DialogEntry>& MainWindowUi::Dialogs() {
  using M = MainWindowUi;
  static const std::vector<DialogEntry> dialogs = {
      {"driver", &M::OpenDriver, &M::DrawDriver},
      {"replay", &M::OpenReplay, &M::DrawFlightList},
      {"ghost", &M::OpenGhost, &M::DrawFlightList},
      {"open_model", &M::OpenModelFile, &M::DrawOpenFile},
      {"open_scene", &M::OpenSceneFile, &M::DrawOpenFile},
      {"autozoom", &M::OpenAutozoom, &M::DrawAutozoom},
      {"thermal", &M::OpenThermal, &M::DrawThermal},
      {"wind", &M::OpenWind, &M::DrawWind},
      {"sound", &M::OpenSound, &M::DrawSound},
      {"graphics", &M::OpenGraphics, &M::DrawGraphics},
      {"keys", &M::OpenKeys, &M::DrawKeys},
      {"info", &M::OpenInfo, &M::DrawInfo},
      {"radio", &M::OpenRadio, nullptr},
      {"message", nullptr, &M::DrawMessage},
  };
  return dialogs;
}

void MainWindowUi::ShowDialog(std::string_view id) {
  if (!CanOpenDialog(id)) return;
  for (const DialogEntry& d : Dialogs())
    if (id == d.id && d.open) (this->*d.open)();
}

void MainWindowUi::Open(std::string_view id) {
  active_ = nullptr;
  for (const DialogEntry& d : Dialogs())
    if (id == d.id) active_ = &d;
  popupOpened_ = false;
}

void MainWindowUi::OpenDriver() {
  trace_("TMainForm.Grafikkarteauswhlen1Click\r\n");
  std::vector<std::string> names;
  for (const auto& d : services_.Drivers()) names.push_back(d.description);
  driver_.FormCreate(std::move(names), form_.Display().iDXDrawDriver);
  Open("driver");
}

void MainWindowUi::OpenReplay() { OpenFlightList(FlightListDialog::Purpose::Replay); }
void MainWindowUi::OpenGhost() { OpenFlightList(FlightListDialog::Purpose::Ghost); }

void MainWindowUi::OpenModelFile() {
  const FileDialogWords& words = FileDialogWordsFor(form_.iLanguage());
  openDialog_.SetPlaces(
      {{words.shippedModels, form_.ExePath() + "Model"}, {words.ownModels, UserDataFolder("Model")}});
  openDialog_.Open(words.loadModel, T("MainForm", "sMainForm001"), form_.sModellFilename(), form_.ExePath() + "Model");
  Open("open_model");
}

void MainWindowUi::OpenSceneFile() {
  const FileDialogWords& words = FileDialogWordsFor(form_.iLanguage());
  openDialog_.SetPlaces({{words.shippedScenes, form_.ExePath() + "Landscape"},
                         {words.ownScenes, UserDataFolder("Landscape")}});
  openDialog_.Open(words.loadScene, T("MainForm", "sMainForm002"), form_.sLandFileName(),
                   form_.ExePath() + "Landscape");
  Open("open_scene");
}

void MainWindowUi::OpenAutozoom() {
  const CameraSettings& z = form_.Zooms();
  autozoom_.FormActivate({z.fNoZoom, z.fFullZoom, z.fZoomSpeed});
  std::snprintf(noZoomBuf_, sizeof noZoomBuf_, "%s", autozoom_.noZoomText.c_str());
  std::snprintf(fullZoomBuf_, sizeof fullZoomBuf_, "%s", autozoom_.fullZoomText.c_str());
  Open("autozoom");
}

void MainWindowUi::OpenThermal() {
  thermal_.FormActivate(form_.State().Thermals);
  Open("thermal");
}

void MainWindowUi::OpenWind() {
  wind_.FormActivate(form_.State().Air.Settings());
  Open("wind");
}

void MainWindowUi::OpenSound() {
  sound_.FormActivate(soundHook_ ? soundHook_->SoundEin() : true, soundHook_ ? soundHook_->SoundVolume() : 70);
  Open("sound");
}

void MainWindowUi::OpenGraphics() {
  const DisplayOptions& d = form_.Display();
  graphics_.FormShow({d.BitCount, d.doWaitVBlank, d.doFlip, form_.Mipmapping()});
  Open("graphics");
}

void MainWindowUi::OpenKeys() {
  keys_.FormActivate();
  Open("keys");
}

void MainWindowUi::OpenInfo() {
  info_.FormActivate(form_.iLanguage());
  infoTickAccumulator_ = 0.0;
  Open("info");
}

void MainWindowUi::OpenRadio() { radio_->Open(); }

void MainWindowUi::DrawDialogs() {
  if (active_ && active_->draw) (this->*active_->draw)();
}

void MainWindowUi::Draw() {
  menuBarHeight_ = 0.0f;
  if (form_.MenuIsVisible()) DrawMenuBar();
  DrawDialogs();
  if (radio_) radio_->Draw();
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
    const std::string caption = Plain(texts_.Text("MainForm", menu.name + ".Caption", menu.caption));
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
              static_cast<int>(ImGui::CalcTextSize(caption.c_str()).x + spacing.x), static_cast<int>(menuBarHeight_)});
    ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing,
                        spacing);  // the open menu keeps the usual spacing
    for (const MenuItem& item : menu.items) {
      const std::string caption = Plain(texts_.Text("MainForm", item.name + ".Caption", item.caption));
      const std::string label = caption + "##" + item.name;
      const char* shortcut = item.shortcut.empty() ? nullptr : item.shortcut.c_str();
      const bool clicked = ImGui::MenuItem(label.c_str(), shortcut, IsChecked(item), IsEnabled(item));
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

namespace {

// A slider with the same value as a number beside it, for typing it exactly.
bool SliderWithNumber(const char* id, double& value, double max, const char* sliderFormat,
                      const char* numberFormat, const char* unit) {
  float f = static_cast<float>(value);
  ImGui::SetNextItemWidth(240);
  const std::string slider = std::string("##slider") + id;
  bool changed = false;
  if (ImGui::SliderFloat(slider.c_str(), &f, 0.0f, static_cast<float>(max), sliderFormat,
                         ImGuiSliderFlags_AlwaysClamp)) {
    value = f;
    changed = true;
  }
  ImGui::SameLine();
  ImGui::SetNextItemWidth(70);
  const std::string number = std::string(unit) + "##number" + id;
  changed |= ImGui::InputDouble(number.c_str(), &value, 0.0, 0.0, numberFormat, ImGuiInputTextFlags_AutoSelectAll);
  MapLastItem(id, unit);
  return changed;
}

}  // namespace

void MainWindowUi::DrawWind() {
  const char* s = "WindForm";
  if (!BeginDialog((T(s, "Caption") + "###wind").c_str(), popupOpened_)) return;
  double speed = wind_.speed;
  double direction = wind_.direction;
  ImGui::TextUnformatted(T(s, "Label1.Caption").c_str());
  if (SliderWithNumber("speed", speed, TWindForm::kMaxSpeed, "%.1f m/s", "%.1f", "m/s")) wind_.SetSpeed(speed);
  ImGui::TextUnformatted(T(s, "Label2.Caption").c_str());
  if (SliderWithNumber("direction", direction, TWindForm::kMaxDirection, "%.0f°", "%.0f", "°"))
    wind_.SetDirection(direction);
  ImGui::TextDisabled("%s", T(s, "Label3.Caption").c_str());
  const std::string& gustsLabel = T(s, "Label4.Caption");
  const std::string& turbulenceLabel = T(s, "Label5.Caption");
  const float column = LabelColumn({&gustsLabel, &turbulenceLabel});
  int gusts = wind_.gusts;
  int turbulence = wind_.turbulence;
  ImGui::TextUnformatted(gustsLabel.c_str());
  ImGui::SameLine(column);
  ImGui::SetNextItemWidth(200);
  if (ImGui::SliderInt("##gusts", &gusts, 0, TWindForm::kMaxPercent, "%d %%")) wind_.SetGusts(gusts);
  ImGui::TextUnformatted(turbulenceLabel.c_str());
  ImGui::SameLine(column);
  ImGui::SetNextItemWidth(200);
  if (ImGui::SliderInt("##turbulence", &turbulence, 0, TWindForm::kMaxPercent, "%d %%"))
    wind_.SetTurbulence(turbulence);
  bool ok = false;
  if (OkCancel(s, ok)) {
    if (ok) wind_.Button1Click(form_.State().Air);
    CloseDialog();
    wind_.FormDeactivate();
  }
  ImGui::EndPopup();
}

void MainWindowUi::DrawMessage() {
  if (BeginDialog("Veltrane##message", popupOpened_)) {
    ImGui::TextUnformatted(message_.c_str());
    if (CloseButton()) CloseDialog();
    ImGui::EndPopup();
  }
}

void MainWindowUi::DrawDriver() {
  bool ok = false;
  if (BeginDialog((T("ConfigForm", "Caption") + "###driver").c_str(), popupOpened_)) {
    ImGui::TextUnformatted(T("ConfigForm", "Label1.Caption").c_str());
    if (ImGui::BeginListBox("##drivers", ImVec2(360, 120))) {
      for (int i = 0; i < static_cast<int>(driver_.drivers.size()); ++i)
        if (ImGui::Selectable(driver_.drivers[static_cast<std::size_t>(i)].c_str(),
                              driver_.selected == i))
          driver_.selected = i;
      ImGui::EndListBox();
    }
    if (OkCancel("ConfigForm", ok)) {
      CloseDialog();
      if (ok) {
        form_.Display().iDXDrawDriver = driver_.Button1Click();
        viewRebuildQueued_ = true;
      }
    }
    ImGui::EndPopup();
  }
}

void MainWindowUi::DrawAutozoom() {
  bool ok = false;
  if (BeginDialog((T("AZoomForm", "Caption") + "###autozoom").c_str(), popupOpened_)) {
    const std::string& noZoom = T("AZoomForm", "Label1.Caption");
    const std::string& fullZoom = T("AZoomForm", "Label3.Caption");
    const float column = LabelColumn({&noZoom, &fullZoom});
    const auto distance = [column](const std::string& label, const char* id, char* buf, std::size_t size) {
      ImGui::TextUnformatted(label.c_str());
      ImGui::SameLine(column);
      ImGui::SetNextItemWidth(80);
      // A click into a field selects its number, so typing replaces it.
      ImGui::InputText((std::string("m##") + id).c_str(), buf, size, ImGuiInputTextFlags_AutoSelectAll);
      MapLastItem(id, label);
    };
    distance(noZoom, "nozoom", noZoomBuf_, sizeof noZoomBuf_);
    distance(fullZoom, "fullzoom", fullZoomBuf_, sizeof fullZoomBuf_);
    ImGui::TextUnformatted(T("AZoomForm", "Label6.Caption").c_str());
    ImGui::TextUnformatted(T("AZoomForm", "Label7.Caption").c_str());
    ImGui::SameLine();
    ImGui::SetNextItemWidth(200);
    int speed = autozoom_.speed;
    if (ImGui::SliderInt("##speed", &speed, TAZoomForm::kMinSpeed, TAZoomForm::kMaxSpeed))
      autozoom_.SetSpeed(speed);
    ImGui::SameLine();
    ImGui::TextUnformatted(T("AZoomForm", "Label5.Caption").c_str());
    if (OkCancel("AZoomForm", ok)) {
      std::optional<std::string> error;
      if (ok) {
        autozoom_.noZoomText = noZoomBuf_;
        autozoom_.fullZoomText = fullZoomBuf_;
        CameraSettings& z = form_.Zooms();
        AutozoomSettings values{z.fNoZoom, z.fFullZoom, z.fZoomSpeed};
        error = autozoom_.Button1Click(values);
        z.fNoZoom = values.fNoZoom;
        z.fFullZoom = values.fFullZoom;
        z.fZoomSpeed = values.fZoomSpeed;
      }
      CloseDialog();
      autozoom_.FormDeactivate();
      if (error) ShowMessage(*error);
    }
    ImGui::EndPopup();
  }
}

void MainWindowUi::DrawThermal() {
  bool ok = false;
  if (BeginDialog((T("ThermalForm", "Caption") + "###thermal").c_str(), popupOpened_)) {
    int strength = thermal_.strength;
    int count = thermal_.count;
    const std::string& weak = T("ThermalForm", "Label2.Caption");
    const std::string& few = T("ThermalForm", "Label5.Caption");
    const float column = LabelColumn({&weak, &few});
    ImGui::TextUnformatted(T("ThermalForm", "Label1.Caption").c_str());
    ImGui::TextUnformatted(weak.c_str());
    ImGui::SameLine(column);
    ImGui::SetNextItemWidth(240);
    if (ImGui::SliderInt("##strength", &strength, 0, TThermalForm::kMaxStrength, "%d / 10 m/s"))
      thermal_.SetStrength(strength);
    ImGui::SameLine();
    ImGui::TextUnformatted(T("ThermalForm", "Label3.Caption").c_str());
    ImGui::TextUnformatted(T("ThermalForm", "Label4.Caption").c_str());
    ImGui::TextUnformatted(few.c_str());
    ImGui::SameLine(column);
    ImGui::SetNextItemWidth(240);
    if (ImGui::SliderInt("##count", &count, 0, TThermalForm::kMaxCount))
      thermal_.SetCount(count);
    ImGui::SameLine();
    ImGui::TextUnformatted(T("ThermalForm", "Label6.Caption").c_str());
    if (OkCancel("ThermalForm", ok)) {
      if (ok) thermal_.Button1Click(form_.State().Thermals);
      CloseDialog();
      thermal_.FormDeactivate();
    }
    ImGui::EndPopup();
  }
}

void MainWindowUi::DrawSound() {
  bool ok = false;
  if (BeginDialog((T("SoundForm", "Caption") + "###sound").c_str(), popupOpened_)) {
    ImGui::TextUnformatted(T("SoundForm", "GroupBox1.Caption").c_str());
    ImGui::Checkbox((T("SoundForm", "CheckBox1.Caption") + "##on").c_str(), &sound_.checkBox);
    MapLastItem("sound_on", T("SoundForm", "CheckBox1.Caption"));
    ImGui::TextUnformatted(T("SoundForm", "GroupBox2.Caption").c_str());
    ImGui::TextUnformatted(T("SoundForm", "Label1.Caption").c_str());
    ImGui::SameLine();
    int volume = sound_.volume;
    ImGui::SetNextItemWidth(200);
    if (ImGui::SliderInt("##volume", &volume, 0, 100)) sound_.SetVolume(volume);
    ImGui::SameLine();
    ImGui::TextUnformatted(T("SoundForm", "Label2.Caption").c_str());
    if (OkCancel("SoundForm", ok)) {
      if (ok && applySound_) applySound_(sound_.checkBox, sound_.volume);
      CloseDialog();
      sound_.FormDeactivate();
    }
    ImGui::EndPopup();
  }
}

void MainWindowUi::DrawGraphics() {
  bool ok = false;
  if (BeginDialog("Grafik Optionen", popupOpened_)) {
    ImGui::TextUnformatted("Farben");
    if (ImGui::RadioButton("16-Bit Farbtiefe", graphics_.radio16)) graphics_.radio16 = true;
    MapLastItem("color_16", "16-Bit Farbtiefe");
    if (ImGui::RadioButton("32-Bit Farbtiefe", !graphics_.radio16)) graphics_.radio16 = false;
    MapLastItem("color_32", "32-Bit Farbtiefe");
    ImGui::TextUnformatted("Hardware");
    ImGui::Checkbox("Wait for vertical blank", &graphics_.waitVBlank);
    MapLastItem("wait_vblank", "Wait for vertical blank");
    ImGui::Checkbox("Flip back buffer ", &graphics_.flip);
    MapLastItem("flip", "Flip back buffer ");
    ImGui::TextUnformatted("Texturen");
    ImGui::Checkbox("Mimapping", &graphics_.mipmapping);
    MapLastItem("mipmapping", "Mimapping");
    if (OkCancel("GraphConfigForm", ok)) {
      CloseDialog();
      if (ok) {
        const GraphicsOptions o = graphics_.Button1Click();
        DisplayOptions& d = form_.Display();
        d.BitCount = o.bitCount;
        d.doWaitVBlank = o.waitVBlank;
        d.doFlip = o.flip;
        form_.SetMipmapping(o.mipmapping);
        viewRebuildQueued_ = true;
      }
    }
    ImGui::EndPopup();
  }
}

void MainWindowUi::DrawKeys() {
  bool ok = false;
  if (BeginDialog((T("KeyForm", "Caption") + "###keys").c_str(), popupOpened_)) {
    const bool waiting = keys_.Waiting();
    keys_.TimerTick();
    ImGui::TextUnformatted(T("KeyForm", "GroupBox4.Caption").c_str());
    // Two columns of slot buttons, each as wide as the longest caption, a key name beside each.
    std::vector<std::string> captions;
    float buttonW = 180;
    for (int i = 0; i < kKeySlots; ++i) {
      captions.push_back(
          texts_.Text("KeyForm", "SpeedButton" + std::to_string(i + 1) + ".Caption"));
      buttonW = std::max(buttonW, ImGui::CalcTextSize(captions.back().c_str()).x + 12);
    }
    const float left = ImGui::GetCursorPosX();
    for (int i = 0; i < kKeySlots; ++i) {
      const float x = left + (i % 2 == 0 ? 0 : buttonW + 150);
      if (i % 2 == 1) ImGui::SameLine(x);
      const std::string button =
          captions[static_cast<std::size_t>(i)] + "##slot" + std::to_string(i);
      if (ImGui::Button(button.c_str(), ImVec2(buttonW, 0))) keys_.SlotClick(i);
      ImGui::SameLine(x + buttonW + 10);
      ImGui::TextUnformatted(keys_.Label(i).c_str());
    }
    // A slot waiting for its key takes Enter and Esc too.
    if (OkCancel("KeyForm", ok, !waiting)) {
      keys_.GroupExit();
      if (ok)
        keys_.Ok();
      else
        keys_.Cancel();
      CloseDialog();
      keys_.FormDeactivate();
    }
    ImGui::EndPopup();
  }
}

void MainWindowUi::DrawInfo() {
  if (BeginDialog((info_.caption + "##info").c_str(), popupOpened_)) {
    // The credits advance one pixel per 30 ms, whatever the frame rate.
    infoTickAccumulator_ += ImGui::GetIO().DeltaTime * 1000.0;
    while (infoTickAccumulator_ >= TInfoForm::kTimerMs) {
      info_.DXTimerTimer();
      infoTickAccumulator_ -= TInfoForm::kTimerMs;
    }
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    const ImVec2 size(TInfoForm::kAreaWidth, TInfoForm::kAreaHeight);
    const PictureTextures::Texture bg = textures_.Get(form_.ExePath() + "InfoBox.jpg");
    ImDrawList* dl = ImGui::GetWindowDrawList();
    dl->PushClipRect(origin, ImVec2(origin.x + size.x, origin.y + size.y), true);
    if (bg.id)
      dl->AddImage(bg.id, origin, ImVec2(origin.x + size.x, origin.y + size.y));
    else
      dl->AddRectFilled(origin, ImVec2(origin.x + size.x, origin.y + size.y),
                        IM_COL32(40, 60, 110, 255));
    ImFont* font = ImGui::GetFont();
    for (std::size_t i = 0; i < info_.CreditLines.size(); ++i) {
      const float px = i == 0 ? 24.0f : 16.0f;
      const char* text = info_.CreditLines[i].c_str();
      const ImVec2 ext = font->CalcTextSizeA(px, 1e9f, 0.0f, text);
      const float x = origin.x + static_cast<float>(TInfoForm::LineX(static_cast<int>(ext.x)));
      const float y = origin.y + static_cast<float>(info_.LineY(i));
      dl->AddText(font, px, ImVec2(x + 1, y + 1), IM_COL32(0, 0, 0, 255), text);
      dl->AddText(font, px, ImVec2(x, y), IM_COL32(255, 255, 255, 255), text);
    }
    dl->PopClipRect();
    ImGui::Dummy(size);
    if (CloseButton()) {
      CloseDialog();
      info_.FormDeactivate();
    }
    ImGui::EndPopup();
  }
}

void MainWindowUi::DrawOpenFile() {
  bool ok = false;
  const bool model = active_->id == std::string_view("open_model");
  if (BeginDialog((openDialog_.Title() + "##open").c_str(), popupOpened_)) {
    ImGui::TextUnformatted(openDialog_.Folder().string().c_str());
    ImGui::BeginGroup();
    if (ImGui::BeginListBox("##files", ImVec2(320, 260))) {
      for (const auto& e : openDialog_.Entries()) {
        const std::string label = e.isFolder ? "[" + e.name + "]" : e.name;
        if (ImGui::Selectable(label.c_str(), !e.isFolder && e.name == openDialog_.Selected(),
                              ImGuiSelectableFlags_AllowDoubleClick)) {
          if (e.isFolder) {
            if (ImGui::IsMouseDoubleClicked(0)) {
              openDialog_.EnterFolder(e.name);
              break;
            }
          } else {
            openDialog_.Select(e.name);
            if (ImGui::IsMouseDoubleClicked(0)) ok = true;
          }
        }
      }
      ImGui::EndListBox();
    }
    std::vector<const char*> filterNames;
    for (const auto& f : openDialog_.Filters()) filterNames.push_back(f.description.c_str());
    int filter = openDialog_.FilterIndex();
    ImGui::SetNextItemWidth(320);
    if (!filterNames.empty() && ImGui::Combo("##filter", &filter, filterNames.data(),
                                             static_cast<int>(filterNames.size())))
      openDialog_.SetFilter(filter);
    ImGui::EndGroup();
    ImGui::SameLine();
    ImGui::BeginGroup();
    // The preview pane: the picture scaled into the pane, centred. It leaves
    // room below for the places, so the column is no taller than the list's.
    const ImVec2 pane(240, 236);
    const ImVec2 p0 = ImGui::GetCursorScreenPos();
    ImDrawList* dl = ImGui::GetWindowDrawList();
    dl->AddRectFilled(p0, ImVec2(p0.x + pane.x, p0.y + pane.y),
                      ImGui::GetColorU32(ImGuiCol_FrameBg));
    if (!openDialog_.Preview().empty()) {
      const PictureTextures::Texture t = textures_.Get(openDialog_.Preview());
      if (t.id && t.width > 0 && t.height > 0) {
        const float scale = std::min(pane.x / static_cast<float>(t.width),
                                     pane.y / static_cast<float>(t.height));
        const float w = static_cast<float>(t.width) * scale,
                    h = static_cast<float>(t.height) * scale;
        const ImVec2 a(p0.x + (pane.x - w) * 0.5f, p0.y + (pane.y - h) * 0.5f);
        dl->AddImage(t.id, a, ImVec2(a.x + w, a.y + h));
      }
    }
    ImGui::Dummy(pane);
    // The shipped files and the user's own, one click apart.
    const int place = openDialog_.CurrentPlace();
    for (int i = 0; i < static_cast<int>(openDialog_.Places().size()); ++i) {
      const auto& p = openDialog_.Places()[static_cast<std::size_t>(i)];
      if (!p.folder.empty() && ImGui::RadioButton(p.label.c_str(), place == i))
        openDialog_.GoToPlace(i);
    }
    ImGui::EndGroup();
    const FileDialogWords& words = FileDialogWordsFor(form_.iLanguage());
    ImGui::Text("%s %s", words.file, openDialog_.Selected().c_str());
    ImGui::Separator();
    if (DialogButton(std::string(words.open) + "##open") || EnterPressed()) ok = true;
    ImGui::SameLine();
    const bool cancel = DialogButton(std::string(words.cancel) + "##cancel") || EscapePressed();
    if (ok) {
      const std::string chosen = openDialog_.Accept();
      if (!chosen.empty()) {
        CloseDialog();
        if (model) {
          form_.SetModelFileName(chosen);
          form_.LoadAirplane(chosen);
          form_.Initialisieren1Click();  // flight initialisation and the camera jump
        } else {
          form_.SetLandFileName(chosen);
          form_.LoadWorld(chosen);
        }
      }
    } else if (cancel) {
      openDialog_.Close();
      CloseDialog();
    }
    ImGui::EndPopup();
  }
}

}  // namespace veltrane::ui
