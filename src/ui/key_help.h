#pragma once

#include <string>
#include <vector>

#include "radio/key_form.h"
#include "ui/language.h"

namespace veltrane::ui {

// One line of the key list: the key (or keys) and what it does; a heading
// has only its text in `action`.
struct KeyHelpRow {
  std::string keys;
  std::string action;
  bool heading = false;
};

// The keys in force, in the language in force, built from the live tables:
// the keyboard control's assignment for the loaded model's kind (airplane or
// helicopter), then the main window's keys (the command table's shortcuts,
// the pilot's places, Esc, F12, the replay's keys).
std::vector<KeyHelpRow> KeyHelpRows(const LanguageTexts& texts, const TKeyForm& keys,
                                    int modelStyle);

// The hint for a first flight: a title, then short lines on the controls,
// the launches and the menu, with the keys as they are assigned now.
std::vector<std::string> FirstFlightLines(const LanguageTexts& texts, const TKeyForm& keys,
                                          int modelStyle);

}  // namespace veltrane::ui
