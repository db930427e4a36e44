#include "radio/key_names.h"

namespace veltrane {

std::string KeyName(int vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
    return std::string(1, static_cast<char>(vk));
  if (vk >= 0x60 && vk <= 0x69) return "Num " + std::to_string(vk - 0x60);
  if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x6F);
  switch (vk) {
    case 0x08:
      return "Backspace";
    case 0x09:
      return "Tab";
    case 0x0C:
      return "Num 5";
    case 0x0D:
      return "Enter";
    case 0x10:
      return "Shift";
    case 0x11:
      return "Ctrl";
    case 0x12:
      return "Alt";
    case 0x13:
      return "Pause";
    case 0x14:
      return "Caps Lock";
    case 0x1B:
      return "Esc";
    case 0x20:
      return "Space";
    case 0x21:
      return "Page Up";
    case 0x22:
      return "Page Down";
    case 0x23:
      return "End";
    case 0x24:
      return "Home";
    case 0x25:
      return "Left";
    case 0x26:
      return "Up";
    case 0x27:
      return "Right";
    case 0x28:
      return "Down";
    case 0x2C:
      return "Print Screen";
    case 0x2D:
      return "Insert";
    case 0x2E:
      return "Delete";
    case 0x5B:
      return "Left Windows";
    case 0x5C:
      return "Right Windows";
    case 0x5D:
      return "Application";
    case 0x6A:
      return "Num *";
    case 0x6B:
      return "Num +";
    case 0x6D:
      return "Num -";
    case 0x6E:
      return "Num Del";
    case 0x6F:
      return "Num /";
    case 0x90:
      return "Num Lock";
    case 0x91:
      return "Scroll Lock";
    case 0xA0:
      return "Shift";
    case 0xA1:
      return "Right Shift";
    case 0xA2:
      return "Ctrl";
    case 0xA3:
      return "Right Ctrl";
    case 0xA4:
      return "Alt";
    case 0xA5:
      return "Right Alt";
    case 0xBA:
      return ";";
    case 0xBB:
      return "=";
    case 0xBC:
      return ",";
    case 0xBD:
      return "-";
    case 0xBE:
      return ".";
    case 0xBF:
      return "/";
    case 0xC0:
      return "`";
    case 0xDB:
      return "[";
    case 0xDC:
      return "\\";
    case 0xDD:
      return "]";
    case 0xDE:
      return "'";
    case 0xE2:
      return "<";
    default:
      return {};
  }
}

}  // namespace veltrane
