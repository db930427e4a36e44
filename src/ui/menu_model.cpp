#include "ui/menu_model.h"

#include <cctype>

#include "app/display_sizes.h"
#include "base/settings/locale_language.h"

namespace veltrane::ui {

namespace {

MenuItem Item(std::string name, std::string caption, Command c) {
  MenuItem m;
  m.name = std::move(name);
  m.caption = std::move(caption);
  m.command = c;
  return m;
}

MenuItem FromTable(const AppCommand& c) {
  MenuItem m = Item(c.key, c.caption, Command::Table);
  m.app = &c;
  m.id = c.id;
  if (!c.shortcuts.empty()) m.shortcut = ShortcutText(c.shortcuts.front());
  m.checkable = c.Checkable();
  m.checkedByDefault = c.checkedByDefault;
  m.separatorAfter = c.separatorAfter;
  return m;
}

MenuItem Resolution(int w, int h) {
  const std::string text = std::to_string(w) + "x" + std::to_string(h);
  MenuItem m = Item("N" + text, text, Command::Resolution);
  m.id = "resolution_" + text;
  m.value = w;
  m.value2 = h;
  return m;
}

MenuItem Lang(std::string name, std::string caption, int index) {
  std::string id = "language_";
  for (const char c : name)
    if (std::isalpha(static_cast<unsigned char>(c)))
      id += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  MenuItem m = Item(std::move(name), std::move(caption), Command::Language);
  m.id = std::move(id);
  m.value = index;
  return m;
}

std::vector<Menu> Build() {
  std::vector<Menu> menus = {{"Datei1", "&Datei", {}, "file"},
                             {"Modell1", "&Flugmodell", {}, "model"},
                             {"Landschaft1", "&Landschaft", {}, "scene"},
                             {"Ansicht1", "A&nsicht", {}, "view"},
                             {"Simulation1", "Si&mulation", {}, "simulation"},
                             {"Aufgaben1", "Aufga&ben", {}, "tasks"},
                             {"Sound1", "S&ound", {}, "sound"},
                             {"Auflsung1", "&Auflösung", {}, "resolution"},
                             {"Grafik", "&Grafik", {}, "graphics"},
                             {"Steuerung1", "&Steuerung", {}, "controls"},
                             {"Sprache1", "S&prache", {}, "language"},
                             {"Hilfe1", "&Hilfe", {}, "help"}};
  for (Menu& m : menus) {
    for (const AppCommand& c : Commands())
      if (m.name == c.menu) m.items.push_back(FromTable(c));
    if (m.name == "Auflsung1")
      for (const FullScreenSize& s : kFullScreenSizes)
        m.items.push_back(Resolution(s.width, s.height));
    if (m.name == "Sprache1")
      m.items = {Lang("ChineseSimplified1", "&Chinese Simplified", lang::kChineseSimplified),
                 Lang("ChineseTraditional1", "Chinese &Traditional", lang::kChineseTraditional),
                 Lang("Czech1", "C&zech", lang::kCzech),
                 Lang("Danish1", "&Danish", lang::kDanish),
                 Lang("Dutch1", "D&utch", lang::kDutch),
                 Lang("German1", "&German", lang::kGerman),
                 Lang("Greek1", "G&reek", lang::kGreek),
                 Lang("English1", "&English", lang::kEnglish),
                 Lang("French1", "&French", lang::kFrench),
                 Lang("Italian1", "&Italian", lang::kItalian),
                 Lang("Japanese1", "&Japanese", lang::kJapanese),
                 Lang("Norwegian1", "&Norwegian", lang::kNorwegian),
                 Lang("Polish1", "&Polish", lang::kPolish),
                 Lang("Portugues1", "P&ortugues", lang::kPortuguese),
                 Lang("Russian1", "&Russian", lang::kRussian),
                 Lang("Slovak1", "&Slovak", lang::kSlovak),
                 Lang("Spanish1", "S&panish", lang::kSpanish),
                 Lang("Swedish1", "S&wedish", lang::kSwedish)};
  }
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
