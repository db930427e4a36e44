#include "platform/window/ui_fonts.h"

#include <SDL.h>

#include "base/settings/locale_language.h"

namespace veltrane::window {

namespace {

constexpr const char* kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr const char* kCjk[] = {"/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"};

// Latin with its extensions, Greek, Cyrillic, the general punctuation and the euro.
constexpr ImWchar kEuropean[] = {0x0020, 0x024F, 0x0370, 0x03FF, 0x0400, 0x052F,
                                 0x2000, 0x206F, 0x20AC, 0x20AC, 0};
// CJK punctuation, kana and the full-width forms every CJK text uses.
constexpr ImWchar kCjkPunctuation[] = {0x3000, 0x30FF, 0x31F0, 0x31FF, 0xFF00, 0xFFEF, 0};

bool Exists(const char* path) {
  if (SDL_RWops* f = SDL_RWFromFile(path, "rb")) {
    SDL_RWclose(f);
    return true;
  }
  return false;
}

}  // namespace

void UiFonts::Plan(int index, const std::string& texts) {
  index_ = index;
  cjkFile_.clear();
  cjkCommon_.clear();
  cjkTexts_.clear();
  const bool japanese = index == lang::kJapanese,
             chinese = index == lang::kChineseSimplified || index == lang::kChineseTraditional;
  if (!japanese && !chinese) return;
  for (const char* f : kCjk)
    if (Exists(f)) {
      cjkFile_ = f;
      break;
    }
  if (cjkFile_.empty()) return;
  ImFontAtlas scratch;  // the common-glyph tables are the atlas's own static data
  ImFontGlyphRangesBuilder common, own;
  own.AddText(texts.c_str());
  own.AddRanges(kCjkPunctuation);
  common.AddText(texts.c_str());
  common.AddRanges(kCjkPunctuation);
  // Traditional Chinese has no common table of its own: the texts' glyphs
  // complete the simplified one.
  common.AddRanges(japanese ? scratch.GetGlyphRangesJapanese()
                            : scratch.GetGlyphRangesChineseSimplifiedCommon());
  common.BuildRanges(&cjkCommon_);
  own.BuildRanges(&cjkTexts_);
}

ImFont* UiFonts::AddFace(ImFontAtlas& atlas, const char* path, float size,
                         const ImVector<ImWchar>& cjk) {
  if (!Exists(path)) return nullptr;
  ImFont* font = atlas.AddFontFromFileTTF(path, size, nullptr, kEuropean);
  if (font && !cjkFile_.empty() && !cjk.empty()) {
    ImFontConfig merge;
    merge.MergeMode = true;
    merge.FontNo = 0;
    merge.PixelSnapH = true;
    atlas.AddFontFromFileTTF(cjkFile_.c_str(), size, &merge, cjk.Data);
  }
  return font;
}

void UiFonts::AddTo(ImFontAtlas& atlas) {
  atlas.Clear();
  // 13 pixels as the menus were drawn before; 8 points at 96 dpi (11 pixels)
  // for the overlay and the start screen.
  ui_ = AddFace(atlas, kSans, 13.0f, cjkCommon_);
  if (!ui_) ui_ = atlas.AddFontDefault();
  overlay_ = AddFace(atlas, kSansBold, 11.0f, cjkTexts_);
  overlayBold_ = overlay_ != nullptr;
  if (!overlay_) overlay_ = ui_;
  start_ = AddFace(atlas, kSans, 11.0f, cjkTexts_);
  if (!start_) start_ = ui_;
}

}  // namespace veltrane::window
