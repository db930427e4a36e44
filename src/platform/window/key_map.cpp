#include "platform/window/key_map.h"

#include <array>
#include <utility>

namespace veltrane::window {
namespace {

struct Pair {
  SDL_Scancode sc;
  int vk;
};

// Keys outside the letter, digit and function-key runs.
constexpr Pair kTable[] = {
    {SDL_SCANCODE_BACKSPACE, 0x08},    {SDL_SCANCODE_TAB, 0x09},
    {SDL_SCANCODE_RETURN, 0x0D},       {SDL_SCANCODE_KP_ENTER, 0x0D},
    {SDL_SCANCODE_PAUSE, 0x13},        {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_ESCAPE, 0x1B},       {SDL_SCANCODE_SPACE, 0x20},
    {SDL_SCANCODE_PAGEUP, 0x21},       {SDL_SCANCODE_PAGEDOWN, 0x22},
    {SDL_SCANCODE_END, 0x23},          {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_LEFT, 0x25},         {SDL_SCANCODE_UP, 0x26},
    {SDL_SCANCODE_RIGHT, 0x27},        {SDL_SCANCODE_DOWN, 0x28},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C},  {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_DELETE, 0x2E},       {SDL_SCANCODE_LGUI, 0x5B},
    {SDL_SCANCODE_RGUI, 0x5C},         {SDL_SCANCODE_APPLICATION, 0x5D},
    {SDL_SCANCODE_KP_0, 0x60},         {SDL_SCANCODE_KP_1, 0x61},
    {SDL_SCANCODE_KP_2, 0x62},         {SDL_SCANCODE_KP_3, 0x63},
    {SDL_SCANCODE_KP_4, 0x64},         {SDL_SCANCODE_KP_5, 0x65},
    {SDL_SCANCODE_KP_6, 0x66},         {SDL_SCANCODE_KP_7, 0x67},
    {SDL_SCANCODE_KP_8, 0x68},         {SDL_SCANCODE_KP_9, 0x69},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A},  {SDL_SCANCODE_KP_PLUS, 0x6B},
    {SDL_SCANCODE_KP_MINUS, 0x6D},     {SDL_SCANCODE_KP_PERIOD, 0x6E},
    {SDL_SCANCODE_KP_DECIMAL, 0x6E},   {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90}, {SDL_SCANCODE_SCROLLLOCK, 0x91},
    {SDL_SCANCODE_LSHIFT, 0xA0},       {SDL_SCANCODE_RSHIFT, 0xA1},
    {SDL_SCANCODE_LCTRL, 0xA2},        {SDL_SCANCODE_RCTRL, 0xA3},
    {SDL_SCANCODE_LALT, 0xA4},         {SDL_SCANCODE_RALT, 0xA5},
    {SDL_SCANCODE_SEMICOLON, 0xBA},    {SDL_SCANCODE_EQUALS, 0xBB},
    {SDL_SCANCODE_COMMA, 0xBC},        {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_PERIOD, 0xBE},       {SDL_SCANCODE_SLASH, 0xBF},
    {SDL_SCANCODE_GRAVE, 0xC0},        {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_BACKSLASH, 0xDC},    {SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    {SDL_SCANCODE_APOSTROPHE, 0xDE},   {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
};

}  // namespace

int VirtualKeyFromScancode(SDL_Scancode sc) {
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 0x41 + (sc - SDL_SCANCODE_A);
  // SDL orders the digit row 1..9, 0.
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return 0x31 + (sc - SDL_SCANCODE_1);
  if (sc == SDL_SCANCODE_0) return 0x30;
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return 0x70 + (sc - SDL_SCANCODE_F1);
  if (sc >= SDL_SCANCODE_F13 && sc <= SDL_SCANCODE_F24) return 0x7C + (sc - SDL_SCANCODE_F13);
  for (const Pair& p : kTable)
    if (p.sc == sc) return p.vk;
  return 0;
}

int VirtualKeyFromKey(SDL_Keycode sym, SDL_Scancode sc) {
  if (sym >= SDLK_a && sym <= SDLK_z) return 0x41 + (sym - SDLK_a);
  if (sym >= SDLK_0 && sym <= SDLK_9) return 0x30 + (sym - SDLK_0);
  const bool letterPlace = sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z;
  if (letterPlace) {
    // A letter's place that carries punctuation in this layout (M on AZERTY
    // gives ','): the punctuation key's code, never the letter of the place.
    for (const auto& [symbol, vk] :
         {std::pair{SDLK_COMMA, 0xBC}, std::pair{SDLK_PERIOD, 0xBE}, std::pair{SDLK_MINUS, 0xBD},
          std::pair{SDLK_EQUALS, 0xBB}, std::pair{SDLK_PLUS, 0xBB}, std::pair{SDLK_SEMICOLON, 0xBA},
          std::pair{SDLK_SLASH, 0xBF}, std::pair{SDLK_QUOTE, 0xDE}})
      if (sym == symbol) return vk;
    return 0;
  }
  // Everything else, the digit row of layouts whose digits need Shift
  // (AZERTY) included, keeps the code of its place.
  return VirtualKeyFromScancode(sc);
}

void HeldKeys::Press(SDL_Scancode sc, int vk) {
  if (sc <= SDL_SCANCODE_UNKNOWN || sc >= SDL_NUM_SCANCODES || vk <= 0 || vk > 255) return;
  const auto i = static_cast<std::size_t>(sc);
  releaseLater_[i] = false;
  if (vkOf_[i] != 0) return;  // auto-repeat, or pressed again within a frame
  vkOf_[i] = static_cast<std::uint8_t>(vk);
  fresh_[i] = true;
  ++count_[static_cast<std::size_t>(vk)];
}

void HeldKeys::Release(SDL_Scancode sc) {
  if (sc <= SDL_SCANCODE_UNKNOWN || sc >= SDL_NUM_SCANCODES) return;
  const auto i = static_cast<std::size_t>(sc);
  if (fresh_[i])
    releaseLater_[i] = true;
  else
    Drop(i);
}

void HeldKeys::Drop(std::size_t sc) {
  std::uint8_t& vk = vkOf_[sc];
  if (vk != 0) --count_[vk];
  vk = 0;
  releaseLater_[sc] = false;
}

void HeldKeys::FrameDone() {
  for (std::size_t i = 0; i < vkOf_.size(); ++i) {
    fresh_[i] = false;
    if (releaseLater_[i]) Drop(i);
  }
}

void HeldKeys::ReleaseAll() {
  vkOf_.fill(0);
  count_.fill(0);
  fresh_.fill(false);
  releaseLater_.fill(false);
}

bool HeldKeys::IsDown(int vk) const {
  auto down = [&](int code) { return count_[static_cast<std::size_t>(code)] != 0; };
  switch (vk) {
    case 0x10:
      return down(0xA0) || down(0xA1);
    case 0x11:
      return down(0xA2) || down(0xA3);
    case 0x12:
      return down(0xA4) || down(0xA5);
    default:
      return vk > 0 && vk < 256 && down(vk);
  }
}

SDL_Scancode ScancodeFromVirtualKey(int vk) {
  if (vk >= 0x41 && vk <= 0x5A) return static_cast<SDL_Scancode>(SDL_SCANCODE_A + (vk - 0x41));
  if (vk >= 0x31 && vk <= 0x39) return static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (vk - 0x31));
  if (vk == 0x30) return SDL_SCANCODE_0;
  if (vk >= 0x70 && vk <= 0x7B) return static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (vk - 0x70));
  if (vk >= 0x7C && vk <= 0x87) return static_cast<SDL_Scancode>(SDL_SCANCODE_F13 + (vk - 0x7C));
  switch (vk) {
    case 0x10:
      return SDL_SCANCODE_LSHIFT;
    case 0x11:
      return SDL_SCANCODE_LCTRL;
    case 0x12:
      return SDL_SCANCODE_LALT;
    default:
      break;
  }
  for (const Pair& p : kTable)
    if (p.vk == vk) return p.sc;
  return SDL_SCANCODE_UNKNOWN;
}

}  // namespace veltrane::window
