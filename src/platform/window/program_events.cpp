// What the window receives: closing, focus, size, and the keys for the main window.

#include "platform/window/key_map.h"
#include "platform/window/program.h"

namespace veltrane::window {

void Program::HandleEvent(const SDL_Event& e) {
  services_->TrackKeys(e);
  bool imguiTook = imgui_.ProcessEvent(e);
  switch (e.type) {
    case SDL_QUIT:  // also SIGINT and SIGTERM: SDL turns them into this event
      quit_ = true;
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) quit_ = true;
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) focused_ = true;
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) focused_ = false;
      if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        form_->ReportWindowSize(e.window.data1, e.window.data2);
      if (e.window.event == SDL_WINDOWEVENT_MINIMIZED) form_->SetCanDraw(false);
      if (e.window.event == SDL_WINDOWEVENT_RESTORED) form_->SetCanDraw(true);
      break;
    case SDL_KEYDOWN:
      if ((imguiTook && imgui_.WantsKeyboard()) || DialogOpen()) break;
      if (int vk = VirtualKeyFromKey(e.key.keysym.sym, e.key.keysym.scancode)) {
        form_->FormKeyDown(vk, (e.key.keysym.mod & KMOD_CTRL) != 0);
      }
      break;
    case SDL_KEYUP:
      if ((imguiTook && imgui_.WantsKeyboard()) || DialogOpen()) break;
      if (int vk = VirtualKeyFromKey(e.key.keysym.sym, e.key.keysym.scancode)) form_->FormKeyUp(vk);
      break;
    case SDL_TEXTINPUT:
      if (imgui_.WantsKeyboard() || DialogOpen()) break;
      // Single-byte characters only: the key commands are plain letters and digits.
      if (e.text.text[0] && !e.text.text[1] && static_cast<unsigned char>(e.text.text[0]) < 0x80)
        form_->FormKeyPress(e.text.text[0]);
      break;
    default:
      break;
  }
}

}  // namespace veltrane::window
