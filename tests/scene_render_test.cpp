// Pictures from the OpenGL renderer on an offscreen surface: lighting without ambient light,
// transparent texels, the spotlight's cone, and the 3D view composed into the logical screen.
#include <unistd.h>
#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "test_dirs.h"
#include "platform/gl/gl_renderer.h"
#include "platform/gl/screenshot.h"
#include "platform/screen.h"
#include "match/view/display_setup.h"
#include "scene/scene.h"

namespace kelmora::scene {
namespace {


struct DrawnRgb {
  int r, g, b;
};

// A scene drawn by OpenGL offscreen, with a camera at (0, 0, -100) looking along +z.
class Rendered : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("SDL_VIDEODRIVER")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << "no video: " << SDL_GetError();
    try {
      auto r = platform::GlRenderer::CreateOffscreen();
      gl = r.get();
      sc = std::make_unique<Scene>(std::move(r));
    } catch (const std::exception& e) {
      GTEST_SKIP() << "no OpenGL: " << e.what();
    }
    sc->CreateRetainedMode();
    root = sc->CreateFrame({});
    camera = sc->CreateFrame(root);
    sc->SetPosition(camera, {}, 0, 0, -100);
    viewport = sc->CreateViewport(sc->CreateDevice({}, 640, 480), camera, 0, 0, 80, 60);
    sc->SetBack(viewport, 1600);
  }
  void TearDown() override {
    sc.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  FrameHandle Show(const std::string& file, glm::dvec3 at) {
    const MeshHandle m = sc->CreateMeshBuilder();
    sc->LoadMesh(m, kData + "/" + file);
    const FrameHandle f = sc->CreateFrame(root);
    sc->AddVisual(f, m);
    sc->SetPosition(f, {}, at.x, at.y, at.z);
    return f;
  }
  FrameHandle Light(LightKind kind, glm::dvec3 at) {
    const FrameHandle f = sc->CreateFrame(root);
    sc->AddLight(f, sc->CreateLight(kind, 1, 1, 1));
    sc->SetPosition(f, {}, at.x, at.y, at.z);
    return f;
  }
  void Draw() {
    sc->Clear(viewport);
    sc->Render(viewport, root);
    sc->Update();
    pixels = gl->ReadShown();
  }
  // The colour where a world point lands.
  DrawnRgb At(glm::dvec3 world) {
    const glm::dvec3 p = sc->Project(viewport, world);
    const auto pic = gl->shown();
    const int x = static_cast<int>(p.x), y = static_cast<int>(p.y);
    EXPECT_TRUE(x >= 0 && y >= 0 && x < pic.width && y < pic.height);
    const size_t i = (static_cast<size_t>(y) * pic.width + x) * 3;
    return {pixels[i], pixels[i + 1], pixels[i + 2]};
  }

  platform::GlRenderer* gl = nullptr;
  std::unique_ptr<Scene> sc;
  FrameHandle root, camera;
  ViewportHandle viewport;
  std::vector<uint8_t> pixels;
};

TEST_F(Rendered, AFaceTurnedToTheLightShowsItsFullColour) {
  Show("cube.x", {0, 0, 0});
  Light(LightKind::Point, {0, 0, -100});
  sc->SetSceneBackground(0, 0, 1);
  Draw();
  const DrawnRgb c = At({0, 0, -10});
  EXPECT_GE(c.r, 245);
  EXPECT_EQ(c.g, 0);
  EXPECT_EQ(c.b, 0);
  const DrawnRgb bg = At({30, 25, 0});
  EXPECT_EQ(bg.b, 255);
  EXPECT_EQ(bg.r, 0);
}

TEST_F(Rendered, WithoutLightNothingIsLit) {
  Show("cube.x", {0, 0, 0});
  sc->SetSceneBackground(0.5, 0.5, 0.5);
  Draw();
  const DrawnRgb c = At({0, 0, -10});
  EXPECT_EQ(c.r + c.g + c.b, 0);  // no ambient light: black against the grey
  EXPECT_NEAR(At({30, 25, 0}).g, 128, 1);
}

TEST_F(Rendered, AFaceLitAtAnAngleIsDimmer) {
  Show("cube.x", {0, 0, 0});
  // The light stands 60 degrees off the front face's normal, far away.
  Light(LightKind::Point, {100000 * std::sqrt(3.0) / 2, 0, -100000 * 0.5});
  Draw();
  EXPECT_NEAR(At({0, 0, -10}).r, 128, 4);
}

TEST_F(Rendered, TheSpotlightLeavesEverythingOutsideItsConeDark) {
  const FrameHandle cube = Show("cube.x", {0, 0, 0});
  const FrameHandle spot = Light(LightKind::Spot, {0, 0, -100});
  sc->LookAt(spot, cube);
  Draw();
  EXPECT_GE(At({0, 0, -10}).r, 245);
  // Turned away from the cube, the same light leaves it black.
  sc->SetOrientation(spot, {}, {1, 0, 0}, {0, 1, 0});
  Draw();
  EXPECT_EQ(At({0, 0, -10}).r, 0);
  // Aimed 0.35 rad beside it (outside the 0.25 rad cone): still black.
  sc->SetOrientation(spot, {}, {std::sin(0.35), 0, std::cos(0.35)}, {0, 1, 0});
  Draw();
  EXPECT_EQ(At({0, 0, -10}).r, 0);
}

TEST_F(Rendered, TexelsOfTheTransparentColourAreNotDrawn) {
  // 2 x 2 texels: red, black / white, black.
  const auto path = (std::filesystem::temp_directory_path() / ("kelmora_render_checker" + std::to_string(getpid()) + ".bmp")).string();
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 2, 2, 24, SDL_PIXELFORMAT_RGB24);
  const uint8_t rows[2][6] = {{255, 0, 0, 0, 0, 0}, {255, 255, 255, 0, 0, 0}};
  for (int y = 0; y < 2; ++y) std::copy(rows[y], rows[y] + 6, static_cast<uint8_t*>(s->pixels) + y * s->pitch);
  SDL_SaveBMP(s, path.c_str());
  SDL_FreeSurface(s);

