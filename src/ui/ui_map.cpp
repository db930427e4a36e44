#include "ui/ui_map.h"

#include <cstdio>
#include <fstream>

namespace veltrane::ui {

namespace {

std::string Quoted(const std::string& s) {
  std::string out = "\"";
  for (const char c : s) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += c;  // UTF-8 passes through
        }
    }
  }
  return out + "\"";
}

}  // namespace

void UiMap::Add(UiMapEntry e) {
  if (On()) frame_.push_back(std::move(e));
}

std::string UiMap::JsonLine(const UiMapEntry& e) {
  return "{\"id\": " + Quoted(e.id) + ", \"label\": " + Quoted(e.label) +
         ", \"x\": " + std::to_string(e.x) + ", \"y\": " + std::to_string(e.y) +
         ", \"w\": " + std::to_string(e.w) + ", \"h\": " + std::to_string(e.h) + "}";
}

bool UiMap::EndFrame() {
  std::vector<UiMapEntry> frame;
  frame.swap(frame_);
  if (!On() || (wroteOnce_ && frame == written_)) return true;
  // A reader never sees half a frame: the whole file is replaced at once.
  const std::string temp = path_ + ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    for (const UiMapEntry& e : frame) out << JsonLine(e) << '\n';
    if (!out) return false;
  }
  if (std::rename(temp.c_str(), path_.c_str()) != 0) return false;
  written_ = std::move(frame);
  wroteOnce_ = true;
  return true;
}

}  // namespace veltrane::ui
