#pragma once

#include <imgui.h>

#include <string>

namespace veltrane::window {

// The faces and glyphs the user interface needs for one language: DejaVu for
// Latin, Greek and Cyrillic, and for Japanese and Chinese a CJK face merged in
// with only the glyphs of that script, so European languages load nothing more.
class UiFonts {
 public:
  // index: the language (11 Japanese, 16 and 17 Chinese); texts: every text in force.
  void Plan(int index, const std::string& texts);
  // Clears the atlas and adds the three faces. Ranges stay alive in this object
  // until the atlas is built.
  void AddTo(ImFontAtlas& atlas);

  ImFont* Ui() const { return ui_; }
  ImFont* Overlay() const { return overlay_; }
  bool OverlayIsBold() const { return overlayBold_; }
  ImFont* Start() const { return start_; }
  // The CJK face, empty when the language needs none or it is not installed.
  const std::string& CjkFile() const { return cjkFile_; }

 private:
  ImFont* AddFace(ImFontAtlas& atlas, const char* path, float size, const ImVector<ImWchar>& cjk);

  int index_ = 0;
  std::string cjkFile_;
  ImVector<ImWchar> cjkCommon_;  // the script's common glyphs and the texts' own
  ImVector<ImWchar> cjkTexts_;   // the texts' glyphs only (overlay, start screen)
  ImFont* ui_ = nullptr;
  ImFont* overlay_ = nullptr;
  bool overlayBold_ = false;
  ImFont* start_ = nullptr;
};

}  // namespace veltrane::window
