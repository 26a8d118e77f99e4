// The real window's picture (on SDL's offscreen driver): the logical screen scaled to the
// window with its aspect kept, and the 3D view inside Picture2.
#include <gtest/gtest.h>

#include <SDL.h>
#include <epoxy/gl.h>

#include <array>
#include <cstdlib>
#include <memory>

#include "platform/gl/gl_renderer.h"
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

}  // namespace
}  // namespace kelmora::platform
