#pragma once

#include <string>
#include <vector>

namespace veltrane::ui {

// Every command of the main menu. The menu drawing maps clicks to these and
// the main window carries them out.
enum class Command {
  None,
  Grafikkarteauswhlen, Beenden,
  FlugAbspielen, GeistAnzeigen, GeistAusblenden, FluegeAufzeichnen,
  FlugmodellLaden, FlugmodellNeuLaden,
  LandschaftLaden, LandschaftNeuLaden,
  Vergroessern, Verkleinern, Autozoom, AutozoomEinstellen, Hinterherflug, GeschwHoehe, FPS,
  Initialisieren, Pause, Windenstart, Handstart, ThermikEinstellen, WindEinstellen, Autorestart, AutoInit,
  Sound,
  Fenster, Resolution,
  Nebel, WeicheTexturen, Texturen, Optionen,
  Tastatur, AnalogeSteuerung,
  Language,
  Info,
};

struct MenuItem {
  std::string name;      // the item's component name (translation key prefix)
  std::string caption;   // German default; "&" marks the underlined letter
  std::string shortcut;  // as shown, e.g. "F2", "Ctrl+M", "Num +"; empty when none
  Command command = Command::None;
  bool checkable = false;
  bool checkedByDefault = false;
  bool separatorAfter = false;
  int value = 0;  // resolution items: width; language items: the language index
  int value2 = 0;  // resolution items: height
};

struct Menu {
  std::string name;
  std::string caption;
  std::vector<MenuItem> items;
};

// The main menu in display order.
const std::vector<Menu>& MainMenu();

// The caption without its "&" markers ("&&" stays a literal "&").
std::string PlainCaption(const std::string& caption);

}  // namespace veltrane::ui
