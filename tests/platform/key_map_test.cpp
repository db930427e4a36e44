#include <gtest/gtest.h>

#include "platform/window/key_map.h"

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

}  // namespace
}  // namespace veltrane::window
