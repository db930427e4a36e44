#pragma once

// A dialog of the main window as an object: it prepares its logic class when
// it opens and draws itself while it is the active one.

#include <imgui.h>

#include <string>

#include "ui/frame_timer.h"
#include "ui/imgui/dialog_style.h"
#include "ui/language.h"

namespace veltrane::ui {

// What the dialogs ask of the window that shows them.
class DialogHost : public FrameTimer {
 public:
  // The texts in force, for every dialog that shows translated texts.
  virtual const LanguageTexts& Texts() const = 0;
  // The dialog drawn now has ended; the next frame draws none.
  virtual void DialogClosed() = 0;
  // A message box in place of the dialog drawn now.
  virtual void ShowMessage(std::string text) = 0;
  // The 3D view is built anew between this frame and the next.
  virtual void QueueViewRebuild() = 0;
};

class DialogUi {
 public:
  explicit DialogUi(DialogHost& host) : host_(host) {}
  virtual ~DialogUi() = default;
  DialogUi(const DialogUi&) = delete;
  DialogUi& operator=(const DialogUi&) = delete;

  // False while the dialog cannot open.
  virtual bool CanOpen() const { return true; }
  // Becomes the drawn dialog: its logic takes the main window's values.
  void Open() {
    popupOpened_ = false;
    Prepare();
  }
  // One frame, between ImGui's NewFrame and Render, while it is the active dialog.
  virtual void Draw() = 0;

 protected:
  virtual void Prepare() {}
  // The centred modal; true while it is drawn (then EndPopup follows).
  bool Begin(const std::string& title) { return BeginDialog(title.c_str(), popupOpened_); }
  // Inside Begin's popup: ends it.
  void Close() {
    ImGui::CloseCurrentPopup();
    host_.DialogClosed();
  }
  const std::string& T(const char* section, const char* key) const {
    return host_.Texts().Text(section, key);
  }
  bool OkCancel(const char* section, bool& ok, bool keysAllowed = true) const {
    return OkCancelButtons(host_.Texts(), section, ok, keysAllowed);
  }

  DialogHost& host_;

 private:
  bool popupOpened_ = false;
};

}  // namespace veltrane::ui
