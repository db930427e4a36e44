#include "ui/key_help.h"

#include <cstddef>
#include <initializer_list>
#include <string_view>

#include "app/commands.h"
#include "app/main_form.h"
#include "radio/key_names.h"
#include "ui/menu_model.h"

namespace veltrane::ui {

namespace {

constexpr int kSlotsPerStyle = kKeySlots / 2;  // airplane slots first, then helicopter

int FirstSlot(int modelStyle) { return modelStyle == 1 ? kSlotsPerStyle : 0; }

std::string SlotCaption(const LanguageTexts& t, int slot) {
  return t.Text("KeyForm", "SpeedButton" + std::to_string(slot + 1) + ".Caption");
}

std::string SlotKey(const TKeyForm& keys, int slot) {
  return KeyName(keys.KeyCode[static_cast<std::size_t>(slot)]);
}

std::string MenuCaption(const LanguageTexts& t, const char* key, const char* german) {
  return PlainCaption(t.Text("MainForm", std::string(key) + ".Caption", german));
}

// Without the "..." that says the item opens a dialog: it reads as a name in a sentence.
std::string CommandCaption(const LanguageTexts& t, const char* id) {
  const AppCommand* c = FindCommand(id);
  std::string text = c ? MenuCaption(t, c->key, c->caption) : std::string();
  while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.pop_back();
  return text;
}

std::string CommandKeys(const char* id) {
  std::string text;
  if (const AppCommand* c = FindCommand(id))
    for (const Shortcut& s : c->shortcuts) text += (text.empty() ? "" : ", ") + ShortcutText(s);
  return text;
}

// "{0}", "{1}", ... replaced in order; a translation may move or leave them out.
std::string Fill(std::string text, std::initializer_list<std::string> values) {
  int n = 0;
  for (const std::string& v : values) {
    const std::string mark = "{" + std::to_string(n++) + "}";
    for (std::size_t at = text.find(mark); at != std::string::npos;
         at = text.find(mark, at + v.size()))
      text.replace(at, mark.size(), v);
  }
  return text;
}

}  // namespace

std::vector<KeyHelpRow> KeyHelpRows(const LanguageTexts& t, const TKeyForm& keys, int modelStyle) {
  std::vector<KeyHelpRow> rows;
  rows.push_back({"", t.Text("HelpForm", "Flying"), true});
  for (int slot = FirstSlot(modelStyle); slot < FirstSlot(modelStyle) + kSlotsPerStyle; ++slot)
    rows.push_back({SlotKey(keys, slot), SlotCaption(t, slot)});

  rows.push_back({"", t.Text("HelpForm", "MainWindow"), true});
  for (const AppCommand& c : Commands()) {
    std::string text;
    for (const Shortcut& s : c.shortcuts) text += (text.empty() ? "" : ", ") + ShortcutText(s);
    if (!text.empty()) rows.push_back({text, MenuCaption(t, c.key, c.caption)});
  }
  rows.push_back({"2 3 4 6 8 9", t.Text("HelpForm", "Pilot")});
  rows.push_back({KeyName(vk::kEscape), t.Text("HelpForm", "Escape")});
  rows.push_back({KeyName(vk::kF12), t.Text("HelpForm", "Menu")});
  rows.push_back({"", t.Text("HelpForm", "Replay"), true});
  rows.push_back({"", t.Text("FlightForm", "Keys")});
  return rows;
}

std::vector<std::string> FirstFlightLines(const LanguageTexts& t, const TKeyForm& keys,
                                          int modelStyle) {
  const int first = FirstSlot(modelStyle);
  auto pair = [&](int a, int b) {
    return SlotCaption(t, first + a) + ": " + SlotKey(keys, first + a) + "     " +
           SlotCaption(t, first + b) + ": " + SlotKey(keys, first + b);
  };
  // Throttle (or collective) first: without it an airplane does not go.
  std::vector<std::string> lines = {t.Text("HelpForm", "FirstTitle"), pair(4, 5), pair(2, 3),
                                    pair(0, 1), pair(8, 9)};
  lines.push_back(
      Fill(t.Text("HelpForm", "FirstLaunch"),
           {CommandKeys("hand_launch"), CommandKeys("winch_launch"), CommandKeys("init")}));
  lines.push_back(Fill(t.Text("HelpForm", "FirstMenu"),
                       {KeyName(vk::kF12), MenuCaption(t, "Hilfe1", "&Hilfe") + " > " +
                                               CommandCaption(t, "key_help")}));
  lines.push_back(t.Text("HelpForm", "FirstClose"));
  return lines;
}

}  // namespace veltrane::ui
