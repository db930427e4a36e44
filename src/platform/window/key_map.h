#pragma once

#include <SDL_keycode.h>
#include <SDL_scancode.h>

#include <array>
#include <cstdint>

namespace veltrane::window {

// Windows virtual-key number for an SDL scancode, 0 when the key has none.
// Stored key assignments keep the Windows numbering, so the mapping is fixed.
int VirtualKeyFromScancode(SDL_Scancode sc);

// Windows virtual-key number for a key as the user's layout labels it: letters
// and digits come from the layout's symbol (Z is the key labelled Z on QWERTZ
// and AZERTY too), keys without such a symbol from their position.
int VirtualKeyFromKey(SDL_Keycode sym, SDL_Scancode sc);

// Which virtual keys are held, tracked from press and release events so that
// a held key is the one its label names. A key counts until the release of
// the physical key that pressed it, whatever the layout does in between. A
// tap shorter than a frame still counts as held in the frame after it.
class HeldKeys {
 public:
  void Press(SDL_Scancode sc, int vk);
  void Release(SDL_Scancode sc);
  void ReleaseAll();  // focus lost: releases would go to another window
  // A frame has read the keys: releases of keys pressed during it take effect.
  void FrameDone();
  // Generic modifiers (0x10 Shift, 0x11 Ctrl, 0x12 Alt) mean either side.
  bool IsDown(int vk) const;

 private:
  void Drop(std::size_t sc);

  std::array<std::uint8_t, SDL_NUM_SCANCODES> vkOf_{};  // 0: not held
  std::array<bool, SDL_NUM_SCANCODES> fresh_{};         // pressed since the last frame
  std::array<bool, SDL_NUM_SCANCODES> releaseLater_{};
  std::array<std::uint8_t, 256> count_{};
};

// The scancode that produces a virtual key, SDL_SCANCODE_UNKNOWN when none does.
// Generic modifiers (0x10 Shift, 0x11 Ctrl, 0x12 Alt) map to their left key.
SDL_Scancode ScancodeFromVirtualKey(int vk);

}  // namespace veltrane::window