  const FrameHandle quad = Show("quad.x", {0, 0, 0});
  const TextureHandle t = sc->LoadTexture(path);
  sc->SetTexture(sc->Visuals(quad)[0], t);
  Light(LightKind::Point, {0, 0, -100000});
  sc->SetSceneBackground(0, 1, 0);
  Draw();
  // Transparency off: the black texels are drawn black.
  DrawnRgb c = At({5, 5, 0});
  EXPECT_EQ(c.r + c.g + c.b, 0);
  sc->SetDecalTransparentColor(t, 0, 0, 0);
  sc->SetDecalTransparency(t, true);
  Draw();
  c = At({-5, 5, 0});  // upper left: red
  EXPECT_GE(c.r, 250);
  EXPECT_EQ(c.g, 0);
  c = At({-5, -5, 0});  // lower left: white
  EXPECT_GE(c.g, 250);
  EXPECT_GE(c.r, 250);
  c = At({5, 5, 0});  // upper right: transparent, the green background shows
  EXPECT_EQ(c.r, 0);
  EXPECT_EQ(c.g, 255);
  c = At({5, -5, 0});
  EXPECT_EQ(c.r, 0);
  EXPECT_EQ(c.g, 255);
}

TEST_F(Rendered, TheNearerFaceHidesTheFartherOne) {
  Show("cube.x", {0, 0, 0});
  Show("cube.x", {0, 0, 40});
  Light(LightKind::Point, {0, 0, -100});
  Draw();
  EXPECT_GE(At({0, 0, -10}).r, 245);
  EXPECT_EQ(gl->drawCalls(), 2);
  // A mesh parked far outside the view is not drawn at all.
  Show("cube.x", {-5000, 0, 0});
  Draw();
  EXPECT_EQ(gl->drawCalls(), 2);
}

TEST_F(Rendered, CopiesOfOneMeshAreDrawnTogetherEachInItsOwnPlaceAndTurn) {
  // Forty frames show one mesh: more copies than one call takes.
  const MeshHandle cube = sc->CreateMeshBuilder();
  sc->LoadMesh(cube, kData + "/cube.x");
  sc->SetPosition(camera, {}, 0, 0, -250);
  sc->SetSceneBackground(0, 0, 1);
  Light(LightKind::Point, {0, 0, -100000});
  std::vector<glm::dvec3> at;
  for (int i = 0; i < 40; ++i) {
    at.push_back({(i % 8) * 30 - 105, (i / 8) * 30 - 60, 0});
    const FrameHandle f = sc->CreateFrame(root);
    sc->AddVisual(f, cube);
    sc->SetPosition(f, {}, at.back().x, at.back().y, at.back().z);
  }
  // The last copy is turned 60 degrees about the vertical: its front face is half lit.
  const FrameHandle turned = sc->CreateFrame(root);
  sc->AddVisual(turned, cube);
  sc->SetPosition(turned, {}, 0, 90, 0);
  sc->SetOrientation(turned, {}, {std::sqrt(3.0) / 2, 0, 0.5}, {0, 1, 0});
  Draw();
  EXPECT_EQ(gl->drawCalls(), 2);
  for (const glm::dvec3& p : at) {
    const DrawnRgb c = At(p + glm::dvec3(0, 0, -10));
    EXPECT_GE(c.r, 245) << "the copy at " << p.x << ", " << p.y;
    EXPECT_EQ(c.g + c.b, 0);
  }
  EXPECT_NEAR(At(glm::dvec3(0, 90, 0) + 10.0 * glm::dvec3(-std::sqrt(3.0) / 2, 0, -0.5)).r, 128, 6);
  EXPECT_EQ(At({0, 0, 0}).b, 255) << "between the copies lies the background";
}

TEST_F(Rendered, TheScreenShowsTheViewInPicture2AndBlackAroundIt) {
  platform::Screen screen;
  screen.SetMode(640, 480);
  screen.FillRect(0, 0, 640, 480, {200, 100, 50});
  screen.Picture1.place = {0, 430, 640, 50};
  screen.Picture2.place = {0, 0, 640, 430};
  screen.Picture2.visible = true;
  const platform::Rect r = ViewportRectOf(240);
  const ViewportHandle vp = sc->CreateViewport({}, camera, r.x, r.y, r.w, r.h);
  sc->SetSceneBackground(0, 0, 1);
  sc->Clear(vp);
  sc->Render(vp, root);
  sc->Update();
  const std::vector<uint8_t> px = platform::ComposeScreen(screen, gl);
  auto at = [&](int x, int y) {
    const size_t i = (static_cast<size_t>(y) * 640 + x) * 3;
    return DrawnRgb{px[i], px[i + 1], px[i + 2]};
  };
  EXPECT_EQ(at(50, 30).r + at(50, 30).b, 0);      // Picture2, outside the viewport
  EXPECT_EQ(at(100, 65).b, 255);                  // the viewport's first pixel
  EXPECT_EQ(at(499, 364).b, 255);                 // and its last
  EXPECT_EQ(at(500, 365).b, 0);
  EXPECT_EQ(at(320, 450).r, 200);                 // the status strip is the 2D screen's
  screen.Picture2.visible = false;
  EXPECT_EQ(platform::ComposeScreen(screen, gl)[(200 * 640 + 300) * 3], 200);
}

}  // namespace
}  // namespace kelmora::scene
