#pragma once

// What every dialog shares: the modal frame and the keys read the way this
// ImGui version needs.

namespace veltrane::ui {

// Modal, centred, sized to its contents: the house style of every dialog.
// `opened` remembers that the popup was opened, so it opens once.
bool BeginDialog(const char* title, bool& opened);

// ImGui 1.86 reads IsKeyPressed's argument as the backend's key index (an SDL
// scancode); the named keys have to be looked up first.
bool EscapePressed();
bool EnterPressed();

}  // namespace veltrane::ui
