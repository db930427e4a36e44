#include "platform/window/imgui_layer.h"

#include <epoxy/gl.h>
#include <imgui.h>

#include <algorithm>

#include "platform/window/gl_window.h"

// The backends are compiled into this library (see CMakeLists.txt).
#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>

namespace veltrane::window {

ImGuiLayer::~ImGuiLayer() { Shutdown(); }

bool ImGuiLayer::Init(GlWindow& window) {
  if (ready_ || !window.IsOpen()) return ready_;
  IMGUI_CHECKVERSION();
  ImGui::CreateContext();
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // window layout is not remembered
  // The cursor is the main window's (arrow, hourglass, hidden with the menu);
  // the backend would show it again at every frame.
  io.ConfigFlags |= ImGuiConfigFlags_NoMouseCursorChange;
  ImGui::StyleColorsDark();
  io.Fonts->AddFontDefault();
  // 8 points at the usual 96 dpi is about 11 pixels.
  static const ImWchar kRanges[] = {0x0020, 0x024F, 0x0370, 0x03FF, 0x0400, 0x052F, 0};
  overlayBold_ = false;
  overlayFont_ = nullptr;
  for (const char* path : {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                           "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf"}) {
    if (SDL_RWops* f = SDL_RWFromFile(path, "rb")) {
      SDL_RWclose(f);
      overlayFont_ = io.Fonts->AddFontFromFileTTF(path, 11.0f, nullptr, kRanges);
      overlayBold_ = overlayFont_ != nullptr;
      if (overlayFont_) break;
    }
  }
  if (!overlayFont_) overlayFont_ = io.Fonts->Fonts[0];
  startFont_ = io.Fonts->Fonts[0];
  if (SDL_RWops* f = SDL_RWFromFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "rb")) {
    SDL_RWclose(f);
    if (ImFont* r = io.Fonts->AddFontFromFileTTF("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 11.0f,
                                                 nullptr, kRanges))
      startFont_ = r;
  }
  if (!ImGui_ImplSDL2_InitForOpenGL(window.Handle(), window.Context())) {
    ImGui::DestroyContext();
    return false;
  }
  if (!ImGui_ImplOpenGL3_Init("#version 330 core")) {
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
    return false;
  }
  ready_ = true;
  return true;
}

void ImGuiLayer::Shutdown() {
  if (!ready_) return;
  ImGui_ImplOpenGL3_Shutdown();
  ImGui_ImplSDL2_Shutdown();
  ImGui::DestroyContext();
  ready_ = false;
}

bool ImGuiLayer::ProcessEvent(const SDL_Event& e) {
  if (!ready_) return false;
  if (e.type == SDL_KEYDOWN) pressedInFrame_.push_back(e.key.keysym.scancode);
  if (e.type == SDL_KEYUP &&
      std::find(pressedInFrame_.begin(), pressedInFrame_.end(), e.key.keysym.scancode) != pressedInFrame_.end()) {
    releasesLater_.push_back(e);
    return true;
  }
  return ImGui_ImplSDL2_ProcessEvent(&e);
}

bool ImGuiLayer::WantsKeyboard() const { return ready_ && ImGui::GetIO().WantCaptureKeyboard; }

void ImGuiLayer::BeginFrame(int display_w, int display_h) {
  if (!ready_) return;
  ImGui_ImplOpenGL3_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  // The picture may be rendered at another size than the window (full screen).
  ImGuiIO& io = ImGui::GetIO();
  if (display_w > 0 && display_h > 0) {
    ImVec2 win = io.DisplaySize;
    if (win.x > 0 && win.y > 0) {
      float sx = display_w / win.x, sy = display_h / win.y;
      io.MousePos = ImVec2(io.MousePos.x * sx, io.MousePos.y * sy);
    }
    io.DisplaySize = ImVec2(static_cast<float>(display_w), static_cast<float>(display_h));
    io.DisplayFramebufferScale = ImVec2(1.0f, 1.0f);
  }
  ImGui::NewFrame();
}

void ImGuiLayer::EndFrame() {
  if (!ready_) return;
  ImGui::Render();
  ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
  pressedInFrame_.clear();
  for (SDL_Event& e : releasesLater_) ImGui_ImplSDL2_ProcessEvent(&e);
  releasesLater_.clear();
}

}  // namespace veltrane::window
