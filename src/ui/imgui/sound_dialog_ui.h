#pragma once

#include <functional>
#include <utility>

#include "app/sound_hook.h"
#include "ui/imgui/dialog_ui.h"
#include "ui/simple_dialogs.h"

namespace veltrane::ui {

// "Sound": on/off and the master volume.
class SoundDialogUi : public DialogUi {
 public:
  // apply: the dialog's Ok (switch and volume, starting or stopping the engine).
  SoundDialogUi(DialogHost& host, SoundHook* sound, std::function<void(bool, int)> apply)
      : DialogUi(host), soundHook_(sound), apply_(std::move(apply)), sound_(host) {}
  void Draw() override;

 private:
  void Prepare() override;

  SoundHook* soundHook_;
  std::function<void(bool, int)> apply_;
  TSoundForm sound_;
};

}  // namespace veltrane::ui
