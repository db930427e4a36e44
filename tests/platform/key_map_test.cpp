#include "platform/window/key_map.h"

#include <gtest/gtest.h>

namespace veltrane::window {
namespace {

TEST(KeyMap, RunsOfLettersDigitsAndFunctionKeys) {
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_A), 0x41);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_Z), 0x5A);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_0), 0x30);  // SDL puts 0 after 9
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_1), 0x31);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_9), 0x39);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_F1), 0x70);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_F12), 0x7B);
}

TEST(KeyMap, ProgramKeys) {
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_LEFT), 0x25);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_UP), 0x26);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_RIGHT), 0x27);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_DOWN), 0x28);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_KP_PLUS), 0x6B);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_KP_MINUS), 0x6D);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_ESCAPE), 0x1B);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_SPACE), 0x20);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_RETURN), 0x0D);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_LSHIFT), 0xA0);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_RCTRL), 0xA3);
  EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_UNKNOWN), 0);
}

TEST(KeyMap, EveryMappedScancodeMapsBack) {
  for (int sc = 1; sc < SDL_NUM_SCANCODES; ++sc) {
    int vk = VirtualKeyFromScancode(static_cast<SDL_Scancode>(sc));
    if (!vk) continue;
    EXPECT_EQ(VirtualKeyFromScancode(ScancodeFromVirtualKey(vk)), vk) << "scancode " << sc;
  }
  EXPECT_EQ(ScancodeFromVirtualKey(0x10), SDL_SCANCODE_LSHIFT);
  EXPECT_EQ(ScancodeFromVirtualKey(0x11), SDL_SCANCODE_LCTRL);
  EXPECT_EQ(ScancodeFromVirtualKey(0xFFFF), SDL_SCANCODE_UNKNOWN);
}

TEST(KeyMap, LettersAndDigitsFollowTheLabelOtherKeysThePlace) {
  const struct {
    SDL_Keycode sym;
    SDL_Scancode sc;
    int vk;
  } cases[] = {
      {SDLK_z, SDL_SCANCODE_Y, 0x5A},  // QWERTZ: the key labelled Z
      {SDLK_y, SDL_SCANCODE_Z, 0x59},
      {SDLK_a, SDL_SCANCODE_Q, 0x41},          // AZERTY
      {SDLK_COMMA, SDL_SCANCODE_M, 0xBC},      // AZERTY's M place carries ','
      {0xFC, SDL_SCANCODE_LEFTBRACKET, 0xDB},  // 'ü': no letter code, its place's
      {0xF6, SDL_SCANCODE_SEMICOLON, 0xBA},
      {SDLK_AMPERSAND, SDL_SCANCODE_1, 0x31},  // AZERTY digits need Shift
      {SDLK_7, SDL_SCANCODE_7, 0x37},
      {SDLK_KP_8, SDL_SCANCODE_KP_8, 0x68},
      {SDLK_LEFT, SDL_SCANCODE_LEFT, 0x25},
      {SDLK_F12, SDL_SCANCODE_F12, 0x7B},
      {0xE9, SDL_SCANCODE_W, 0},  // an accented letter on a letter's place: no code
  };
  for (const auto& c : cases) EXPECT_EQ(VirtualKeyFromKey(c.sym, c.sc), c.vk) << "symbol " << c.sym;
}

TEST(HeldKeys, HeldFromPressToReleaseOfThePhysicalKeyAndTapsLastAFrame) {
  HeldKeys k;
  k.Press(SDL_SCANCODE_Y, 0x5A);  // German Z
  k.FrameDone();
  EXPECT_TRUE(k.IsDown(0x5A));
  EXPECT_FALSE(k.IsDown(0x59));
  k.Press(SDL_SCANCODE_Y, 0x5A);  // auto-repeat counts once
  k.Release(SDL_SCANCODE_Y);
  EXPECT_FALSE(k.IsDown(0x5A));

  // Return and the keypad's Enter share a code: released only when both are.
  k.Press(SDL_SCANCODE_RETURN, 0x0D);
  k.Press(SDL_SCANCODE_KP_ENTER, 0x0D);
  k.FrameDone();
  k.Release(SDL_SCANCODE_RETURN);
  EXPECT_TRUE(k.IsDown(0x0D));
  k.Release(SDL_SCANCODE_KP_ENTER);
  EXPECT_FALSE(k.IsDown(0x0D));

  // A tap within one frame is seen by that frame, gone after it.
  k.Press(SDL_SCANCODE_K, 0x4B);
  k.Release(SDL_SCANCODE_K);
  EXPECT_TRUE(k.IsDown(0x4B));
  k.FrameDone();
  EXPECT_FALSE(k.IsDown(0x4B));

  k.Press(SDL_SCANCODE_RSHIFT, 0xA1);
  EXPECT_TRUE(k.IsDown(0x10));
  EXPECT_TRUE(k.IsDown(0xA1));
  EXPECT_FALSE(k.IsDown(0xA0));
  k.ReleaseAll();
  EXPECT_FALSE(k.IsDown(0x10));
  k.Press(SDL_SCANCODE_UNKNOWN, 0x41);
  k.Press(SDL_SCANCODE_A, 0);
  EXPECT_FALSE(k.IsDown(0x41));
  EXPECT_FALSE(k.IsDown(0));
}

}  // namespace
}  // namespace veltrane::window
