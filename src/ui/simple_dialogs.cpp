#include "ui/simple_dialogs.h"

#include <algorithm>

#include "base/settings/locale_language.h"

namespace veltrane::ui {

void TSoundForm::FormActivate(bool soundEin, int soundVolume, int varioVolume) {
  timer_.SetTimerEnabled(false);
  checkBox = soundEin;
  SetVolume(soundVolume);
  SetVarioVolume(varioVolume);
}

void TSoundForm::SetVolume(int v) { volume = std::clamp(v, 0, 100); }

void TSoundForm::SetVarioVolume(int v) { varioVolume = std::clamp(v, 0, 100); }

void TGraphConfigForm::FormShow(const GraphicsOptions& current) {
  // Depths other than 16 and 32 leave the buttons as they were.
  if (current.bitCount == 16) radio16 = true;
  if (current.bitCount == 32) radio16 = false;
  waitVBlank = current.waitVBlank;
  flip = current.flip;
  mipmapping = current.mipmapping;
}

GraphicsOptions TGraphConfigForm::Button1Click() const {
  return {radio16 ? 16 : 32, waitVBlank, flip, mipmapping};
}

void TConfigForm::FormCreate(std::vector<std::string> driverDescriptions, int iDXDrawDriver) {
  drivers = std::move(driverDescriptions);
  const int n = static_cast<int>(drivers.size());
  selected = (iDXDrawDriver >= 0 && iDXDrawDriver < n) ? iDXDrawDriver : 0;
}

void TInfoForm::FormActivate(int iLanguage) {
  ScrollOffset = 0;
  caption = iLanguage == lang::kGerman ? "Info" : "About";
  CreditLines = DefaultCredits();
  timer_.SetTimerEnabled(false);
  timerRunning = true;
}

void TInfoForm::FormDeactivate() {
  timerRunning = false;
  timer_.SetTimerEnabled(true);
  CreditLines.clear();
}

void TInfoForm::DXTimerTimer() {
  ++ScrollOffset;
  const int end = kLinePitch * static_cast<int>(CreditLines.size()) + kAreaHeight + 100;
  if (ScrollOffset > end) ScrollOffset = 0;
}

int TInfoForm::LineY(std::size_t i) const {
  return kAreaHeight + kLinePitch * static_cast<int>(i) - ScrollOffset;
}

std::vector<std::string> DefaultCredits() {
  return {"Veltrane",
          "",
          "Flugsimulator für Modellflugzeuge",
          "und Modellhubschrauber",
          "",
          "Flugzeuge, Segler, Hubschrauber",
          "Hand- und Windenstart, Thermik",
          "Sender, Joystick oder Tastatur",
          "",
          "Programmierung",
          "das Veltrane-Team",
          "",
          "Grafik: OpenGL",
          "Sound: OpenAL",
          "Fenster: SDL und Dear ImGui",
          "",
          "Viel Spaß beim Fliegen!"};
}

}  // namespace veltrane::ui
