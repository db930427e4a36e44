#include "ui/menu_model.h"

#include "app/display_sizes.h"
#include "platform/settings/locale_language.h"

namespace veltrane::ui {

namespace {

MenuItem Item(std::string name, std::string caption, std::string shortcut, Command c,
              bool separatorAfter = false) {
  MenuItem m;
  m.name = std::move(name);
  m.caption = std::move(caption);
  m.shortcut = std::move(shortcut);
  m.command = c;
  m.separatorAfter = separatorAfter;
  return m;
}

MenuItem Check(std::string name, std::string caption, std::string shortcut, Command c, bool checked,
               bool separatorAfter = false) {
  MenuItem m = Item(std::move(name), std::move(caption), std::move(shortcut), c, separatorAfter);
  m.checkable = true;
  m.checkedByDefault = checked;
  return m;
}

MenuItem Resolution(int w, int h) {
  const std::string text = std::to_string(w) + "x" + std::to_string(h);
  MenuItem m = Item("N" + text, text, "", Command::Resolution);
  m.value = w;
  m.value2 = h;
  return m;
}

MenuItem Lang(std::string name, std::string caption, int index) {
  MenuItem m = Item(std::move(name), std::move(caption), "", Command::Language);
  m.value = index;
  return m;
}

std::vector<Menu> Build() {
  std::vector<Menu> menus;
  menus.push_back({"Datei1", "&Datei",
                   {Item("Grafikkarteauswhlen1", "&Grafikkarte auswählen", "", Command::Grafikkarteauswhlen, true),
                    Item("Flugabspielen1", "Flug &abspielen...", "", Command::FlugAbspielen),
                    Item("Geistanzeigen1", "Flug als G&eist zeigen...", "", Command::GeistAnzeigen),
                    Item("Geistausblenden1", "Geist a&usblenden", "", Command::GeistAusblenden, true),
                    Check("Fluegeaufzeichnen1", "Flüge auf&zeichnen", "", Command::FluegeAufzeichnen, true, true),
                    // Quitting stays the last entry, as in every desktop program.
                    Item("Beenden1", "&Beenden", "", Command::Beenden)}});
  menus.push_back({"Modell1", "&Flugmodell",
                   {Item("Flugmodellladen1", "&Laden...", "F2", Command::FlugmodellLaden),
                    Item("Flugmodellneuladen1", "&Neu laden", "Ctrl+M", Command::FlugmodellNeuLaden)}});
  menus.push_back({"Landschaft1", "&Landschaft",
                   {Item("Laden1", "&Laden...", "F3", Command::LandschaftLaden),
                    Item("Landschaftneuladen1", "&Neu laden", "Ctrl+L", Command::LandschaftNeuLaden)}});
  menus.push_back({"Ansicht1", "A&nsicht",
                   {Item("Vergssern1", "Ver&grössern", "Num +", Command::Vergroessern),
                    Item("Verkleinern1", "Ver&kleinern", "Num -", Command::Verkleinern, true),
                    Check("Autozoom", "Auto&zoom", "Z", Command::Autozoom, false),
                    Item("Autozoomeinstellen1", "&Autozoom einstellen...", "", Command::AutozoomEinstellen, true),
                    Check("Hinterherflug1", "Hinterherflug", "C", Command::Hinterherflug, false, true),
                    Check("GeschwHoehe", "Geschwindigkeit, Höhe und Vario", "A", Command::GeschwHoehe, false),
                    Check("FPS", "&Bilder pro Sekunde", "", Command::FPS, false)}});
  menus.push_back({"Simulation1", "Si&mulation",
                   {Item("Initialisieren1", "&Initialisieren", "I", Command::Initialisieren),
                    Check("Pause", "&Pause", "P", Command::Pause, false, true),
                    Item("Windenstart1", "&Windenstart", "W", Command::Windenstart),
                    Item("Handstart1", "Handsta&rt", "R", Command::Handstart, true),
                    Item("Thermikeinstellen1", "&Thermik einstellen...", "", Command::ThermikEinstellen),
                    Item("Windeinstellen1", "Wi&nd einstellen...", "", Command::WindEinstellen, true),
                    Check("Autorestart", "Modell &unzerstörbar", "U", Command::Autorestart, false),
                    Check("AutoInit", "&Automatische Initialisierung", "", Command::AutoInit, false)}});
  menus.push_back({"Sound1", "S&ound", {Item("Sound2", "So&und", "", Command::Sound)}});
  {
    Menu sizes{"Auflsung1", "&Auflösung", {Item("NFenster", "&Fenster", "", Command::Fenster, true)}};
    for (const FullScreenSize& s : kFullScreenSizes) sizes.items.push_back(Resolution(s.width, s.height));
    menus.push_back(std::move(sizes));
  }
  menus.push_back({"Grafik", "&Grafik",
                   {Check("Nebel", "&Nebel", "", Command::Nebel, true),
                    Check("weicheTexturen", "&Weiche Texturen", "", Command::WeicheTexturen, true),
                    Check("Texturen", "&Texturen", "", Command::Texturen, true, true),
                    Item("Optionen1", "Optionen ...", "", Command::Optionen)}});
  menus.push_back({"Steuerung1", "&Steuerung",
                   {Item("Tastatur1", "&Tastatur...", "", Command::Tastatur, true),
                    Item("AnalogeSteuerung", "&Analoge Steuerung...", "", Command::AnalogeSteuerung)}});
  menus.push_back({"Sprache1", "S&prache",
                   {Lang("ChineseSimplified1", "&Chinese Simplified", lang::kChineseSimplified),
                    Lang("ChineseTraditional1", "Chinese &Traditional", lang::kChineseTraditional),
                    Lang("Czech1", "C&zech", lang::kCzech), Lang("Danish1", "&Danish", lang::kDanish),
                    Lang("Dutch1", "D&utch", lang::kDutch), Lang("German1", "&German", lang::kGerman),
                    Lang("Greek1", "G&reek", lang::kGreek), Lang("English1", "&English", lang::kEnglish),
                    Lang("French1", "&French", lang::kFrench), Lang("Italian1", "&Italian", lang::kItalian),
                    Lang("Japanese1", "&Japanese", lang::kJapanese),
                    Lang("Norwegian1", "&Norwegian", lang::kNorwegian),
                    Lang("Polish1", "&Polish", lang::kPolish),
                    Lang("Portugues1", "P&ortugues", lang::kPortuguese),
                    Lang("Russian1", "&Russian", lang::kRussian), Lang("Slovak1", "&Slovak", lang::kSlovak),
                    Lang("Spanish1", "S&panish", lang::kSpanish),
                    Lang("Swedish1", "S&wedish", lang::kSwedish)}});
  menus.push_back({"Hilfe1", "&Hilfe", {Item("Info1", "&Info", "", Command::Info)}});
  return menus;
}

}  // namespace

const std::vector<Menu>& MainMenu() {
  static const std::vector<Menu> menus = Build();  // immutable after first use
  return menus;
}

std::string PlainCaption(const std::string& caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

}  // namespace veltrane::ui
