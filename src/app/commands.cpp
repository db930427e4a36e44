#include "app/commands.h"

#include "app/main_form.h"

namespace veltrane {

namespace {

constexpr int kF2 = 0x71, kF3 = 0x72;
constexpr char kKeyHelp[] = "key_help";

// A command that opens a dialog of the user interface.
template <const char* Dialog>
void OpenDialog(TMainForm& f) {
  if (CommandHost* h = f.Host()) h->ShowDialog(Dialog);
}

constexpr char kDriver[] = "driver", kReplay[] = "replay", kGhost[] = "ghost",
               kOpenModel[] = "open_model", kOpenScene[] = "open_scene", kAutozoom[] = "autozoom",
               kThermal[] = "thermal", kWind[] = "wind", kSound[] = "sound",
               kGraphics[] = "graphics", kKeys[] = "keys", kRadio[] = "radio", kInfo[] = "info",
               kWorkingTime[] = "working_time", kResults[] = "results";

std::vector<AppCommand> Build() {
  using F = TMainForm;
  auto key = [](int vk) { return std::vector<Shortcut>{{vk, false}}; };
  auto ctrl = [](int vk) { return std::vector<Shortcut>{{vk, true}}; };
  const std::vector<Shortcut> none;
  return {
      {"choose_driver", "Datei1", "Grafikkarteauswhlen1", "&Grafikkarte auswählen", none, nullptr,
       false, nullptr, OpenDialog<kDriver>, true},
      {"replay_flight", "Datei1", "Flugabspielen1", "Flug &abspielen...", none, nullptr, false,
       nullptr, OpenDialog<kReplay>},
      {"show_ghost", "Datei1", "Geistanzeigen1", "Flug als G&eist zeigen...", none, nullptr, false,
       nullptr, OpenDialog<kGhost>},
      {"hide_ghost", "Datei1", "Geistausblenden1", "Geist a&usblenden", none, nullptr, false,
       [](const F& f) { return f.GhostShown(); }, [](F& f) { f.HideGhost(); }, true},
      {"record_flights", "Datei1", "Fluegeaufzeichnen1", "Flüge auf&zeichnen", none,
       [](const F& f) { return f.RecordFlights(); }, true, nullptr,
       [](F& f) { f.RecordFlightsClick(); }, true},
      // Quitting stays the last entry, as in every desktop program.
      {"quit", "Datei1", "Beenden1", "&Beenden", none, nullptr, false, nullptr,
       [](F& f) {
         if (CommandHost* h = f.Host()) h->Quit();
       }},
      {"load_model", "Modell1", "Flugmodellladen1", "&Laden...", key(kF2), nullptr, false, nullptr,
       OpenDialog<kOpenModel>},
      {"reload_model", "Modell1", "Flugmodellneuladen1", "&Neu laden", ctrl('M'), nullptr, false,
       nullptr, [](F& f) { f.ModelNeuLadenClick(); }},
      {"load_scene", "Landschaft1", "Laden1", "&Laden...", key(kF3), nullptr, false, nullptr,
       OpenDialog<kOpenScene>},
      {"reload_scene", "Landschaft1", "Landschaftneuladen1", "&Neu laden", ctrl('L'), nullptr,
       false, nullptr, [](F& f) { f.LandNeuLadenClick(); }},
      {"zoom_in", "Ansicht1", "Vergssern1", "Ver&grössern", key(vk::kAdd), nullptr, false, nullptr,
       [](F& f) { f.Vergssern1Click(); }},
      {"zoom_out", "Ansicht1", "Verkleinern1", "Ver&kleinern", key(vk::kSubtract), nullptr, false,
       nullptr, [](F& f) { f.Verkleinern1Click(); }, true},
      {"autozoom", "Ansicht1", "Autozoom", "Auto&zoom", key('Z'),
       [](const F& f) { return f.Zooms().AutoZoom; }, false, nullptr,
       [](F& f) { f.AutozoomClick(); }},
      {"autozoom_dialog", "Ansicht1", "Autozoomeinstellen1", "&Autozoom einstellen...", none,
       nullptr, false, nullptr, OpenDialog<kAutozoom>, true},
      {"follow_flight", "Ansicht1", "Hinterherflug1", "Hinterherflug", key('C'),
       [](const F& f) { return f.Zooms().Hinterherflug; }, false, nullptr,
       [](F& f) { f.Hinterherflug1Click(); }, true},
      {"speed_height", "Ansicht1", "GeschwHoehe", "Geschwindigkeit, Höhe und Vario", key('A'),
       [](const F& f) { return f.Checks().GeschwHoehe; }, false, nullptr,
       [](F& f) { f.GeschwHoeheClick(); }},
      {"fps", "Ansicht1", "FPS", "&Bilder pro Sekunde", none,
       [](const F& f) { return f.Checks().FPS; }, false, nullptr, [](F& f) { f.FPSClick(); }},
      {"init", "Simulation1", "Initialisieren1", "&Initialisieren", key('I'), nullptr, false,
       nullptr, [](F& f) { f.Initialisieren1Click(); }},
      {"pause", "Simulation1", "Pause", "&Pause", key('P'),
       [](const F& f) { return f.State().Flags.Pause; }, false, nullptr,
       [](F& f) { f.PauseClick(); }},
      // Slow motion: each item toggles its speed against real time.
      {"slow_motion_half", "Simulation1", "Zeitlupe2", "&Zeitlupe: halbe Geschwindigkeit", none,
       [](const F& f) { return f.SlowMotion() == 2; }, false, nullptr,
       [](F& f) { f.SetSlowMotion(f.SlowMotion() == 2 ? 1 : 2); }},
      {"slow_motion_quarter", "Simulation1", "Zeitlupe4", "Zeitlupe: &Viertelgeschwindigkeit", none,
       [](const F& f) { return f.SlowMotion() == 4; }, false, nullptr,
       [](F& f) { f.SetSlowMotion(f.SlowMotion() == 4 ? 1 : 4); }, true},
      {"winch_launch", "Simulation1", "Windenstart1", "&Windenstart", key('W'), nullptr, false,
       nullptr, [](F& f) { f.Windenstart1Click(); }},
      {"hand_launch", "Simulation1", "Handstart1", "Handsta&rt", key('R'), nullptr, false, nullptr,
       [](F& f) { f.Handstart1Click(); }, true},
      {"thermal_dialog", "Simulation1", "Thermikeinstellen1", "&Thermik einstellen...", none,
       nullptr, false, nullptr, OpenDialog<kThermal>},
      {"show_thermals", "Simulation1", "ThermikAnzeigen", "T&hermik anzeigen", none,
       [](const F& f) { return f.Checks().ThermikAnzeigen; }, false, nullptr,
       [](F& f) { f.ThermikAnzeigenClick(); }},
      {"wind_dialog", "Simulation1", "Windeinstellen1", "Wi&nd einstellen...", none, nullptr, false,
       nullptr, OpenDialog<kWind>, true},
      {"indestructible", "Simulation1", "Autorestart", "Modell &unzerstörbar", key('U'),
       [](const F& f) { return f.State().Flags.Autorestart; }, false, nullptr,
       [](F& f) { f.AutorestartClick(); }},
      {"auto_init", "Simulation1", "AutoInit", "&Automatische Initialisierung", none,
       [](const F& f) { return f.State().Flags.AutoInit; }, false, nullptr,
       [](F& f) { f.AutoInitClick(); }},
      {"task_slope_race", "Aufgaben1", "Hangrennen1", "&Hangrennen", none, nullptr, false, nullptr,
       [](F& f) { f.StartTask(tasks::TaskKind::SlopeRace); }},
      // Asks the working time first.
      {"task_duration", "Aufgaben1", "DauerundLandung1", "&Dauer und Landung...", none, nullptr,
       false, nullptr, OpenDialog<kWorkingTime>},
      {"task_limbo", "Aufgaben1", "Limbo1", "&Limbo", none, nullptr, false, nullptr,
       [](F& f) { f.StartTask(tasks::TaskKind::Limbo); }},
      {"task_end", "Aufgaben1", "Aufgabebeenden1", "Aufgabe &beenden", none, nullptr, false,
       [](const F& f) { return f.RunningTask().has_value(); }, [](F& f) { f.EndTask(); }, true},
      {"task_results", "Aufgaben1", "Ergebnisse1", "&Ergebnisse...", none, nullptr, false, nullptr,
       OpenDialog<kResults>},
      {"sound_dialog", "Sound1", "Sound2", "So&und", none, nullptr, false, nullptr,
       OpenDialog<kSound>},
      // Until the user sets it, the mark follows the model: on for a glider.
      {"vario", "Sound1", "Vario", "&Vario", none, [](const F& f) { return f.VarioOn(); }, false,
       nullptr, [](F& f) { f.VarioClick(); }},
      {"window_mode", "Auflsung1", "NFenster", "&Fenster", none, nullptr, false, nullptr,
       [](F& f) {
         f.SetDisplay({false, 0, 0});
       },
       true},
      {"fog", "Grafik", "Nebel", "&Nebel", none, [](const F& f) { return f.Checks().Nebel; }, true,
       nullptr, [](F& f) { f.NebelClick(); }},
      {"smooth_textures", "Grafik", "weicheTexturen", "&Weiche Texturen", none,
       [](const F& f) { return f.Checks().weicheTexturen; }, true, nullptr,
       [](F& f) { f.weicheTexturenClick(); }},
      {"textures", "Grafik", "Texturen", "&Texturen", none,
       [](const F& f) { return f.Checks().Texturen; }, true, nullptr,
       [](F& f) { f.TexturenClick(); }},
      {"panorama", "Grafik", "Panorama", "&Panorama und Himmel", none,
       [](const F& f) { return f.Checks().Panorama; }, true, nullptr,
       [](F& f) { f.PanoramaClick(); }},
      {"ground_detail", "Grafik", "Bodendetails", "&Bodendetails", none,
       [](const F& f) { return f.Checks().Bodendetails; }, true, nullptr,
       [](F& f) { f.BodendetailsClick(); }, true},
      {"graphics_options", "Grafik", "Optionen1", "Optionen ...", none, nullptr, false, nullptr,
       OpenDialog<kGraphics>},
      {"keyboard_dialog", "Steuerung1", "Tastatur1", "&Tastatur...", none, nullptr, false, nullptr,
       OpenDialog<kKeys>, true},
      // Disabled until the transmitter interfaces are handed in.
      {"radio_dialog", "Steuerung1", "AnalogeSteuerung", "&Analoge Steuerung...", none, nullptr,
       false, [](const F& f) { return f.Host() && f.Host()->CanOpenDialog(kRadio); },
       OpenDialog<kRadio>},
      {"key_help", "Hilfe1", "Tastenbelegung1", "&Tastenbelegung...", none, nullptr, false, nullptr,
       OpenDialog<kKeyHelp>},
      {"info", "Hilfe1", "Info1", "&Info", none, nullptr, false, nullptr, OpenDialog<kInfo>},
  };
}

}  // namespace

std::string ShortcutText(const Shortcut& s) {
  std::string text = s.ctrl ? "Ctrl+" : "";
  if (s.vk >= 0x70 && s.vk <= 0x87) return text + "F" + std::to_string(s.vk - 0x70 + 1);
  if (s.vk == vk::kAdd) return text + "Num +";
  if (s.vk == vk::kSubtract) return text + "Num -";
  return text + static_cast<char>(s.vk);
}

const std::vector<AppCommand>& Commands() {
  static const std::vector<AppCommand> commands = Build();  // immutable after first use
  return commands;
}

const AppCommand* FindCommand(std::string_view id) {
  for (const AppCommand& c : Commands())
    if (id == c.id) return &c;
  return nullptr;
}

const AppCommand* CommandForKey(int vk, bool ctrl) {
  for (const AppCommand& c : Commands())
    for (const Shortcut& s : c.shortcuts)
      if (s.vk == vk && s.ctrl == ctrl) return &c;
  return nullptr;
}

bool IsEnabled(const AppCommand& c, const TMainForm& form) { return !c.enabled || c.enabled(form); }

void RunCommand(const AppCommand& c, TMainForm& form) {
  if (IsEnabled(c, form) && c.action) c.action(form);
}

}  // namespace veltrane
