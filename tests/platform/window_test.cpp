#include <gtest/gtest.h>

#include "platform/window/display_choice.h"
#include "platform/window/gl_window.h"
#include "platform/window/imgui_layer.h"
#include "platform/window/sdl_platform_services.h"

namespace veltrane::window {
namespace {

TEST(GlWindow, UnopenedWindowAnswersWithoutCrashing) {
  GlWindow w;
  EXPECT_FALSE(w.IsOpen());
  w.Swap();
  w.SetTitle("x");
  w.SetVsync(true);
  w.SetFullscreen(false, 0, 0);
  EXPECT_EQ(w.DrawableWidth(), 0);
  int a = 1, b = 1;
  w.WindowSize(a, b);
  EXPECT_EQ(a, 0);
  ImGuiLayer layer;
  EXPECT_FALSE(layer.Init(w));
  layer.BeginFrame(10, 10);
  layer.EndFrame();
  SdlPlatformServices services(nullptr, false);
  WindowPlacement p;
  EXPECT_FALSE(services.GetWindowPlacement(p));
  services.SetWindowPlacement(p);
  services.SetWindowCaption("x");
  // Unattended: the box is written out and answered with Ignore, never blocks.
  EXPECT_EQ(services.ShowErrorOkIgnore("t", "text"), MessageBoxChoice::Ignore);
}

class OpenWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WindowOptions o;
    o.hidden = true;
    o.width = 320;
    o.height = 200;
    OpenError e;
    if (!window_.Open(o, e)) GTEST_SKIP() << e.text;
  }
  GlWindow window_;
};

TEST_F(OpenWindowTest, ContextIsCoreThreeThreeOrLater) {
  EXPECT_GE(window_.GlMajor() * 10 + window_.GlMinor(), 33);
  EXPECT_GT(window_.RenderWidth(), 0);
}

TEST_F(OpenWindowTest, FullScreenRendersAtTheChosenSizeWindowAtItsOwn) {
  window_.SetFullscreen(true, 800, 600);
  EXPECT_EQ(window_.RenderWidth(), 800);
  EXPECT_EQ(window_.RenderHeight(), 600);
  window_.SetFullscreen(false, 0, 0);
  EXPECT_EQ(window_.RenderWidth(), window_.DrawableWidth());
}

TEST_F(OpenWindowTest, DisplayChoiceNamesSdlDisplaysAndFallsBackToTheFirst) {
  const int n = SDL_GetNumVideoDisplays();
  ASSERT_GE(n, 1);
  SdlPlatformServices services(window_.Handle(), false);
  const auto drivers = services.Drivers();
  ASSERT_EQ(static_cast<int>(drivers.size()), n);
  EXPECT_EQ(drivers[0].description, SDL_GetDisplayName(0));
  EXPECT_EQ(DisplayIndex(n - 1), n - 1);
  EXPECT_EQ(DisplayIndex(n), 0);
  EXPECT_EQ(DisplayIndex(-1), 0);
  services.UseDisplay(n + 3);  // beyond the list: the first display
  EXPECT_EQ(SDL_GetWindowDisplayIndex(window_.Handle()), 0);
  // The window's own modes and the menu's sizes are offered; nonsense is not.
  SDL_DisplayMode mode{};
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &mode), 0);
  EXPECT_TRUE(FullScreenSizeOffered(0, mode.w, mode.h));
  EXPECT_TRUE(FullScreenSizeOffered(0, 512, 384));
  EXPECT_FALSE(FullScreenSizeOffered(0, 123, 99999));
}

TEST_F(OpenWindowTest, ScreenSaverIsLeftToTheProgramAndFollowsIt) {
  SdlPlatformServices s(window_.Handle(), false);
  bool active = false;
  std::string err;
  ASSERT_TRUE(s.GetScreenSaverActive(active, err));
  EXPECT_TRUE(active) << "opening the window must not switch it off by itself";
  ASSERT_TRUE(s.SetScreenSaverActive(false, false, err)) << err;
  ASSERT_TRUE(s.GetScreenSaverActive(active, err));
  EXPECT_FALSE(active);
  ASSERT_TRUE(s.SetScreenSaverActive(true, true, err)) << err;
  ASSERT_TRUE(s.GetScreenSaverActive(active, err));
  EXPECT_TRUE(active);
}

TEST_F(OpenWindowTest, PlacementRoundTrips) {
  SdlPlatformServices s(window_.Handle(), false);
  WindowPlacement p;
  ASSERT_TRUE(s.GetWindowPlacement(p));
  EXPECT_EQ(p.width, 320);
  p.width = 400;
  p.height = 250;
  s.SetWindowPlacement(p);
  WindowPlacement q;
  ASSERT_TRUE(s.GetWindowPlacement(q));
  EXPECT_EQ(q.width, 400);
  EXPECT_EQ(q.height, 250);
}

TEST_F(OpenWindowTest, ImGuiLayerStartsAndStopsTwice) {
  for (int i = 0; i < 2; ++i) {
    ImGuiLayer layer;
    ASSERT_TRUE(layer.Init(window_));
    EXPECT_NE(layer.OverlayFont(), nullptr);
    layer.BeginFrame(320, 200);
    layer.EndFrame();
    layer.Shutdown();
    EXPECT_FALSE(layer.Ready());
  }
}

}  // namespace
}  // namespace veltrane::window
