#include "platform/window/imgui_layer.h"

#include <epoxy/gl.h>
#include <imgui.h>

#include <algorithm>
#include <cstdint>

#include "platform/window/gl_window.h"

// The backends are compiled into this library (see CMakeLists.txt).
#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>

namespace veltrane::window {

namespace {

// The backend uploads the glyphs as white RGBA; one alpha byte a texel, read
// back as white with that alpha, draws the same for a quarter of the memory.
void ShrinkFontTexture(ImFontAtlas& atlas) {
  unsigned char* alpha = nullptr;
  int w = 0, h = 0;
  atlas.GetTexDataAsAlpha8(&alpha, &w, &h);
  const auto id = static_cast<GLuint>(reinterpret_cast<std::intptr_t>(atlas.TexID));
  if (!alpha || w <= 0 || h <= 0 || id == 0) return;
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glBindTexture(GL_TEXTURE_2D, id);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, w, h, 0, GL_RED, GL_UNSIGNED_BYTE, alpha);
  const GLint swizzle[] = {GL_ONE, GL_ONE, GL_ONE, GL_RED};
  glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
}

}  // namespace

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
  // European faces until the language is applied.
  fonts_.Plan(0, {});
  fonts_.AddTo(*io.Fonts);
  io.FontDefault = fonts_.Ui();
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
  if (e.type == SDL_KEYUP && std::find(pressedInFrame_.begin(), pressedInFrame_.end(),
                                       e.key.keysym.scancode) != pressedInFrame_.end()) {
    releasesLater_.push_back(e);
    return true;
  }
  return ImGui_ImplSDL2_ProcessEvent(&e);
}

bool ImGuiLayer::WantsKeyboard() const { return ready_ && ImGui::GetIO().WantCaptureKeyboard; }

void ImGuiLayer::RequestLanguageFonts(int index, const std::string& texts) {
  pendingFonts_ = FontRequest{index, texts};
}

void ImGuiLayer::RebuildFonts(const FontRequest& r) {
  ImGuiIO& io = ImGui::GetIO();
  fonts_.Plan(r.index, r.texts);
  fonts_.AddTo(*io.Fonts);
  io.FontDefault = fonts_.Ui();
  // Before the backend's first frame it builds the texture itself.
  if (fontTextureMade_) {
    ImGui_ImplOpenGL3_DestroyFontsTexture();
    ImGui_ImplOpenGL3_CreateFontsTexture();
  }
}

void ImGuiLayer::BeginFrame(int display_w, int display_h) {
  if (!ready_) return;
  if (pendingFonts_) {
    RebuildFonts(*pendingFonts_);
    pendingFonts_.reset();
  }
  ImGui_ImplOpenGL3_NewFrame();
  fontTextureMade_ = true;
  ImGuiIO& io = ImGui::GetIO();
  // The texture holds the glyphs now: neither the atlas's pixels nor the font
  // files it read (2 MB) are needed again. A new language builds a new atlas
  // from the files (RebuildFonts).
  if (io.Fonts->TexPixelsAlpha8 || io.Fonts->TexPixelsRGBA32) {
    ShrinkFontTexture(*io.Fonts);
    io.Fonts->ClearTexData();
    io.Fonts->ClearInputData();
  }
  ImGui_ImplSDL2_NewFrame();
  // The picture may be rendered at another size than the window (full screen).
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
