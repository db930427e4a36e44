#pragma once

#include <SDL_scancode.h>

namespace veltrane::window {

// Windows virtual-key number for an SDL scancode, 0 when the key has none.
// Stored key assignments keep the Windows numbering, so the mapping is fixed.
int VirtualKeyFromScancode(SDL_Scancode sc);

// The scancode that produces a virtual key, SDL_SCANCODE_UNKNOWN when none does.
// Generic modifiers (0x10 Shift, 0x11 Ctrl, 0x12 Alt) map to their left key.
SDL_Scancode ScancodeFromVirtualKey(int vk);

}  // namespace veltrane::window
