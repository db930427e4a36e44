#pragma once

// What every dialog shares: the modal frame, the buttons and the keys read
// the way this ImGui version needs.

#include <initializer_list>
#include <string>

#include "ui/language.h"
#include "ui/ui_map.h"

namespace veltrane::ui {

// Modal, centred, sized to its contents: the house style of every dialog.
// `opened` remembers that the popup was opened, so it opens once.
bool BeginDialog(const char* title, bool& opened);

// ImGui 1.86 reads IsKeyPressed's argument as the backend's key index (an SDL
// scancode); the named keys have to be looked up first.
bool EscapePressed();
bool EnterPressed();

// Where the widgets of this frame are recorded for tests; null: nowhere.
void SetUiMap(UiMap* map);
// Records the widget drawn last under its English identifier and caption.
void MapLastItem(const std::string& id, const std::string& label);
// Records a widget whose ImGui label is "caption##id": the id after "##", the caption before.
void MapLastItem(const std::string& imguiLabel);

// A button at least minWidth pixels wide that still shows a long translation
// whole (the "##" part of the caption not counted).
bool DialogButton(const std::string& caption, float minWidth = 100.0f);

// Ok and cancel below a separator: Enter is Ok, Esc cancels; keysAllowed is
// false while the dialog takes keys for itself. True once either was chosen,
// with ok telling which.
bool OkCancelButtons(const std::string& okCaption, const std::string& cancelCaption, bool& ok,
                     bool keysAllowed = true);
// The same with the captions of a language section ("Button1.Caption", "Button2.Caption");
// a section without them keeps the German "Ok" and "Abbrechen".
bool OkCancelButtons(const LanguageTexts& texts, const char* section, bool& ok,
                     bool keysAllowed = true);

// Where a field after the widest of these labels starts, labels drawn from the cursor.
float LabelColumn(std::initializer_list<const std::string*> labels);

// The one button of a dialog that only informs: Enter and Esc press it too.
bool CloseButton(const char* caption = "OK");

}  // namespace veltrane::ui
