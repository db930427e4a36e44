#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "app/main_form.h"
#include "base/settings/locale_language.h"
#include "loaders/file_names.h"

namespace veltrane {

namespace {
constexpr const char* kMain = "MainForm";
// Window sides a desktop can show; stored sizes outside them are damage.
constexpr int kMinWindowSide = 64;
constexpr int kMaxWindowSide = 16384;
constexpr const char* kRoot = "";
constexpr const char* kIgnoreCheck = "IgnoreDirectXCheck";
constexpr int kNeedMajor = 3;
constexpr int kNeedMinor = 3;
}  // namespace

bool TMainForm::OnInitalizeAppliciation(int glMajor, int glMinor) {
  trace_("OnInitalizeAppliciation GLVersion = OpenGL " + std::to_string(glMajor) + "." +
         std::to_string(glMinor) + "\r\n");
  if (glMajor > kNeedMajor || (glMajor == kNeedMajor && glMinor >= kNeedMinor)) return true;
  trace_("OnInitalizeAppliciation OpenGL Version is too old\r\n");
  if (!settings_.ValueExists(kRoot, kIgnoreCheck)) {
    const std::string text =
        "You must have installed OpenGL Version " + std::to_string(kNeedMajor) + "." +
        std::to_string(kNeedMinor) +
        " or later to run Veltrane. \nCurrent graphics drivers come with the updates of your "
        "Linux distribution; see https://www.khronos.org/opengl/ for details.";
    if (services_.ShowErrorOkIgnore("Veltrane", text) != MessageBoxChoice::Ignore) return false;
    settings_.WriteInteger(kRoot, kIgnoreCheck, 1);
    FlushSettings();
  }
  trace_("OnInitalizeAppliciation User Ignored DirectXCheck\r\n");
  return true;
}

void TMainForm::FlushSettings() {
  try {
    settings_.Flush();
  } catch (const std::exception& e) {
    trace_(std::string("TMainForm settings not saved: ") + e.what() + "\r\n");
    PushError(Texts.SettingsNotSaved + e.what());
  }
}

void TMainForm::FormCreate() {
  trace_("TMainForm.FormCreate\r\n");
  trace_("TMainForm.FormCreate ExePath = " + exePath_ + "\r\n");
  const std::string locale = UserLocaleName();
  const int defaultLanguage = LanguageIndexForLocale(locale);
  trace_("TMainForm.FormCreate UserDefaultLang = " + LanguageNameForLocale(locale) + "\r\n");
  ReadSettings();
  iLanguage_ = settings_.ReadInteger(kMain, "iLanguage", defaultLanguage);
  if (!lang::IsIndex(iLanguage_)) iLanguage_ = defaultLanguage;

  // A run that did not close normally left the screen saver disabled; the state
  // from before that run is the one to restore.
  const bool crashedRun = settings_.ReadBool(kMain, "Running", false);
  SkipFilesThatEndedTheLastRun(crashedRun);
  if (crashedRun) {
    screenSaverWasActive_ = settings_.ReadInteger(kMain, "ScreenSaver", 0) != 0;
  } else {
    std::string error;
    bool active = false;
    if (services_.GetScreenSaverActive(active, error)) screenSaverWasActive_ = active;
  }
  std::string error;
  if (services_.SetScreenSaverActive(false, false, error))
    trace_("TMainForm.FormCreate Disable ScreenSaver Succeeded\r\n");
  else
    trace_("TMainForm.FormCreate Disable ScreenSaver GetLastError = " + error + "\r\n");
  settings_.WriteString(kMain, "Running", "1");
  settings_.WriteInteger(kMain, "ScreenSaver", screenSaverWasActive_ ? 1 : 0);
  FlushSettings();

  // The interface base and the keyboard are created right after the main window.
  keyForm_.ReadSettings(settings_);
  plainInterface_.ReadSettings(settings_);

  soundAvailable_ = sound_->Available();
  if (!soundAvailable_) {
    trace_("TMainForm.FormCreate DXSound not available\r\n");
  } else if (loaders::FileExists(exePath_ + "crash.wav")) {
    sound_->LoadCrashSound(exePath_);
  }
}

// A model or landscape whose load the previous run never finished is likely
// what ended it; loading it again would end this run the same way.
void TMainForm::SkipFilesThatEndedTheLastRun(bool previousRunEndedAbnormally) {
  std::string message;
  const auto skip = [&](LoadMarker::Kind kind, std::string& current, const std::string& fallback) {
    const auto file = marker_.TakeInterrupted(kind, previousRunEndedAbnormally);
    if (!file) return;
    const std::string replacement = loaders::FileExists(DataPath(fallback)) ? fallback
                                    : kind == LoadMarker::Kind::Model       ? "Model/su-26.par"
                                                                            : "Landscape/world.scn";
    trace_(std::string("TMainForm.FormCreate ") + LoadMarker::KeyName(kind) + " = " + *file +
           " skipped\r\n");
    if (!message.empty()) message += "\n";
    message +=
        Texts.SkippedAfterCrash + *file + "\n" + Texts.DefaultInstead + DataPath(replacement);
    current = replacement;
  };
  skip(LoadMarker::Kind::Model, sModellFilename_, exePath_ + "Model/su-26.par");
  skip(LoadMarker::Kind::Landscape, sLandFileName_, exePath_ + "Landscape/world.scn");
  if (!message.empty()) PushError(message);
}

void TMainForm::ReadSettings() {
  SettingsStore& s = settings_;
  // Hand-edited or damaged values that no run of the program writes keep the
  // current value; they are named in one trace line at the end.
  std::string rejected;
  auto reject = [&](const char* name) {
    rejected += rejected.empty() ? name : std::string(", ") + name;
  };
  // Stored text that is no number at all ("nan", "inf", words) counts as out of range too.
  auto unreadable = [&](const char* name, bool asFloat) {
    const auto text = s.ReadString(kMain, name);
    return text &&
           !(asFloat ? ParseFloat(*text, s.Format()).has_value() : ParseInteger(*text).has_value());
  };
  auto integer = [&](const char* name, int& v, int lo, int hi) {
    const int r = s.ReadInteger(kMain, name, v);
    if (r >= lo && r <= hi && !unreadable(name, false))
      v = r;
    else
      reject(name);
  };
  auto finite = [&](const char* name, double& v) {
    const double r = s.ReadFloat(kMain, name, v);
    if (std::isfinite(r) && std::fabs(r) < 1e7 && !unreadable(name, true))
      v = r;
    else
      reject(name);
  };
  SetMenuVisible(s.ReadBool(kMain, "MenuIsVisible", true));
  SetRecordFlights(s.ReadBool(kMain, "RecordFlights", true));
  sound_->SetSoundEin(s.ReadBool(kMain, "SoundEin", true));
  sound_->SetSoundVolume(
      std::clamp(s.ReadInteger(kMain, "SoundVolume", sound_->SoundVolume()), 0, 100));
  // -1 automatic, 0 off, 1 on; anything else is automatic.
  const int vario = s.ReadInteger(kMain, "Vario", -1);
  sound_->SetVarioChoice(vario == 0 || vario == 1 ? static_cast<sound::VarioChoice>(vario)
                                                  : sound::VarioChoice::Automatic);
  sound_->SetVarioVolume(
      std::clamp(s.ReadInteger(kMain, "VarioVolume", sound_->VarioVolume()), 0, 100));
  {
    const std::string f = s.ReadString(kMain, "sModellFilename", exePath_ + "Model/su-26.par");
    if (loaders::FileExists(DataPath(f))) sModellFilename_ = f;
  }
  cam_.AutoZoom = s.ReadBool(kMain, "AutoZoom", false);
  // Zoom factors and ranges below zero (or a zero factor) cannot come from the
  // program and would divide by zero in the view; such values keep the current one.
  auto positive = [&](const char* name, double& v, bool zeroAllowed) {
    const double r = s.ReadFloat(kMain, name, v);
    if (std::isfinite(r) && r < 1e7 && (r > 0.0 || (zeroAllowed && r == 0.0)) &&
        !unreadable(name, true))
      v = r;
    else
      reject(name);
  };
  positive("Zoom", cam_.Zoom, false);
  positive("aZoom", cam_.aZoom, false);
  positive("fZoom", cam_.fZoom, false);
  positive("fNoZoom", cam_.fNoZoom, true);
  positive("fFullZoom", cam_.fFullZoom, false);
  integer("fZoomSpeed", cam_.fZoomSpeed, 0, 100000);
  sim_.Flags.Autorestart = s.ReadBool(kMain, "AutoRestart", false);
  sim_.Flags.AutoInit = s.ReadBool(kMain, "AutoInit", false);
  checks_.Nebel = s.ReadBool(kMain, "Nebel", true);
  checks_.Panorama = s.ReadBool(kMain, "Panorama", true);
  checks_.Bodendetails = s.ReadBool(kMain, "Bodendetails", true);
  checks_.weicheTexturen = s.ReadBool(kMain, "weicheTexturen", true);
  checks_.Texturen = s.ReadBool(kMain, "Texturen", true);
  if (s.ReadBool(kMain, "doFullscreen", false)) {
    trace_("TMainForm.FormCreate doFullscreen\r\n");
    StoreWindow();
    display_.doFullscreen = true;
    // A size the display does not offer is replaced when the display mode is chosen.
    display_.DisplayWidth = s.ReadInteger(kMain, "DisplayWidth", 640);
    display_.DisplayHeight = s.ReadInteger(kMain, "DisplayHeight", 480);
  }
  display_.iDXDrawDriver = s.ReadInteger(kMain, "iDXDrawDriver", 0);
  trace_("TMainForm.FormCreate iDXDrawDriver = " + std::to_string(display_.iDXDrawDriver) + "\r\n");
  {
    const auto drivers = services_.Drivers();
    // A driver that has gone away since the last run falls back to the first one.
    if (display_.iDXDrawDriver < 0 || display_.iDXDrawDriver >= static_cast<int>(drivers.size()))
      display_.iDXDrawDriver = 0;
    const std::string name = drivers.empty()
                                 ? std::string()
                                 : drivers[static_cast<std::size_t>(display_.iDXDrawDriver)].name;
    trace_("TMainForm.FormCreate DriverName = " + name + "\r\n");
  }
  integer("BitCount", display_.BitCount, 8, 32);
  display_.doWaitVBlank = s.ReadBool(kMain, "doWaitVBlank", true);
  display_.doFlip = s.ReadBool(kMain, "doFlip", true);
  mipmapping_ = s.ReadBool(kMain, "Mipmapping", true);
  integer("Width", width_, kMinWindowSide, kMaxWindowSide);
  integer("Height", height_, kMinWindowSide, kMaxWindowSide);
  // A full-screen start stored the placement before the window had its stored
  // size; the window to return to is the one of the stored size.
  if (windowPlacementSaved_) {
    savedPlacement_.width = width_;
    savedPlacement_.height = height_;
  }
  checks_.FPS = s.ReadBool(kMain, "FPS", false);
  checks_.GeschwHoehe = s.ReadBool(kMain, "GeschwHoehe", false);
  checks_.ThermikAnzeigen = s.ReadBool(kMain, "ThermikAnzeigen", false);
  // A settings file from before the hint existed is no first start either.
  firstFlightHelp_ =
      !s.ReadBool(kMain, "FirstFlightHelpShown", s.ValueExists(kMain, "sModellFilename"));
  {
    const std::string f = s.ReadString(kMain, "sLandFileName", exePath_ + "Landscape/world.scn");
    if (loaders::FileExists(DataPath(f))) sLandFileName_ = f;
  }
  cam_.Hinterherflug = s.ReadBool(kMain, "Hinterherflug", false);
  finite("pStandort.fX", cam_.pStandort.x);
  finite("pStandort.fY", cam_.pStandort.y);
  finite("pStandort.fZ", cam_.pStandort.z);
  if (!rejected.empty())
    trace_("TMainForm.FormCreate settings out of range, kept defaults for: " + rejected + "\r\n");
}

void TMainForm::WriteSettings() {
  SettingsStore& s = settings_;
  s.WriteBool(kMain, "MenuIsVisible", menuIsVisible_);
  s.WriteBool(kMain, "RecordFlights", RecordFlights());
  s.WriteBool(kMain, "SoundEin", sound_->SoundEin());
  s.WriteInteger(kMain, "SoundVolume", sound_->SoundVolume());
  s.WriteInteger(kMain, "Vario", static_cast<int>(sound_->VarioChoice()));
  s.WriteInteger(kMain, "VarioVolume", sound_->VarioVolume());
  s.WriteString(kMain, "sModellFilename", sModellFilename_);
  s.WriteBool(kMain, "AutoZoom", cam_.AutoZoom);
  s.WriteFloat(kMain, "Zoom", cam_.Zoom);
  s.WriteFloat(kMain, "aZoom", cam_.aZoom);
  s.WriteFloat(kMain, "fZoom", cam_.fZoom);
  s.WriteFloat(kMain, "fNoZoom", cam_.fNoZoom);
  s.WriteFloat(kMain, "fFullZoom", cam_.fFullZoom);
  s.WriteInteger(kMain, "fZoomSpeed", cam_.fZoomSpeed);
  s.WriteBool(kMain, "AutoRestart", sim_.Flags.Autorestart);
  s.WriteBool(kMain, "AutoInit", sim_.Flags.AutoInit);
  s.WriteBool(kMain, "Nebel", checks_.Nebel);
  s.WriteBool(kMain, "Panorama", checks_.Panorama);
  s.WriteBool(kMain, "Bodendetails", checks_.Bodendetails);
  s.WriteBool(kMain, "weicheTexturen", checks_.weicheTexturen);
  s.WriteBool(kMain, "Texturen", checks_.Texturen);
  s.WriteBool(kMain, "doFullscreen", display_.doFullscreen);
  s.WriteInteger(kMain, "DisplayWidth", display_.DisplayWidth);
  s.WriteInteger(kMain, "DisplayHeight", display_.DisplayHeight);
  s.WriteInteger(kMain, "iDXDrawDriver", display_.iDXDrawDriver);
  s.WriteInteger(kMain, "BitCount", display_.BitCount);
  s.WriteBool(kMain, "doWaitVBlank", display_.doWaitVBlank);
  s.WriteBool(kMain, "doFlip", display_.doFlip);
  s.WriteBool(kMain, "Mipmapping", mipmapping_);
  s.WriteInteger(kMain, "Width", width_);
  s.WriteInteger(kMain, "Height", height_);
  s.WriteBool(kMain, "FPS", checks_.FPS);
  s.WriteBool(kMain, "GeschwHoehe", checks_.GeschwHoehe);
  s.WriteBool(kMain, "ThermikAnzeigen", checks_.ThermikAnzeigen);
  s.WriteBool(kMain, "FirstFlightHelpShown", !firstFlightHelp_);
  s.WriteString(kMain, "sLandFileName", sLandFileName_);
  s.WriteBool(kMain, "Hinterherflug", cam_.Hinterherflug);
  s.WriteFloat(kMain, "pStandort.fX", cam_.pStandort.x);
  s.WriteFloat(kMain, "pStandort.fY", cam_.pStandort.y);
  s.WriteFloat(kMain, "pStandort.fZ", cam_.pStandort.z);
  s.WriteInteger(kMain, "iLanguage", iLanguage_);
}

void TMainForm::OnStartRunning() {
  trace_("TMainForm.OnStartRunning\r\n");
  if (onUpdateLanguage) onUpdateLanguage(iLanguage_);
}

void TMainForm::SetMainCaption(const std::string& caption) {
  Texts.ProgramTitle = caption;
  caption_ = captionModel_.empty() ? caption : caption + " - " + captionModel_;
  services_.SetWindowCaption(caption_);
}

void TMainForm::FormClose() {
  trace_("TMainForm.FormClose\r\n");
  RestoreWindow();
  WriteSettings();
  SetRecordFlights(false);  // closes the flight's file; the setting is written
  keyForm_.WriteSettings(settings_);
  plainInterface_.WriteSettings(settings_);
  std::string error;
  if (services_.SetScreenSaverActive(screenSaverWasActive_, true, error))
    trace_("TMainForm.FormClose Enable ScreenSaver Succeeded \r\n");
  else
    trace_("TMainForm.FormClose Enable ScreenSaver GetLastError = " + error + "\r\n");
  settings_.WriteString(kMain, "Running", "0");
  FlushSettings();
}

}  // namespace veltrane
