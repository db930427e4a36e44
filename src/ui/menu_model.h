#pragma once

#include <string>
#include <vector>

#include "app/commands.h"

namespace veltrane::ui {

// What a menu item does: a command of the table in app/commands.h, or one
// of the items built from a list (a full-screen size, a language).
enum class Command { None, Table, Resolution, Language };

struct MenuItem {
  std::string id;    // English identifier: the command's, "resolution_800x600", "language_russian"
  std::string name;  // the item's component name (translation key prefix)
  std::string caption;   // German default; "&" marks the underlined letter
  std::string shortcut;  // as shown, e.g. "F2", "Ctrl+M", "Num +"; empty when none
  Command command = Command::None;
  const AppCommand* app = nullptr;  // the table's entry when command is Table
  bool checkable = false;
  bool checkedByDefault = false;
  bool separatorAfter = false;
  int value = 0;   // resolution items: width; language items: the language index
  int value2 = 0;  // resolution items: height
};

struct Menu {
  std::string name;
  std::string caption;
  std::vector<MenuItem> items;
  std::string id;  // English identifier: "view"
};

// The main menu in display order.
const std::vector<Menu>& MainMenu();

// The caption without its "&" markers ("&&" stays a literal "&").
std::string PlainCaption(const std::string& caption);

}  // namespace veltrane::ui
