#pragma once

// Shared by the harnesses: the readers take file names, so each input is
// written into a scratch folder of this process first. Everything left from
// the previous input is removed, so one input never sees another's files.

#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/pictures/picture.h"
#include "base/pictures/picture_file.h"
#include "base/rm/root.h"

namespace veltrane::fuzz {

inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    // Memory-backed where there is one: the settings store syncs every save.
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::filesystem::path p = base / ("veltrane-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    return p;
  }();
  return folder;
}

inline void ClearScratch() {
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(ScratchFolder(), ec))
    std::filesystem::remove_all(e.path(), ec);
}

inline std::string WriteScratch(const std::string& name, std::string_view bytes) {
  const std::string path = (ScratchFolder() / name).string();
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// An input made of a text and, after the first "\n#%#%\n", the bytes of the
// pictures (or other files) the text names.
struct TextWithAttachment {
  std::string_view text;
  std::string_view attachment;
};

inline TextWithAttachment Split(const std::uint8_t* data, std::size_t size) {
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  constexpr std::string_view kMark = "\n#%#%\n";
  const auto at = all.find(kMark);
  if (at == std::string_view::npos) return {all, {}};
  return {all.substr(0, at), all.substr(at + kMark.size())};
}

// Writes `attachment` under each picture-like name in `text` (at most eight),
// keeping any folder part inside the scratch folder.
inline void WriteNamedFiles(std::string_view text, std::string_view attachment) {
  static const char* const kEndings[] = {".bmp", ".jpg", ".jpeg", ".png"};
  int written = 0;
  std::size_t i = 0;
  while (i < text.size() && written < 8) {
    while (i < text.size() && (std::isspace(static_cast<unsigned char>(text[i])) || text[i] == '"'))
      ++i;
    std::size_t e = i;
    while (e < text.size() && !std::isspace(static_cast<unsigned char>(text[e])) && text[e] != '"')
      ++e;
    std::string token(text.substr(i, e - i));
    i = e;
    std::string lower = token;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    bool picture = false;
    for (const char* end : kEndings) {
      const std::string_view ending(end);
      picture =
          picture || (lower.size() > ending.size() &&
                      lower.compare(lower.size() - ending.size(), ending.size(), ending) == 0);
    }
    if (!picture) continue;
    // Only the last path element: the loader resolves names within the scene's folder.
    const auto slash = token.find_last_of("/\\");
    if (slash != std::string::npos) token = token.substr(slash + 1);
    if (token.empty() || token == "." || token == "..") continue;
    WriteScratch(token, attachment);
    ++written;
  }
}

inline rm::Root DecodingRoot() { return rm::Root(pictures::LoadTexturePicture); }

}  // namespace veltrane::fuzz
