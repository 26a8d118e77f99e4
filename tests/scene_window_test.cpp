// The real window's picture (on SDL's offscreen driver): the logical screen scaled to the
// window with its aspect kept, and the 3D view inside Picture2.
#include <gtest/gtest.h>

#include <SDL.h>
#include <epoxy/gl.h>

#include <array>
#include <cstdlib>
#include <memory>

#include "platform/gl/gl_compositor.h"
#include "platform/gl/gl_renderer.h"
#include "platform/picture_pacing.h"
#include "platform/screen.h"
#include "platform/sdl/sdl_window.h"
#include "scene/scene.h"

namespace kelmora::platform {
namespace {

class WindowPicture : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("SDL_VIDEODRIVER")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << SDL_GetError();
    try {
      window = std::make_unique<SdlWindow>("Kelmora");
    } catch (const std::exception& e) {
      GTEST_SKIP() << e.what();
    }
    SDL_GL_GetDrawableSize(window->handle(), &dw, &dh);
  }
  void TearDown() override {
    window.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  // Colour of the window at (x, y), y down.
  std::array<int, 3> At(int x, int y) {
    uint8_t px[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(x, dh - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    return {px[0], px[1], px[2]};
  }
  std::unique_ptr<SdlWindow> window;
  int dw = 0, dh = 0;
};

TEST_F(WindowPicture, TheWholeLogicalScreenFillsTheWindow) {
  ASSERT_EQ(dw, 640);
  Screen screen;
  screen.SetMode(320, 240);
  screen.FillRect(0, 0, 160, 120, {255, 0, 0});
  screen.FillRect(160, 0, 320, 120, {0, 255, 0});
  screen.FillRect(0, 120, 160, 240, {0, 0, 255});
  screen.FillRect(160, 120, 320, 240, {255, 255, 255});
  // The offscreen surface is a pbuffer: the swap leaves the picture in place.
  window->Present(screen);
  EXPECT_EQ(At(10, 10), (std::array<int, 3>{255, 0, 0}));
  EXPECT_EQ(At(630, 10), (std::array<int, 3>{0, 255, 0}));
  EXPECT_EQ(At(10, 470), (std::array<int, 3>{0, 0, 255}));
  EXPECT_EQ(At(630, 470), (std::array<int, 3>{255, 255, 255}));
}

TEST_F(WindowPicture, The3DViewSitsInItsViewportInsidePicture2) {
  auto r = std::make_unique<GlRenderer>();
  GlRenderer* gl = r.get();
  window->SetView(gl);
  scene::Scene sc(std::move(r));
  sc.CreateRetainedMode();
  const scene::FrameHandle root = sc.CreateFrame({});
  const scene::ViewportHandle vp = sc.CreateViewport({}, sc.CreateFrame(root), 100, 65, 400, 300);
  sc.SetSceneBackground(1, 1, 0);
  Screen screen;
  screen.FillRect(0, 0, 640, 480, {0, 0, 255});
  screen.Picture2.place = {0, 0, 640, 430};
  screen.Picture2.visible = true;
  sc.Clear(vp);
  sc.Render(vp, root);
  sc.Update();
  window->Present(screen);
  EXPECT_EQ(At(50, 30), (std::array<int, 3>{0, 0, 0}));       // Picture2 around the view
  EXPECT_EQ(At(101, 66), (std::array<int, 3>{255, 255, 0}));  // the view's corners
  EXPECT_EQ(At(498, 363), (std::array<int, 3>{255, 255, 0}));
  EXPECT_EQ(At(501, 366), (std::array<int, 3>{0, 0, 0}));
  EXPECT_EQ(At(320, 450), (std::array<int, 3>{0, 0, 255}));  // the strip below is 2D
  window->SetView(nullptr);
}

TEST_F(WindowPicture, TheWindowIsNeverMadeSmallerThanTheSmallScreen) {
  int w = 0, h = 0;
  SDL_GetWindowMinimumSize(window->handle(), &w, &h);
  EXPECT_EQ(w, kMinimumWindowWidth);
  EXPECT_EQ(h, kMinimumWindowHeight);
  SDL_SetWindowSize(window->handle(), 100, 80);
  SDL_GetWindowSize(window->handle(), &w, &h);
  EXPECT_GE(w, 320);
  EXPECT_GE(h, 240);
}

TEST(WindowScaling, SmoothFillsTheLargestFitWholeKeepsAWholeMultiple) {
  using P = GlCompositor::Placement;
  auto same = [](P a, P b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; };
  EXPECT_TRUE(same(GlCompositor::Fit(640, 480, 1366, 768, Scaling::Smooth), P{171, 0, 1024, 768}));
  EXPECT_TRUE(same(GlCompositor::Fit(640, 480, 1366, 768, Scaling::Whole), P{363, 144, 640, 480}));
  EXPECT_TRUE(same(GlCompositor::Fit(640, 480, 1920, 1080, Scaling::Whole), P{320, 60, 1280, 960}));
  EXPECT_TRUE(same(GlCompositor::Fit(320, 240, 1280, 1024, Scaling::Whole), P{0, 32, 1280, 960}));
  // A window smaller than the screen has no whole multiple: the screen is fitted smoothly.
  EXPECT_TRUE(same(GlCompositor::Fit(640, 480, 400, 300, Scaling::Whole), P{0, 0, 400, 300}));
}

TEST(PicturePacing, ASwapThatDoesNotWaitForTheDisplayIsPacedAPeriodApart) {
  PicturePacing waits, runs;
  waits.Start(1000.0 / 60, true);
  runs.Start(1000.0 / 60, true);
  double t = 1000;
  for (int k = 0; k < PicturePacing::kProbePictures + 1; ++k) {
    waits.Shown(t + k * 1000.0 / 60);  // each swap returned at the next refresh
    runs.Shown(t + k * 5.0);           // each swap returned at once
  }
  EXPECT_TRUE(waits.swapWaits());
  EXPECT_FALSE(runs.swapWaits());
  // From then on each picture is due a display period after the one before was due.
  t = runs.NextMs();
  runs.Shown(t + 1);
  EXPECT_NEAR(runs.NextMs(), t + 1000.0 / 60, 1e-9);
}

}  // namespace
}  // namespace kelmora::platform
