#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltrane {

class TMainForm;

// What a command needs beyond the main window: the dialogs and quitting
// belong to the user interface, which hands itself in when it exists.
class CommandHost {
 public:
  virtual ~CommandHost() = default;
  // Opens the dialog of that English identifier ("wind", "open_model", ...).
  virtual void ShowDialog(std::string_view id) = 0;
  // False while a dialog cannot open (no transmitter interfaces handed in yet).
  virtual bool CanOpenDialog(std::string_view id) const = 0;
  virtual void Quit() = 0;
};

// A key that runs a command: a Windows virtual-key code, with or without Ctrl.
struct Shortcut {
  int vk = 0;
  bool ctrl = false;
};

// How the menu shows a shortcut: "F2", "Ctrl+M", "Num +", "Z".
std::string ShortcutText(const Shortcut& s);

// One menu command. The menu, the main window's keys and the check marks all
// read this table, so a new command is one entry plus its language texts.
struct AppCommand {
  const char* id;       // English identifier: "winch_launch"
  const char* menu;     // the menu it sits in, by the menu's component name
  const char* key;      // component name; the language key is key + ".Caption"
  const char* caption;  // German default; "&" marks the underlined letter
  std::vector<Shortcut> shortcuts;
  bool (*checked)(const TMainForm&) = nullptr;  // null: no check mark
  bool checkedByDefault = false;
  bool (*enabled)(const TMainForm&) = nullptr;  // null: always enabled
  void (*action)(TMainForm&) = nullptr;
  bool separatorAfter = false;

  bool Checkable() const { return checked != nullptr; }
};

// Every command in menu order.
const std::vector<AppCommand>& Commands();
const AppCommand* FindCommand(std::string_view id);
// The command a key runs, or null.
const AppCommand* CommandForKey(int vk, bool ctrl);

bool IsEnabled(const AppCommand& c, const TMainForm& form);
// Runs the command unless it is disabled.
void RunCommand(const AppCommand& c, TMainForm& form);

}  // namespace veltrane
